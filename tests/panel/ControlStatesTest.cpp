// The enabling rules, each with the controls it greys out.
#include <QAbstractButton>
#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include "PanelFixture.h"
#include "panel/PanelBindings.h"
#include "panel/PanelControlIds.h"

using namespace zr::panel;

namespace zr::test {
namespace {

class ControlStates : public PanelTest {
  protected:
    void expectEnabled(std::initializer_list<int> ids, bool state) {
        for (int id : ids) EXPECT_EQ(enabled(id), state) << "control " << id;
    }
    void expectEveryVisibleControlEnabledButSave() {
        for (int id = 1002; id <= 1277; ++id) {
            if (QWidget* w = panel->control(id); w && id != IDC_MEMORY_SAVE) {
                EXPECT_TRUE(w->isEnabled()) << id;
            }
        }
    }
};

const std::initializer_list<int> kTriggerDependents = {
    IDC_TRIG_POLARITY_GROUP, IDC_TRIG_POSI, IDC_TRIG_NEGA, IDC_TRIG_SOURCE_GROUP, IDC_TRIG_CC1,
    IDC_TRIG_7PIN,           IDC_TRIG_9PIN};
const std::initializer_list<int> kGain = {IDC_GAIN_SCROLL, IDC_GAIN_VALUE, IDC_GAIN_LABEL};
const std::initializer_list<int> kVideo = {IDC_VIDEO_SCROLL, IDC_VIDEO_VALUE, IDC_VIDEO_LABEL};
const std::initializer_list<int> kVariable = {IDC_VSHUTTER_SCROLL, IDC_VSHUTTER_VALUE,
                                              IDC_VSHUTTER_LABEL};
const std::initializer_list<int> kKneeValues = {IDC_KNEE_POINT_SCROLL, IDC_KNEE_POINT_VALUE,
                                                IDC_KNEE_POINT_LABEL,  IDC_KNEE_SLOPE_SCROLL,
                                                IDC_KNEE_SLOPE_VALUE,  IDC_KNEE_SLOPE_LABEL};
const std::initializer_list<int> kPaintBlack = {
    IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL,
    IDC_PB_RED_VALUE,  IDC_PB_GREEN_VALUE,  IDC_PB_BLUE_VALUE,
    IDC_PB_RED_LABEL,  IDC_PB_GREEN_LABEL,  IDC_PB_BLUE_LABEL};

TEST_F(ControlStates, TemplateStateHasEveryVisibleControlEnabled) {
    expectEveryVisibleControlEnabledButSave();
    EXPECT_FALSE(enabled(IDC_MEMORY_SAVE));  // DEFAULT is selected
}

TEST_F(ControlStates, TriggerOffGreysPolarityAndSourceAndRunsTheAlcRule) {
    button(IDC_TRIG_OFF)->click();
    expectEnabled(kTriggerDependents, false);
    // No ALC button is checked yet: the ALC rule treats that like AGC&AES.
    expectEnabled(kGain, false);
    expectEnabled(kVideo, true);
    button(IDC_TRIG_VD_CONT)->click();
    expectEnabled(kTriggerDependents, true);
}

TEST_F(ControlStates, FixedAndOneShotTriggerLeaveTheAlcControlsAlone) {
    button(IDC_TRIG_FIXED)->click();
    expectEnabled(kTriggerDependents, true);
    expectEnabled(kGain, true);
    button(IDC_TRIG_1TRIG)->click();
    expectEnabled(kGain, true);
}

// Each switch's other choice greys what hangs on it; ON (or MANUAL, VARIABLE)
// enables it again.
TEST_F(ControlStates, EachSwitchEnablesItsDependentsOnlyWhenOn) {
    const struct {
        int off, on;
        std::initializer_list<int> dependents;
    } cases[] = {
        {IDC_SHUTTER_100, IDC_SHUTTER_VARIABLE, kVariable},
        {IDC_KNEE_OFF, IDC_KNEE_ON, kKneeValues},
        {IDC_GAMMA_OFF, IDC_GAMMA_ON, {IDC_GAMMA_SCROLL, IDC_GAMMA_VALUE, IDC_GAMMA_LABEL}},
        {IDC_SHARP_OFF, IDC_SHARP_ON, {IDC_SHARP_SCROLL, IDC_SHARP_VALUE, IDC_SHARP_LABEL}},
        {IDC_MASK_OFF,
         IDC_MASK_ON,
         {IDC_SAT_R_SCROLL, IDC_SAT_CY_VALUE, IDC_SAT_G_LABEL, IDC_SAT_MG_SCROLL, IDC_SAT_B_VALUE,
          IDC_SAT_YE_LABEL, IDC_HUE_R_LABEL, IDC_HUE_CY_SCROLL, IDC_HUE_G_VALUE, IDC_HUE_MG_LABEL,
          IDC_HUE_B_SCROLL, IDC_HUE_YE_VALUE}},
        {IDC_PB_OFF, IDC_PB_ON, kPaintBlack},
        {IDC_WB_ATW,
         IDC_WB_MANUAL,
         {IDC_WB_RGAIN_SCROLL, IDC_WB_RGAIN_VALUE, IDC_WB_RGAIN_LABEL, IDC_WB_BGAIN_SCROLL,
          IDC_WB_BGAIN_VALUE, IDC_WB_BGAIN_LABEL, IDC_WB_GGAIN_SCROLL, IDC_WB_GGAIN_VALUE,
          IDC_WB_GGAIN_LABEL, IDC_WB_ADJUST}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("switch " + std::to_string(c.on));
        button(c.off)->click();
        expectEnabled(c.dependents, false);
        button(c.on)->click();
        expectEnabled(c.dependents, true);
    }
    EXPECT_TRUE(panel->control(IDC_WB_GGAIN_SCROLL)->isHidden());  // enabled, still hidden
    button(IDC_WSPOT_ON)->click();  // inside the paint black id range
    expectEnabled(kPaintBlack, true);
}

TEST_F(ControlStates, AlcModesDecideGainVideoLevelAndShutter) {
    button(IDC_SHUTTER_VARIABLE)->click();
    button(IDC_ALC_AES)->click();
    expectEnabled(kGain, true);
    expectEnabled(kVideo, true);
    for (int id = IDC_SHUTTER_OFF; id <= IDC_SHUTTER_VARIABLE; ++id)
        EXPECT_FALSE(enabled(id)) << id;
    expectEnabled(kVariable, false);
    EXPECT_FALSE(enabled(IDC_SHUTTER_GROUP));

    button(IDC_ALC_AGC)->click();
    expectEnabled(kGain, false);
    expectEnabled(kVideo, true);
    for (int id = IDC_SHUTTER_OFF; id <= IDC_SHUTTER_VARIABLE; ++id) EXPECT_TRUE(enabled(id)) << id;
    expectEnabled(kVariable, true);  // VARIABLE is still checked

    button(IDC_ALC_OFF)->click();
    expectEnabled(kGain, true);
    expectEnabled(kVideo, false);

    button(IDC_ALC_AGC_AES)->click();
    expectEnabled(kGain, false);
    expectEnabled(kVideo, true);
    EXPECT_FALSE(enabled(IDC_SHUTTER_GROUP));
}

TEST_F(ControlStates, LutOnGreysGammaAndKneeButtonsButNotKneeValues) {
    button(IDC_KNEE_ON)->click();
    button(IDC_LUT_ON)->click();
    expectEnabled({IDC_GAMMA_OFF, IDC_GAMMA_ON, IDC_GAMMA_SCROLL, IDC_KNEE_OFF, IDC_KNEE_ON},
                  false);
    expectEnabled(kKneeValues, true);
}

TEST_F(ControlStates, LutRuleRunsAfterTheGammaRule) {
    setCameraRow(14, 0);  // gamma off
    setCameraRow(43, 0);  // look-up table off
    readFromCamera();
    // The look-up table rule re-enables the gamma level although gamma is off.
    EXPECT_TRUE(enabled(IDC_GAMMA_SCROLL));
    EXPECT_FALSE(enabled(IDC_GAMMA_VALUE));
    EXPECT_FALSE(enabled(IDC_GAMMA_LABEL));
    button(IDC_GAMMA_OFF)->click();
    EXPECT_FALSE(enabled(IDC_GAMMA_SCROLL));
}

TEST_F(ControlStates, AGainMoveBeforeTheFirstRefreshGreysPaintBlack) {
    scrollBar(IDC_GAIN_SCROLL)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    expectEnabled(kPaintBlack, false);
    EXPECT_EQ(sent(), std::vector<std::string>{"010C000100"});
}

TEST_F(ControlStates, AKneePointMoveChangesNoEnabledState) {
    scrollBar(IDC_KNEE_POINT_SCROLL)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    expectEveryVisibleControlEnabledButSave();
}

TEST_F(ControlStates, Row4Is255WithAlcOffEnablesTheVariableShutter) {
    setCameraRow(5, 0);
    setCameraRow(4, 255);
    readFromCamera();
    EXPECT_TRUE(checked(IDC_SHUTTER_VARIABLE));
    expectEnabled(kVariable, true);
    setCameraRow(4, 3);
    readFromCamera();
    EXPECT_TRUE(checked(IDC_SHUTTER_100));
    expectEnabled(kVariable, false);
}

// The camera and the table did not change, so neither does what the group shows.
TEST_F(ControlStates, ARefusedClickPutsTheGroupBackAsItWas) {
    const struct {
        bool readFirst;  // the camera's values are on the panel before the click
        int row, cameraValue, clicked, checkedAfter;
    } cases[] = {
        {false, 40, 1, IDC_KNEE_OFF, 0},
        {true, 40, 1, IDC_KNEE_OFF, IDC_KNEE_ON},
        {true, 4, 3, IDC_SHUTTER_VARIABLE, IDC_SHUTTER_100},
        {true, 5, 2, IDC_ALC_OFF, IDC_ALC_AES},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clicked);
        TearDown();
        SetUp();
        setCameraRow(c.row, c.cameraValue);
        if (c.readFirst) readFromCamera();
        const int tableBefore = panel->table()[c.row].value;
        std::vector<bool> enabledBefore;
        for (int id : {IDC_KNEE_POINT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_GAIN_SCROLL}) {
            enabledBefore.push_back(enabled(id));
        }
        panel->link().CloseLink();
        sink.clear();
        button(c.clicked)->click();

        for (const RadioBinding& b : radioBindings()) {
            if (b.row == c.row) {
                EXPECT_EQ(checked(b.id), b.id == c.checkedAfter) << b.id;
            }
        }
        std::vector<bool> enabledAfter;
        for (int id : {IDC_KNEE_POINT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_GAIN_SCROLL}) {
            enabledAfter.push_back(enabled(id));
        }
        EXPECT_EQ(enabledAfter, enabledBefore);
        EXPECT_EQ(panel->table()[c.row].value, tableBefore);
        EXPECT_EQ(sink.texts(), std::vector<std::string>{"PORT isn't open."});
    }
}

// A read that greys the control under the focus: the toolkit would pass the
// focus on to the next control, where an arrow key changes a setting the
// user never touched. The panel takes it and the key does nothing.
TEST_F(ControlStates, AControlGreyedUnderTheFocusHandsItToThePanel) {
    const struct {
        int focused, row, cameraValue;
    } cases[] = {
        {IDC_KNEE_POINT_SCROLL, 40, 0},  // knee off
        {IDC_GAMMA_ON, 43, 1},           // look-up table on
        {IDC_SHUTTER_100, 5, 2},         // ALC AES
        {IDC_WB_RGAIN_SCROLL, 19, 0},    // white balance ATW
        {IDC_PB_RED_SCROLL, 36, 0},      // paint black off
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focused);
        TearDown();
        SetUp();
        panel->show();
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
        panel->control(c.focused)->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), panel->control(c.focused));
        setCameraRow(c.row, c.cameraValue);
        readFromCamera();
        ASSERT_FALSE(enabled(c.focused));
        EXPECT_EQ(QApplication::focusWidget(), panel.get());

        const CameraParamTable before = panel->table();
        clearSent();
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down}) {
            QTest::keyClick(QApplication::focusWidget(), key);
        }
        EXPECT_TRUE(sent().empty());
        for (int row = 0; row < CameraParamTable::size(); ++row) {
            EXPECT_EQ(panel->table()[row].value, before[row].value) << "row " << row;
        }
    }
}

}  // namespace
}  // namespace zr::test
