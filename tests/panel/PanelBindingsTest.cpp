// Every bound control sends exactly its own frame to the camera.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QScrollBar>

#include "PanelFixture.h"
#include "panel/PanelBindings.h"
#include "panel/PanelControlIds.h"

using namespace zr::panel;

namespace zr::test {
namespace {

struct RadioCase {
    int id;
    const char* frame;
};

// clang-format off
const RadioCase kRadioCases[] = {
    {IDC_TRIG_OFF, "0104000000"}, {IDC_TRIG_FIXED, "0104010000"}, {IDC_TRIG_1TRIG, "0104020000"},
    {IDC_TRIG_VD_CONT, "0104040000"}, {IDC_TRIG_POSI, "010F000000"}, {IDC_TRIG_NEGA, "010F010000"},
    {IDC_TRIG_CC1, "0105000000"}, {IDC_TRIG_7PIN, "0105010000"}, {IDC_TRIG_9PIN, "0105020000"},
    {IDC_SHUTTER_OFF, "0108000000"}, {IDC_SHUTTER_30, "0108010000"}, {IDC_SHUTTER_60, "0108020000"},
    {IDC_SHUTTER_100, "0108030000"}, {IDC_SHUTTER_250, "0108040000"},
    {IDC_SHUTTER_1000, "0108050000"}, {IDC_SHUTTER_2000, "0108060000"},
    {IDC_SHUTTER_10000, "0108070000"}, {IDC_SHUTTER_50000, "0108080000"},
    {IDC_SHUTTER_VARIABLE, "0108FF0000"}, {IDC_GAMMA_OFF, "0123000000"}, {IDC_GAMMA_ON, "0123010000"},
    {IDC_KNEE_OFF, "0142000000"}, {IDC_KNEE_ON, "0142010000"}, {IDC_LUT_OFF, "0125000000"},
    {IDC_LUT_ON, "0125010000"}, {IDC_SHARP_OFF, "0127000000"}, {IDC_SHARP_ON, "0127010000"},
    {IDC_ALC_OFF, "010B000000"}, {IDC_ALC_AGC, "010B010000"}, {IDC_ALC_AES, "010B020000"},
    {IDC_ALC_AGC_AES, "010B030000"}, {IDC_WB_ATW, "0129000000"}, {IDC_WB_MANUAL, "0129020000"},
    {IDC_PB_OFF, "013E000000"}, {IDC_PB_ON, "013E010000"}, {IDC_MASK_OFF, "0131000000"},
    {IDC_MASK_ON, "0131010000"}, {IDC_WSHADING_OFF, "0152000000"}, {IDC_WSHADING_ON, "0152010000"},
    {IDC_CL_VD, "0115000000"}, {IDC_CL_FVAL, "0115010000"}, {IDC_CL_HD, "0116000000"},
    {IDC_CL_LVAL, "0116010000"}, {IDC_CL_24BIT, "0114000000"}, {IDC_CL_30BIT, "0114010000"},
    {IDC_CL_36BIT, "0114020000"}, {IDC_OUT_OFF, "0106000000"}, {IDC_OUT_FLASH, "0106010000"},
    {IDC_OUT_VD, "0106020000"}, {IDC_OUT_POSI, "0155000000"}, {IDC_OUT_NEGA, "0155010000"},
    {IDC_WSPOT_OFF, "014B000000"}, {IDC_WSPOT_ON, "014B010000"}, {IDC_SMEAR_OFF, "0156000000"},
    {IDC_SMEAR_ON, "0156010000"},
};
// clang-format on

struct ScrollCase {
    int id;
    int readoutId;
    const char* frame;  // the write of position 1
};

const ScrollCase kScrollCases[] = {
    {IDC_VSHUTTER_SCROLL, IDC_VSHUTTER_VALUE, "0111000100"},
    {IDC_GAIN_SCROLL, IDC_GAIN_VALUE, "010C000100"},
    {IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, "0117010000"},
    {IDC_GAMMA_SCROLL, IDC_GAMMA_VALUE, "0124010000"},
    {IDC_KNEE_POINT_SCROLL, IDC_KNEE_POINT_VALUE, "0143010000"},
    {IDC_KNEE_SLOPE_SCROLL, IDC_KNEE_SLOPE_VALUE, "0144010000"},
    {IDC_SHARP_SCROLL, IDC_SHARP_VALUE, "0128010000"},
    {IDC_VIDEO_SCROLL, IDC_VIDEO_VALUE, "0126010000"},
    {IDC_WB_RGAIN_SCROLL, IDC_WB_RGAIN_VALUE, "012A010000"},
    {IDC_WB_GGAIN_SCROLL, IDC_WB_GGAIN_VALUE, "012E010000"},
    {IDC_WB_BGAIN_SCROLL, IDC_WB_BGAIN_VALUE, "012B010000"},
    {IDC_PB_RED_SCROLL, IDC_PB_RED_VALUE, "013F010000"},
    {IDC_PB_GREEN_SCROLL, IDC_PB_GREEN_VALUE, "0140010000"},
    {IDC_PB_BLUE_SCROLL, IDC_PB_BLUE_VALUE, "0141010000"},
    {IDC_SAT_R_SCROLL, IDC_SAT_R_VALUE, "0132010000"},
    {IDC_HUE_R_SCROLL, IDC_HUE_R_VALUE, "0133010000"},
    {IDC_SAT_CY_SCROLL, IDC_SAT_CY_VALUE, "0134010000"},
    {IDC_HUE_CY_SCROLL, IDC_HUE_CY_VALUE, "0135010000"},
    {IDC_SAT_G_SCROLL, IDC_SAT_G_VALUE, "0136010000"},
    {IDC_HUE_G_SCROLL, IDC_HUE_G_VALUE, "0137010000"},
    {IDC_SAT_MG_SCROLL, IDC_SAT_MG_VALUE, "0138010000"},
    {IDC_HUE_MG_SCROLL, IDC_HUE_MG_VALUE, "0139010000"},
    {IDC_SAT_B_SCROLL, IDC_SAT_B_VALUE, "013A010000"},
    {IDC_HUE_B_SCROLL, IDC_HUE_B_VALUE, "013B010000"},
    {IDC_SAT_YE_SCROLL, IDC_SAT_YE_VALUE, "013C010000"},
    {IDC_HUE_YE_SCROLL, IDC_HUE_YE_VALUE, "013D010000"},
};

TEST(PanelBindingTables, CoverEveryRadioButtonAndScrollBarOnce) {
    EXPECT_EQ(radioBindings().size(), std::size(kRadioCases));
    EXPECT_EQ(scrollBindings().size(), std::size(kScrollCases));
    for (const RadioCase& c : kRadioCases) EXPECT_NE(findRadio(c.id), nullptr) << c.id;
    for (const ScrollCase& c : kScrollCases) EXPECT_NE(findScroll(c.id), nullptr) << c.id;
}

class RadioClick : public PanelTest, public ::testing::WithParamInterface<RadioCase> {};

TEST_P(RadioClick, SendsItsFrameAndChecksOnlyItselfInItsGroup) {
    const RadioCase& c = GetParam();
    QAbstractButton* clicked = button(c.id);
    ASSERT_NE(clicked, nullptr);
    clicked->click();
    EXPECT_EQ(sent(), std::vector<std::string>{c.frame});
    EXPECT_TRUE(clicked->isChecked());
    const auto groupButtons = clicked->group()->buttons();
    for (QAbstractButton* other : groupButtons) {
        if (other != clicked) {
            EXPECT_FALSE(other->isChecked());
        }
    }
    EXPECT_EQ(sink.count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(AllRadioButtons, RadioClick, ::testing::ValuesIn(kRadioCases),
                         [](const auto& info) { return std::to_string(info.param.id); });

class ScrollLineRight : public PanelTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ScrollLineRight, SendsItsFrameMovesTheThumbAndRewritesTheReadout) {
    const ScrollCase& c = GetParam();
    QScrollBar* bar = scrollBar(c.id);
    ASSERT_NE(bar, nullptr);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(sent(), std::vector<std::string>{c.frame});
    EXPECT_EQ(bar->value(), 1);
    const QString expected = c.id == IDC_VSHUTTER_SCROLL ? "1/96603.77 sec"
                             : c.id == IDC_GAIN_SCROLL   ? "0.04 dB"
                                                         : " 1 ";
    EXPECT_EQ(text(c.readoutId), expected);
}

INSTANTIATE_TEST_SUITE_P(AllScrollBars, ScrollLineRight, ::testing::ValuesIn(kScrollCases),
                         [](const auto& info) { return std::to_string(info.param.id); });

}  // namespace
}  // namespace zr::test
