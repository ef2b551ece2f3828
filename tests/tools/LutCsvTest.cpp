#include <gtest/gtest.h>

#include <string>

#include "params/LutCsv.h"

namespace {

using zr::LutCsvStatus;
using zr::LutTable;

// One line of `count` values (value of field i: (i * mul + add) % 256), each
// followed by a comma.
std::string line(int count, int mul = 1, int add = 0) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::to_string((i * mul + add) % 256) + ",";
    return text;
}

LutTable filled(int value) {
    LutTable table{};
    for (auto& channel : table) channel.fill(value);
    return table;
}

TEST(LutCsvFormat, IdentityLinesLookAsExpected) {
    const std::string text = zr::formatLutCsv(zr::identityLut());
    const std::string red = line(256) + "\r\n";
    EXPECT_EQ(text, red + red + red);
    EXPECT_EQ(red.substr(0, 8), "0,1,2,3,");
    EXPECT_EQ(red.substr(red.size() - 11), ",254,255,\r\n");
}

struct ReaderCase {
    const char* name;
    std::string text;
    LutCsvStatus status;
    int line;
    std::string message;
};

class LutCsvReaderCases : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(LutCsvReaderCases, Outcome) {
    const ReaderCase& c = GetParam();
    LutTable table = filled(9);
    const auto result = zr::parseLutCsv(c.text, table);
    EXPECT_EQ(result.status, c.status);
    if (c.status != LutCsvStatus::Ok) {
        EXPECT_EQ(result.line, c.line);
    }
    EXPECT_EQ(result.message(), c.message);
}

const std::string kRow = line(256);
const std::string kRow3 = line(256, 3, 1);

INSTANTIATE_TEST_SUITE_P(
    Files, LutCsvReaderCases,
    ::testing::Values(
        ReaderCase{"CrLf", kRow + "\r\n" + kRow + "\r\n" + kRow + "\r\n", LutCsvStatus::Ok, 0, ""},
        ReaderCase{"LfOnly", kRow + "\n" + kRow + "\n" + kRow + "\n", LutCsvStatus::Ok, 0, ""},
        ReaderCase{"CrCrLf", kRow + "\r\r\n" + kRow + "\r\r\n" + kRow + "\r\r\n", LutCsvStatus::Ok,
                   0, ""},
        ReaderCase{"LastLineWithoutEnd", kRow + "\n" + kRow + "\n" + kRow, LutCsvStatus::Ok, 0, ""},
        ReaderCase{"LaterLinesIgnored", kRow + "\n" + kRow + "\n" + kRow + "\nrubbish\n,\n",
                   LutCsvStatus::Ok, 0, ""},
        ReaderCase{"ExtraFieldsIgnored", kRow + "1,2,999,x\n" + kRow + "\n" + kRow + "\n",
                   LutCsvStatus::Ok, 0, ""},
        ReaderCase{"Empty", "", LutCsvStatus::MissingLine, 1, "Invalid Data file"},
        ReaderCase{"TwoLines", kRow + "\r\n" + kRow + "\r\n", LutCsvStatus::MissingLine, 3,
                   "Invalid Data file"},
        ReaderCase{"TwoLinesLf", kRow + "\n" + kRow + "\n", LutCsvStatus::MissingLine, 3,
                   "Invalid Data file"},
        ReaderCase{"EmptyThirdLine", kRow + "\n" + kRow + "\n\n", LutCsvStatus::TooFewFields, 3,
                   "Invalid data format"},
        ReaderCase{"ShortFirstLine", line(255) + "\r\n" + kRow + "\r\n" + kRow + "\r\n",
                   LutCsvStatus::TooFewFields, 1, "Invalid data format"},
        ReaderCase{"ValuesSplitOverLines", line(128) + "\n" + line(128) + "\n" + kRow + "\n",
                   LutCsvStatus::TooFewFields, 1, "Invalid data format"},
        ReaderCase{"ValueAbove255", kRow + "\n" + line(17) + "256," + line(238) + "\n" + kRow,
                   LutCsvStatus::ValueOutOfRange, 2,
                   "Invalid data value: entry 17 of line 2 is outside 0 to 255"},
        ReaderCase{"NegativeValue", "-1," + line(255) + "\n" + kRow + "\n" + kRow,
                   LutCsvStatus::ValueOutOfRange, 1,
                   "Invalid data value: entry 0 of line 1 is outside 0 to 255"},
        ReaderCase{"HugeValue", kRow + "\n" + kRow + "\n" + line(255) + "99999999999999999999,",
                   LutCsvStatus::ValueOutOfRange, 3,
                   "Invalid data value: entry 255 of line 3 is outside 0 to 255"}),
    [](const ::testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(LutCsvReader, ShortLineKeepsTheFieldsBeforeTheFault) {
    LutTable table = filled(9);
    const auto result = zr::parseLutCsv(kRow3 + "\n" + line(255, 3, 1) + "\n" + kRow3, table);
    EXPECT_EQ(result.status, LutCsvStatus::TooFewFields);
    EXPECT_EQ(table[0][255], (255 * 3 + 1) % 256);
    EXPECT_EQ(table[1][254], (254 * 3 + 1) % 256);
    EXPECT_EQ(table[1][255], 9);
    EXPECT_EQ(table[2][0], 9);
}

TEST(LutCsvReader, EmptyFieldsAreSkipped) {
    // "1,,2" is two fields; leading and repeated commas add none.
    LutTable table = filled(9);
    const std::string first = ",,1,,2," + line(254, 1, 3) + "\n";
    const auto result = zr::parseLutCsv(first + kRow + "\n" + kRow + "\n", table);
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(table[0][0], 1);
    EXPECT_EQ(table[0][1], 2);
    EXPECT_EQ(table[0][2], 3);
    EXPECT_EQ(table[0][255], 0);  // (253 + 3) % 256
}

TEST(LutCsvReader, FieldsReadLikeAtoi) {
    const std::string fields = " 12, \t7x,+5,-0,abc,1 2,\r3,";
    LutTable table = filled(9);
    const auto result =
        zr::parseLutCsv(fields + line(249) + "\n" + kRow + "\n" + kRow + "\n", table);
    ASSERT_TRUE(result.ok()) << result.message();
    const int expected[] = {12, 7, 5, 0, 0, 1, 3};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(table[0][i], expected[i]) << "field " << i;
}

TEST(LutCsvReader, LoneCarriageReturnStaysInTheLine) {
    // Only LF ends a line: a file with CR line ends is one long line.
    LutTable table = filled(9);
    const auto result = zr::parseLutCsv(kRow + "\r" + kRow + "\r" + kRow + "\r", table);
    EXPECT_EQ(result.status, LutCsvStatus::MissingLine);
    EXPECT_EQ(result.line, 2);
}

TEST(LutCsvReader, ByteOrderMarkIsSkipped) {
    LutTable table = filled(9);
    const auto result = zr::parseLutCsv(
        "\xEF\xBB\xBF"
        "5," +
            line(255) + "\n" + kRow + "\n" + kRow,
        table);
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(table[0][0], 5);
    EXPECT_EQ(table[0][1], 0);
}

TEST(LutCsvReader, ChunkBoundariesDoNotMatter) {
    const std::string text =
        "\xEF\xBB\xBF" + kRow3 + "\r\n" + line(256, 5, 2) + "\r\r\n" + line(256, 7) + "\r\n";
    LutTable whole = filled(9);
    ASSERT_TRUE(zr::parseLutCsv(text, whole).ok());
    LutTable bytewise = filled(9);
    zr::LutCsvReader reader(bytewise);
    for (char ch : text) reader.feed(std::string_view(&ch, 1));
    EXPECT_TRUE(reader.finish().ok());
    EXPECT_EQ(bytewise, whole);
}

}  // namespace
