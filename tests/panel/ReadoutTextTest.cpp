// The read-out texts: exposure time, gain in decibels, plain values.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "PanelFixture.h"
#include "panel/PanelControlIds.h"
#include "panel/ReadoutText.h"

using namespace zr::panel;

namespace zr::test {
namespace {

struct ExposureCase {
    int position;
    double microseconds;
    const char* text;
};

const ExposureCase kExposures[] = {
    {0, 10, "1/100000.00 sec"},      {255, 99.6484375, "1/10035.28 sec"},
    {256, 100, "1/10000.00 sec"},    {768, 10000, "1/100.00 sec"},
    {834, 33203.125, "1/30.12 sec"}, {1023, 99648.4375, "1/10.04 sec"},
    {1024, 100000, "1/10.000 sec"},  {1279, 996484.375, "1/1.004 sec"},
    {1280, 1000000, "1.00 sec"},     {1536, 10000000, "10.00 sec"},
};

class Exposure : public ::testing::TestWithParam<ExposureCase> {};

TEST_P(Exposure, TimeAndText) {
    const ExposureCase& c = GetParam();
    EXPECT_DOUBLE_EQ(exposureMicroseconds(c.position), c.microseconds);
    EXPECT_EQ(exposureText(c.position), c.text);
}

INSTANTIATE_TEST_SUITE_P(TellingPositions, Exposure, ::testing::ValuesIn(kExposures),
                         [](const auto& info) { return std::to_string(info.param.position); });

TEST(ReadoutText, GainAndPlainValues) {
    EXPECT_EQ(gainText(341), "12.00 dB");
    EXPECT_EQ(gainText(0), "0.00 dB");  // no padding: the width 2 is below four characters
    EXPECT_EQ(gainText(100), "3.52 dB");
    EXPECT_EQ(plainValueText(128), " 128 ");
    EXPECT_EQ(plainValueText(0), " 0 ");
    EXPECT_EQ(readoutText(IDC_GAIN_SCROLL, 341), "12.00 dB");
    EXPECT_EQ(readoutText(IDC_VSHUTTER_SCROLL, 834), "1/30.12 sec");
    EXPECT_EQ(readoutText(IDC_BRIGHT_SCROLL, 128), " 128 ");
}

TEST(ReadoutText, ACameraValueFarOutOfRangeGivesAWholeText) {
    // 65535 is 255 decades: a number of more than 250 digits, not a cut buffer.
    const std::string text = exposureText(65535);
    EXPECT_GT(text.size(), 250u);
    EXPECT_EQ(text.substr(text.size() - 4), " sec");
}

class PanelReadouts : public PanelTest {};

TEST_F(PanelReadouts, ShowScrollValueMovesTheThumbAndWritesTheText) {
    panel->ShowScrollValue(IDC_VSHUTTER_SCROLL, IDC_VSHUTTER_VALUE, 1279);
    EXPECT_EQ(scrollBar(IDC_VSHUTTER_SCROLL)->value(), 1279);
    EXPECT_EQ(text(IDC_VSHUTTER_VALUE), "1/1.004 sec");
    panel->ShowScrollValue(IDC_GAIN_SCROLL, IDC_GAIN_VALUE, 0);
    EXPECT_EQ(text(IDC_GAIN_VALUE), "0.00 dB");
    panel->ShowScrollValue(IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, 128);
    EXPECT_EQ(text(IDC_BRIGHT_VALUE), " 128 ");
    EXPECT_TRUE(sent().empty());
}

}  // namespace
}  // namespace zr::test
