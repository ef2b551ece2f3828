#include "params/JsonValue.h"

#include <cctype>
#include <charconv>

namespace zr {

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : s_(text) {}

    std::optional<JsonValue> document(std::string& error) {
        JsonValue v;
        if (!value(v, 0)) {
            error = message();
            return std::nullopt;
        }
        skipSpace();
        if (pos_ != s_.size()) {
            fail("unexpected text after the end of the document");
            error = message();
            return std::nullopt;
        }
        return v;
    }

  private:
    static constexpr int kMaxDepth = 64;

    void skipSpace() {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) {
            // Strings hold no raw line break: only here does a line end.
            if (s_[pos_] == '\n') ++line_;
            ++pos_;
        }
    }
    bool fail(const char* what) {
        if (error_.empty()) {
            error_ = what;
            errorPos_ = pos_;
        }
        return false;
    }
    std::string message() const {
        int line = 1;
        for (size_t i = 0; i < errorPos_ && i < s_.size(); ++i)
            if (s_[i] == '\n') ++line;
        return "line " + std::to_string(line) + ": " + error_;
    }
    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return fail("unknown word");
        pos_ += word.size();
        return true;
    }

    bool value(JsonValue& out, int depth) {
        if (depth > kMaxDepth) return fail("nested too deeply");
        skipSpace();
        if (pos_ >= s_.size()) return fail("unexpected end of the document");
        out.line_ = line_;
        char c = s_[pos_];
        if (c == '{') return object(out, depth);
        if (c == '[') return array(out, depth);
        if (c == '"') {
            out.kind_ = JsonValue::Kind::String;
            return string(out.text_);
        }
        if (c == 't' || c == 'f') {
            out.kind_ = JsonValue::Kind::Bool;
            out.text_ = c == 't' ? "true" : "false";
            return literal(out.text_);
        }
        if (c == 'n') {
            out.kind_ = JsonValue::Kind::Null;
            return literal("null");
        }
        if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) return number(out);
        return fail("expected a value");
    }

    bool number(JsonValue& out) {
        size_t start = pos_;
        if (s_[pos_] == '-') ++pos_;
        while (pos_ < s_.size() &&
               (std::isdigit(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '.' ||
                s_[pos_] == 'e' || s_[pos_] == 'E' || s_[pos_] == '+' || s_[pos_] == '-'))
            ++pos_;
        out.kind_ = JsonValue::Kind::Number;
        out.text_ = std::string(s_.substr(start, pos_ - start));
        if (out.text_ == "-") return fail("expected a number");
        return true;
    }

    bool string(std::string& out) {
        ++pos_;  // opening quote
        while (pos_ < s_.size()) {
            char c = s_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) break;
            const char e = s_[pos_++];
            // The one-letter escapes and what they stand for.
            static constexpr std::string_view kEscapes = "\"\"\\\\//b\bf\fn\nr\rt\t";
            if (e != 'u') {
                const size_t at = kEscapes.find(e);
                if (at == std::string_view::npos || at % 2 != 0)
                    return fail("bad escape in a string");
                out += kEscapes[at + 1];
                continue;
            }
            if (pos_ + 4 > s_.size()) return fail("short \\u escape");
            unsigned code = 0;
            auto [p, ec] = std::from_chars(s_.data() + pos_, s_.data() + pos_ + 4, code, 16);
            if (ec != std::errc() || p != s_.data() + pos_ + 4) return fail("bad \\u escape");
            pos_ += 4;
            // Names and values here are ASCII; keep other code points as UTF-8.
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
        }
        return fail("unterminated string");
    }

    // Consumes a list's opening bracket; true when the list is empty, its
    // closing bracket consumed too.
    bool emptyList(char close) {
        ++pos_;
        skipSpace();
        if (pos_ >= s_.size() || s_[pos_] != close) return false;
        ++pos_;
        return true;
    }

    // After a list item: true after a ',' (another item follows), false after
    // the closing bracket or on a fault (then error_ is set).
    bool moreItems(char close, const char* unterminated, const char* expected) {
        skipSpace();
        if (pos_ >= s_.size()) return fail(unterminated);
        if (s_[pos_] != ',' && s_[pos_] != close) return fail(expected);
        return s_[pos_++] == ',';
    }

    bool array(JsonValue& out, int depth) {
        out.kind_ = JsonValue::Kind::Array;
        if (emptyList(']')) return true;
        do {
            JsonValue item;
            if (!value(item, depth + 1)) return false;
            out.items_.push_back(std::move(item));
        } while (moreItems(']', "unterminated array", "expected ',' or ']'"));
        return error_.empty();
    }

    bool object(JsonValue& out, int depth) {
        out.kind_ = JsonValue::Kind::Object;
        if (emptyList('}')) return true;
        do {
            skipSpace();
            if (pos_ >= s_.size() || s_[pos_] != '"') return fail("expected a member name");
            std::string key;
            if (!string(key)) return false;
            skipSpace();
            if (pos_ >= s_.size() || s_[pos_] != ':') return fail("expected ':'");
            ++pos_;
            JsonValue member;
            if (!value(member, depth + 1)) return false;
            if (out.members_.count(key)) return fail("duplicate member name");
            out.members_.emplace(std::move(key), std::move(member));
        } while (moreItems('}', "unterminated object", "expected ',' or '}'"));
        return error_.empty();
    }

    std::string_view s_;
    size_t pos_ = 0;
    int line_ = 1;  // of pos_
    std::string error_;
    size_t errorPos_ = 0;
};

std::optional<JsonValue> JsonValue::parse(std::string_view text, std::string& error) {
    return JsonParser(text).document(error);
}

const JsonValue* JsonValue::member(const std::string& key) const {
    auto it = members_.find(key);
    return it == members_.end() ? nullptr : &it->second;
}

}  // namespace zr
