// The panel shows what the camera holds after a read.
#include <QAbstractButton>
#include <QScrollBar>

#include "PanelFixture.h"
#include "panel/PanelBindings.h"
#include "panel/PanelControlIds.h"

using namespace zr::panel;

namespace zr::test {
namespace {

class RefreshPanel : public PanelTest {
  protected:
    std::vector<int> checkedRadios() {
        std::vector<int> ids;
        for (const RadioBinding& b : radioBindings()) {
            if (checked(b.id)) ids.push_back(b.id);
        }
        return ids;
    }
};

TEST_F(RefreshPanel, ChecksTheButtonOfEveryGroupFromTheCameraValues) {
    const int rows[][2] = {{0, 2},  {7, 1},  {1, 2},  {10, 2}, {11, 0}, {12, 1}, {4, 6},
                           {40, 1}, {5, 3},  {43, 1}, {19, 0}, {14, 0}, {17, 1}, {23, 1},
                           {36, 1}, {47, 1}, {44, 0}, {49, 1}, {2, 1},  {3, 1}};
    for (const auto& row : rows) setCameraRow(row[0], row[1]);
    readFromCamera();
    const std::vector<int> expected = {
        IDC_TRIG_1TRIG, IDC_TRIG_NEGA, IDC_TRIG_9PIN,   IDC_SHUTTER_2000, IDC_GAMMA_OFF,
        IDC_KNEE_ON,    IDC_LUT_ON,    IDC_SHARP_ON,    IDC_ALC_AGC_AES,  IDC_WB_ATW,
        IDC_PB_ON,      IDC_MASK_ON,   IDC_WSHADING_ON, IDC_CL_VD,        IDC_CL_LVAL,
        IDC_CL_36BIT,   IDC_OUT_FLASH, IDC_OUT_NEGA,    IDC_WSPOT_OFF,    IDC_SMEAR_ON};
    std::vector<int> got = checkedRadios();
    std::vector<int> want = expected;
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(RefreshPanel, ScrollBarsReadoutsAndMemoryText) {
    setCameraRow(6, 341);
    setCameraRow(9, 1280);
    setCameraRow(13, 7);
    setCameraRow(35, 200);
    setCameraRow(50, 4);
    readFromCamera();
    EXPECT_EQ(scrollBar(IDC_GAIN_SCROLL)->value(), 341);
    EXPECT_EQ(text(IDC_GAIN_VALUE), "12.00 dB");
    EXPECT_EQ(scrollBar(IDC_VSHUTTER_SCROLL)->value(), 1280);
    EXPECT_EQ(text(IDC_VSHUTTER_VALUE), "1.00 sec");
    EXPECT_EQ(text(IDC_BRIGHT_VALUE), " 7 ");
    EXPECT_EQ(scrollBar(IDC_HUE_YE_SCROLL)->value(), 200);
    EXPECT_EQ(text(IDC_HUE_YE_VALUE), " 200 ");
    EXPECT_EQ(text(IDC_SAT_R_VALUE), " 128 ");  // "Static" is gone after the first refresh
    EXPECT_EQ(text(IDC_MEMORY_CURRENT), "FILE 4");

    setCameraRow(50, 0);
    readFromCamera();
    EXPECT_EQ(text(IDC_MEMORY_CURRENT), "DEFAULT");
}

TEST_F(RefreshPanel, AValueWithoutAButtonLeavesTheGroupUnchecked) {
    button(IDC_WB_MANUAL)->click();
    button(IDC_WB_ADJUST)->click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"0129020000", "0129030000"}));
    setCameraRow(19, 3);
    readFromCamera();
    EXPECT_FALSE(checked(IDC_WB_ATW));
    EXPECT_FALSE(checked(IDC_WB_MANUAL));
    for (int id : {IDC_WB_RGAIN_SCROLL, IDC_WB_RGAIN_VALUE, IDC_WB_RGAIN_LABEL, IDC_WB_BGAIN_SCROLL,
                   IDC_WB_BGAIN_VALUE, IDC_WB_BGAIN_LABEL, IDC_WB_ADJUST}) {
        EXPECT_FALSE(enabled(id)) << id;
    }
}

struct ShutterCase {
    int value;
    int checkedId;  // 0: no shutter button
    bool variableEnabled;
};

class ShutterRefresh : public RefreshPanel, public ::testing::WithParamInterface<ShutterCase> {};

TEST_P(ShutterRefresh, ChecksTheMatchingButtonOnly) {
    const ShutterCase& c = GetParam();
    setCameraRow(5, 0);  // ALC off: the shutter group follows its own rule
    setCameraRow(4, c.value);
    readFromCamera();
    std::vector<int> shutterChecked;
    for (int id = IDC_SHUTTER_OFF; id <= IDC_SHUTTER_VARIABLE; ++id) {
        if (checked(id)) shutterChecked.push_back(id);
    }
    EXPECT_EQ(shutterChecked, c.checkedId ? std::vector<int>{c.checkedId} : std::vector<int>{});
    EXPECT_EQ(enabled(IDC_VSHUTTER_SCROLL), c.variableEnabled);
    EXPECT_EQ(enabled(IDC_VSHUTTER_VALUE), c.variableEnabled);
    EXPECT_EQ(enabled(IDC_VSHUTTER_LABEL), c.variableEnabled);
    // No value checks a control outside the shutter group: the other groups
    // show exactly the camera's values.
    for (const RadioBinding& b : radioBindings()) {
        if (b.row == 4) continue;
        EXPECT_EQ(checked(b.id), b.value == panel->table()[b.row].value) << b.id;
    }
}

INSTANTIATE_TEST_SUITE_P(Values, ShutterRefresh,
                         ::testing::Values(ShutterCase{0, IDC_SHUTTER_OFF, false},
                                           ShutterCase{3, IDC_SHUTTER_100, false},
                                           ShutterCase{8, IDC_SHUTTER_50000, false},
                                           ShutterCase{9, IDC_SHUTTER_VARIABLE, true},
                                           ShutterCase{10, 0, false}, ShutterCase{100, 0, false},
                                           ShutterCase{254, 0, false},
                                           ShutterCase{255, IDC_SHUTTER_VARIABLE, true}),
                         [](const auto& info) { return std::to_string(info.param.value); });

TEST_F(RefreshPanel, AFailedReadStillRefreshesWithTheRowsReadSoFar) {
    setCameraRow(13, 77);
    panel->link().CloseLink();
    panel->bulk().ReadFromCamera();
    EXPECT_EQ(text(IDC_BRIGHT_VALUE), " 128 ");  // the table's default, shown
    EXPECT_EQ(text(IDC_MEMORY_CURRENT), "DEFAULT");
    EXPECT_EQ(sink.count(), 1u);
}

}  // namespace
}  // namespace zr::test
