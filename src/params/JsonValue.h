#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// A small JSON reader, enough for settings snapshots: objects, arrays,
// strings, numbers, true, false and null. Numbers keep their text so that
// integers are read exactly.
class JsonValue {
  public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    // Parses a whole document; on failure returns nothing and sets `error`
    // to a message naming the line.
    static std::optional<JsonValue> parse(std::string_view text, std::string& error);

    bool isObject() const { return kind_ == Kind::Object; }
    bool isArray() const { return kind_ == Kind::Array; }
    bool isString() const { return kind_ == Kind::String; }
    bool isNumber() const { return kind_ == Kind::Number; }
    const std::string& text() const { return text_; }  // string value or number text
    const std::vector<JsonValue>& items() const { return items_; }
    const JsonValue* member(const std::string& key) const;
    // The line of the document the value starts on, from 1.
    int line() const { return line_; }

  private:
    friend class JsonParser;
    Kind kind_ = Kind::Null;
    int line_ = 1;
    std::string text_;
    std::vector<JsonValue> items_;
    std::map<std::string, JsonValue> members_;
};

}  // namespace zr
