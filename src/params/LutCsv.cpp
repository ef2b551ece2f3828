#include "params/LutCsv.h"

#include <numeric>

namespace zr {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr int kBomLength = 3;
// Beyond this a number is surely out of range; stops the accumulation from overflowing.
constexpr long long kValueCap = 1000000;

bool isAtoiBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

}  // namespace

LutTable identityLut() {
    LutTable table{};
    for (auto& channel : table) std::iota(channel.begin(), channel.end(), 0);
    return table;
}

std::string LutCsvResult::message() const {
    switch (status) {
        case LutCsvStatus::Ok:
            return {};
        case LutCsvStatus::MissingLine:
            return "Invalid Data file";
        case LutCsvStatus::TooFewFields:
            return "Invalid data format";
        case LutCsvStatus::ValueOutOfRange:
            return "Invalid data value: entry " + std::to_string(entry) + " of line " +
                   std::to_string(line) + " is outside 0 to 255";
    }
    return {};
}

LutCsvReader::LutCsvReader(LutTable& table) : table_(table) {}

bool LutCsvReader::feed(std::string_view chunk) {
    for (char ch : chunk) {
        if (finished_) return false;
        if (!bomDecided_) {
            if (ch == kBom[bomMatched_]) {
                if (++bomMatched_ == kBomLength) bomDecided_ = true;
                continue;
            }
            bomDecided_ = true;
            for (int i = 0; i < bomMatched_; ++i) put(kBom[i]);
        }
        put(ch);
    }
    return !finished_;
}

LutCsvResult LutCsvReader::finish() {
    if (!bomDecided_) {
        bomDecided_ = true;
        for (int i = 0; i < bomMatched_ && !finished_; ++i) put(kBom[i]);
    }
    if (!finished_ && pendingCr_) {
        // A carriage return at the very end belongs to the line.
        pendingCr_ = false;
        character('\r');
    }
    if (!finished_ && lineStarted_) endLine();
    if (!finished_) fail(LutCsvStatus::MissingLine);
    return result_;
}

// Line ends: LF, or CR LF; a CR not followed by LF is an ordinary character.
void LutCsvReader::put(char ch) {
    if (pendingCr_) {
        pendingCr_ = false;
        if (ch == '\n') {
            endLine();
            return;
        }
        character('\r');
        if (finished_) return;
    }
    if (ch == '\r') {
        pendingCr_ = true;
        lineStarted_ = true;
    } else if (ch == '\n') {
        endLine();
    } else {
        character(ch);
    }
}

void LutCsvReader::character(char ch) {
    lineStarted_ = true;
    if (ch == ',') {
        if (inField_) endField();
        return;
    }
    if (!inField_) startField();
    fieldChar(ch);
}

void LutCsvReader::startField() {
    inField_ = true;
    digits_ = Digits::Blank;
    negative_ = false;
    value_ = 0;
}

// The field's value as atoi reads it.
void LutCsvReader::fieldChar(char ch) {
    switch (digits_) {
        case Digits::Blank:
            if (isAtoiBlank(ch)) return;
            if (ch == '+' || ch == '-') {
                negative_ = ch == '-';
                digits_ = Digits::Sign;
                return;
            }
            [[fallthrough]];
        case Digits::Sign:
            if (isDigit(ch)) {
                digits_ = Digits::Number;
                value_ = ch - '0';
            } else {
                digits_ = Digits::Done;
            }
            return;
        case Digits::Number:
            if (isDigit(ch)) {
                if (value_ < kValueCap) value_ = value_ * 10 + (ch - '0');
            } else {
                digits_ = Digits::Done;
            }
            return;
        case Digits::Done:
            return;
    }
}

void LutCsvReader::endField() {
    inField_ = false;
    if (fields_ >= kLutEntries) return;  // fields after the 256th are ignored
    const long long value = negative_ ? -value_ : value_;
    if (value < 0 || value > 255) {
        fail(LutCsvStatus::ValueOutOfRange, fields_);
        return;
    }
    table_[row_][fields_] = static_cast<int>(value);
    ++fields_;
}

void LutCsvReader::endLine() {
    if (inField_) endField();
    if (finished_) return;
    if (fields_ < kLutEntries) {
        fail(LutCsvStatus::TooFewFields);
        return;
    }
    fields_ = 0;
    lineStarted_ = false;
    if (++row_ == kLutChannels) finished_ = true;
}

void LutCsvReader::fail(LutCsvStatus status, int entry) {
    result_.status = status;
    result_.line = row_ + 1;
    result_.entry = entry;
    finished_ = true;
}

LutCsvResult parseLutCsv(std::string_view text, LutTable& table) {
    LutCsvReader reader(table);
    reader.feed(text);
    return reader.finish();
}

std::string formatLutCsv(const LutTable& table) {
    std::string text;
    text.reserve(kLutChannels * (kLutEntries * 4 + 2));
    for (const auto& channel : table) {
        for (int value : channel) {
            text += std::to_string(value);
            text += ',';
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace zr
