// Command texts and answer decoding, checked against expectations computed
// here from each row's fields, independently of the encoder.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "params/CameraParamTable.h"
#include "params/ParamAccess.h"
#include "support/WireText.h"

namespace zr {
namespace {

using test::expectedRead;
using test::expectedWrite;

const std::set<int> kTwoByteRows = [] {
    std::set<int> rows{6, 9, 54, 60, 61, 62, 74};
    for (int row = 75; row <= 100; ++row) rows.insert(row);
    return rows;
}();

TEST(CommandText, EveryRowEncodesItsLimitsAndAMiddleValue) {
    const CameraParamTable table;
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        const CameraParam& p = table[row];
        SCOPED_TRACE("row " + std::to_string(row));
        for (int value : {p.minValue, (p.minValue + p.maxValue) / 2, p.maxValue}) {
            const std::string text = ParamAccess::writeText(p, value);
            EXPECT_EQ(text, expectedWrite(p, value));
            EXPECT_EQ(text.size(), 10u);
        }
        EXPECT_EQ(ParamAccess::readText(p), expectedRead(p));
    }
}

TEST(CommandText, WidthFollowsTheRangeOnly) {
    const CameraParamTable table;
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const bool twoBytes = kTwoByteRows.count(row) != 0;
        EXPECT_EQ(table[row].dataBytes(), twoBytes ? 2 : 1);
        // Write and read agree on the width: a 2-byte row decodes two bytes.
        const AnswerBytes answer{0x12, 0x34, 0x56};
        EXPECT_EQ(ParamAccess::valueFromAnswer(table[row], answer), twoBytes ? 0x1234 : 0x12);
    }
}

TEST(CommandText, EveryReadAreaIsTheWriteAreaWithTheTopBit) {
    const CameraParamTable table;
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        if (row == 53 || row == 101) continue;
        EXPECT_EQ(table[row].readArea, table[row].writeArea | 0x80) << "row " << row;
    }
}

struct Decode {
    int row;
    AnswerBytes answer;
    int value;
};

class AnswerDecoding : public testing::TestWithParam<Decode> {};

TEST_P(AnswerDecoding, TakesTheRowsWidth) {
    const CameraParamTable table;
    EXPECT_EQ(ParamAccess::valueFromAnswer(table[GetParam().row], GetParam().answer),
              GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Values, AnswerDecoding,
                         testing::Values(Decode{9, {0x06, 0x00, 0x00}, 1536},
                                         Decode{4, {0x80, 0x12, 0x34}, 128},
                                         Decode{54, {0xFF, 0xFF, 0xFF}, 65535},
                                         // Out of the row's range: kept as the camera sent it.
                                         Decode{0, {0xFF, 0x00, 0x00}, 255},
                                         Decode{6, {0xFF, 0xFF, 0x00}, 65535}));

TEST(CommandText, ValuesTheRangeCheckWouldRefuseStillGiveTenCharacters) {
    const CameraParamTable table;
    EXPECT_EQ(ParamAccess::writeText(table[4], 256).size(), 10u);
    EXPECT_EQ(ParamAccess::writeText(table[4], -1).size(), 10u);
    EXPECT_EQ(ParamAccess::writeText(table[54], 70000).size(), 10u);
}

}  // namespace
}  // namespace zr
