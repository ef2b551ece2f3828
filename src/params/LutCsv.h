#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zr {

// The camera's output look-up table: 256 eight-bit entries for each of the
// colour channels red, green and blue (channel 0, 1, 2).
constexpr int kLutChannels = 3;
constexpr int kLutEntries = 256;
using LutChannel = std::array<int, kLutEntries>;
using LutTable = std::array<LutChannel, kLutChannels>;

// entries[c][i] = i for every channel.
LutTable identityLut();

// How reading a table file ended.
enum class LutCsvStatus {
    Ok,
    MissingLine,      // fewer than three lines
    TooFewFields,     // a line with fewer than 256 fields
    ValueOutOfRange,  // one of the first 256 values of a line is outside 0..255
};

struct LutCsvResult {
    LutCsvStatus status = LutCsvStatus::Ok;
    int line = 0;   // 1..3: the line that failed
    int entry = 0;  // the entry index, for ValueOutOfRange

    bool ok() const { return status == LutCsvStatus::Ok; }
    // The text shown to the user; empty when ok.
    std::string message() const;
};

// Reads the table file format: three lines (red, green, blue), each ending at
// LF or CR LF; a line is split at commas, empty fields are skipped, the first
// 256 fields are the entries (read like atoi: leading blanks, sign, digits,
// rest ignored; no number gives 0), anything after them and after the third
// line is ignored. A leading UTF-8 byte order mark is skipped.
//
// Values outside 0..255 are refused: they could not be sent as one data byte.
// The table is updated as the reader goes, so on a failure the rows and fields
// before it keep their new values and nothing after it is touched; a caller
// that wants all or nothing reads into a copy.
//
// Fed in chunks so a file is never held in memory whole; feed() returns false
// once the outcome is known (further input is not needed).
class LutCsvReader {
  public:
    explicit LutCsvReader(LutTable& table);

    bool feed(std::string_view chunk);
    // End of input: completes a last line without line end.
    LutCsvResult finish();

  private:
    void put(char ch);
    void character(char ch);
    void startField();
    void fieldChar(char ch);
    void endField();
    void endLine();
    void fail(LutCsvStatus status, int entry = 0);

    enum class Digits { Blank, Sign, Number, Done };

    LutTable& table_;
    LutCsvResult result_;
    bool finished_ = false;
    int bomMatched_ = 0;  // bytes of a leading byte order mark seen so far
    bool bomDecided_ = false;
    bool pendingCr_ = false;
    bool lineStarted_ = false;
    int row_ = 0;
    int fields_ = 0;  // complete fields of the current line
    bool inField_ = false;
    Digits digits_ = Digits::Blank;
    bool negative_ = false;
    long long value_ = 0;
};

// Reads a whole text at once.
LutCsvResult parseLutCsv(std::string_view text, LutTable& table);

// Three lines of 256 values, each value followed by a comma, lines ending in CR LF.
std::string formatLutCsv(const LutTable& table);

}  // namespace zr
