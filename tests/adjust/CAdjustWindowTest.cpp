// The adjustment window's template, enabling rules and command sequences.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <filesystem>

#include "AdjustTestSupport.h"
#include "adjust/AdjustDataLog.h"
#include "adjust/AdjustTemplate.h"
#include "panel/PanelControlIds.h"
#include "support/TempDir.h"
#include "widgets/SliderRelease.h"

using namespace adjust_id;
using adjust_test::AdjustWindowTest;

namespace {

std::vector<std::string> onSequenceWrites(int gainStepFlag) {
    return {"30004A5C00", "0102000000", "012A190000",
            "012BD60000", "3063010000", gainStepFlag ? "020D010000" : "020D000000"};
}

// Every read of a full READ with the simulated camera's identity texts
// ("CAMSIM", "ZR-K880TM"): the vendor ends in its fourth register (zero), the
// model in its fifth ("M" and a zero byte).
const std::vector<std::string> kFullRead = {
    "B077000000", "B01B000000", "B014000000", "B011000000",                // R
    "B078000000", "B01C000000", "B015000000", "B012000000",                // G
    "B079000000", "B01D000000", "B016000000", "B013000000",                // B
    "B010000000",                                                          // registration switch
    "9000000000", "9001000000", "9002000000", "9003000000",                // vendor
    "9008000000", "9009000000", "900A000000", "900B000000", "900C000000",  // model
    "9014000000", "9015000000",                                            // CPU
    "9016000000", "9017000000",                                            // FPGA
    "9010000000", "9011000000", "9012000000", "9013000000",                // serial
    "B07F000000", "B07E000000",                                            // temperature
};

// What the main panel shows of the rows that ADJUST MODE writes.
struct PanelShows {
    QString memory;
    int redGain, blueGain;
};

PanelShows panelShows(CZR_K880TM_ControlDlg& panel) {
    return {qobject_cast<QLabel*>(panel.control(zr::panel::IDC_MEMORY_CURRENT))->text(),
            qobject_cast<QScrollBar*>(panel.control(zr::panel::IDC_WB_RGAIN_SCROLL))->value(),
            qobject_cast<QScrollBar*>(panel.control(zr::panel::IDC_WB_BGAIN_SCROLL))->value()};
}

}  // namespace

TEST_F(AdjustWindowTest, TemplateHoldsEveryControlWithItsKind) {
    EXPECT_EQ(window->windowTitle(), "ZR-K880TM ADJUST");
    for (const auto& c : adjust_template::controls()) {
        if (c.id == adjust_template::NoId) continue;
        ASSERT_NE(window->control(c.id), nullptr) << c.id;
        EXPECT_EQ(window->control(c.id)->isVisibleTo(window.get()),
                  (c.options & zr::widgets::Hidden) == 0)
            << c.id;
    }
    for (int id : {CONTINUOUS, TEMPERATURE_MIN, TEMPERATURE_MAX}) {
        EXPECT_FALSE(window->control(id)->isVisibleTo(window.get())) << id;
    }
    for (int id = VREG_SLIDER_R; id < VREG_SLIDER_R + 3; ++id) {
        auto* bar = window->control<QSlider>(id);
        EXPECT_EQ(bar->orientation(), Qt::Vertical);
        EXPECT_EQ(bar->tickPosition(), QSlider::TicksBothSides);
    }
    EXPECT_TRUE(window->control<QPushButton>(ADJUST_MODE_ON)->isCheckable());
    EXPECT_TRUE(window->control<QLineEdit>(VSUB_EDIT_R)->isReadOnly());
    EXPECT_EQ(text(SAVE_LOG), "SAVE  Data to ZR-K880.csv file");
}

TEST_F(AdjustWindowTest, SliderRangesAndTicksComeFromTheTable) {
    struct Case {
        int firstId, min, max, tick;
    };
    for (const Case& c : {Case{VSUB_SLIDER_R, 100, 255, 16}, Case{GAIN_SLIDER_R, 0, 256, 16},
                          Case{HREG_SLIDER_R, -9, 8, 4}, Case{VREG_SLIDER_R, -9, 8, 4}}) {
        for (int id = c.firstId; id < c.firstId + 3; ++id) {
            auto* bar = window->control<QSlider>(id);
            EXPECT_EQ(bar->minimum(), c.min) << id;
            EXPECT_EQ(bar->maximum(), c.max) << id;
            EXPECT_EQ(bar->tickInterval(), c.tick) << id;
        }
    }
    EXPECT_EQ(window->registrationCentre(), 9);
}

TEST_F(AdjustWindowTest, StartsOffWithStepOneAndZerosAndSendsNothing) {
    for (int id = VSUB_EDIT_R; id < VSUB_EDIT_R + 12; ++id) EXPECT_EQ(text(id), "0") << id;
    EXPECT_TRUE(window->control<QRadioButton>(STEP_VSUB)->isChecked());
    EXPECT_TRUE(window->control<QPushButton>(ADJUST_MODE_OFF)->isChecked());
    EXPECT_FALSE(window->control<QRadioButton>(REGISTRATION_ON)->isChecked());
    EXPECT_FALSE(window->control<QRadioButton>(REGISTRATION_OFF)->isChecked());
    for (int id : {STEP_VSUB, STEP_GAIN, STEP_REGISTRATION, SERIAL_EDIT, SET_SERIAL, VSUB_SLIDER_R,
                   AUTO_ADJUST, HREG_SLIDER_R, VREG_SLIDER_R, REGISTRATION_ON, STEP1_FRAME}) {
        EXPECT_FALSE(enabled(id)) << id;
    }
    for (int id :
         {READ, SAVE, ADJUST_MODE_ON, ADJUST_MODE_OFF, FACTORY_INITIALIZE, SAVE_LOG, CLOSE}) {
        EXPECT_TRUE(enabled(id)) << id;
    }
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(AdjustWindowTest, AdjustModeOnWritesTheKeyFirstThenReadsEverything) {
    click(ADJUST_MODE_ON);
    std::vector<std::string> expected = onSequenceWrites(0);
    expected.insert(expected.end(), kFullRead.begin(), kFullRead.end());
    EXPECT_EQ(takeSent(), expected);  // the panel's refresh sends nothing
    EXPECT_TRUE(camera->adjustMode());
    const PanelShows shown = panelShows(*panel);
    EXPECT_EQ(shown.memory, "DEFAULT");
    EXPECT_EQ(shown.redGain, 25);
    EXPECT_EQ(shown.blueGain, 214);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the wait cursor is gone again
    EXPECT_TRUE(sink.texts().empty());

    // Step 1's controls only.
    for (int id :
         std::initializer_list<int>{STEP_VSUB, STEP_GAIN, SERIAL_EDIT, SET_SERIAL,
                                    VSUB_SLIDER_R + 2, VSUB_EDIT_R, VSUB_LABEL_R, STEP1_FRAME}) {
        EXPECT_TRUE(enabled(id)) << id;
    }
    for (int id : std::initializer_list<int>{AUTO_ADJUST, GAIN_SLIDER_R, STEP2_FRAME, HREG_SLIDER_R,
                                             VREG_EDIT_R + 2, REGISTRATION_OFF, STEP3_FRAME}) {
        EXPECT_FALSE(enabled(id)) << id;
    }

    // The checked button again runs the whole sequence again.
    click(ADJUST_MODE_ON);
    EXPECT_EQ(takeSent(), expected);
}

TEST_F(AdjustWindowTest, AdjustModeOnInTheGainStepRaisesTheGainStepFlag) {
    enterAdjustMode(STEP_GAIN);
    click(ADJUST_MODE_ON);
    const auto sent = takeSent();
    ASSERT_GE(sent.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(sent.begin(), sent.begin() + 6), onSequenceWrites(1));
}

TEST_F(AdjustWindowTest, AdjustModeOffSendsItsFourWritesAndDisablesTheSteps) {
    enterAdjustMode(STEP_REGISTRATION);
    click(ADJUST_MODE_OFF);
    EXPECT_EQ(takeSent(),
              (std::vector<std::string>{"3063000000", "020D000000", "3000000000", "0102010000"}));
    EXPECT_FALSE(camera->adjustMode());
    EXPECT_EQ(camera->currentMemory(), 1);
    EXPECT_EQ(panelShows(*panel).memory, "FILE 1");
    for (int id : {STEP_VSUB, SET_SERIAL, HREG_SLIDER_R, VREG_SLIDER_R, REGISTRATION_ON}) {
        EXPECT_FALSE(enabled(id)) << id;
    }
}

TEST_F(AdjustWindowTest, StepChangeWritesTheGainStepFlagAndMovesTheEnabledGroup) {
    enterAdjustMode(STEP_VSUB);
    struct Case {
        int radio;
        const char* sent;
        int enabledId, disabledId;
    };
    for (const Case& c : {Case{STEP_GAIN, "020D010000", AUTO_ADJUST, VSUB_SLIDER_R},
                          Case{STEP_REGISTRATION, "020D000000", VREG_SLIDER_R, AUTO_ADJUST},
                          Case{STEP_VSUB, "020D000000", VSUB_EDIT_R, REGISTRATION_ON}}) {
        click(c.radio);
        EXPECT_EQ(takeSent(), std::vector<std::string>{c.sent}) << c.radio;
        EXPECT_EQ(window->adjustStep(), c.radio - STEP_VSUB);
        EXPECT_TRUE(enabled(c.enabledId)) << c.radio;
        EXPECT_FALSE(enabled(c.disabledId)) << c.radio;
    }
}

TEST_F(AdjustWindowTest, ButtonsSendTheirSingleWrites) {
    enterAdjustMode(STEP_REGISTRATION);
    struct Case {
        int id;
        const char* sent;
    };
    for (const Case& c :
         {Case{SAVE, "3003000400"}, Case{FACTORY_INITIALIZE, "0145010000"},
          Case{REGISTRATION_ON, "3010010000"}, Case{REGISTRATION_OFF, "3010000000"}}) {
        click(c.id);
        EXPECT_EQ(takeSent(), std::vector<std::string>{c.sent}) << c.id;
    }
    EXPECT_TRUE(sink.texts().empty());
}

TEST_F(AdjustWindowTest, SliderEndsMapOntoTheRegistersAndTheEdits) {
    enterAdjustMode(STEP_REGISTRATION);
    struct Case {
        int slider;
        QAbstractSlider::SliderAction action;
        const char* shown;
        const char* sent;
    };
    const Case cases[] = {
        // Vertical bars grow downward: the top is the largest value.
        {VREG_SLIDER_R, QAbstractSlider::SliderToMinimum, "8", "3011110000"},
        {VREG_SLIDER_R, QAbstractSlider::SliderToMaximum, "-9", "3011000000"},
        {VREG_SLIDER_R + 2, QAbstractSlider::SliderToMinimum, "8", "3013110000"},
        {HREG_SLIDER_R, QAbstractSlider::SliderToMinimum, "-9", "3014000000"},
        {HREG_SLIDER_R, QAbstractSlider::SliderToMaximum, "8", "3014110000"},
        {HREG_SLIDER_R + 1, QAbstractSlider::SliderToMinimum, "-9", "3015000000"},
    };
    for (const Case& c : cases) {
        window->control<QSlider>(c.slider)->triggerAction(c.action);
        EXPECT_EQ(takeSent(), std::vector<std::string>{c.sent}) << c.slider;
        EXPECT_EQ(text(VSUB_EDIT_R + (c.slider < VREG_SLIDER_R ? c.slider - HREG_SLIDER_R + 6
                                                               : c.slider - VREG_SLIDER_R + 9)),
                  c.shown)
            << c.slider;
    }
    // The centre of either kind of bar sends the register's middle value.
    for (int id : {HREG_SLIDER_R + 2, VREG_SLIDER_R + 1}) {
        auto* bar = window->control<QSlider>(id);
        bar->setSliderPosition(id == HREG_SLIDER_R + 2 ? 0 : -1);  // a drag step
        EXPECT_EQ(takeSent(),
                  std::vector<std::string>{id == HREG_SLIDER_R + 2 ? "3016090000" : "3012090000"});
    }
    EXPECT_EQ(text(HREG_EDIT_R + 2), "0");
    EXPECT_EQ(text(VREG_EDIT_R + 1), "0");
}

TEST_F(AdjustWindowTest, SubVoltageAndGainSlidersSendTheirPositions) {
    enterAdjustMode(STEP_VSUB);
    window->control<QSlider>(VSUB_SLIDER_R)->setValue(149);
    window->control<QSlider>(VSUB_SLIDER_R)->setSliderPosition(150);
    EXPECT_EQ(takeSent(), std::vector<std::string>{"3077960000"});
    EXPECT_EQ(text(VSUB_EDIT_R), "150");

    click(STEP_GAIN);
    takeSent();
    window->control<QSlider>(GAIN_SLIDER_R)->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(takeSent(), std::vector<std::string>{"301B010000"});
    EXPECT_EQ(text(GAIN_EDIT_R), "256");
}

TEST_F(AdjustWindowTest, KeyboardAndEndOfDragAreNotificationsToo) {
    enterAdjustMode(STEP_REGISTRATION);
    auto* bar = window->control<QSlider>(VREG_SLIDER_R);
    bar->setValue(0);  // placing the bar is no notification
    EXPECT_TRUE(takeSent().empty());
    bar->setFocus();
    adjust_test::pressKey(bar, Qt::Key_Down);  // down the track: one smaller
    EXPECT_EQ(bar->sliderPosition(), 1);
    EXPECT_EQ(text(VREG_EDIT_R), "-2");
    EXPECT_EQ(takeSent(), std::vector<std::string>{"3011070000"});

    bar->setSliderDown(true);
    bar->setSliderDown(false);  // end of a drag: the position goes out again
    EXPECT_EQ(takeSent(), std::vector<std::string>{"3011070000"});
}

TEST_F(AdjustWindowTest, FailedWritesSayWhyAndKeepEditThumbAndSwitch) {
    enterAdjustMode(STEP_REGISTRATION);
    const QString before = text(HREG_EDIT_R);
    const int32_t valueBefore = window->adjustValue(6);
    auto* slider = window->control<QSlider>(HREG_SLIDER_R);
    const int positionBefore = slider->value();
    closeLink();
    slider->triggerAction(QAbstractSlider::SliderToMaximum);
    const auto messages = sink.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message.text, "PORT isn't open.");
    EXPECT_EQ(messages[1].message.text, "Send error");
    EXPECT_EQ(messages[1].message.caption, QApplication::applicationName().toStdString());
    EXPECT_EQ(text(HREG_EDIT_R), before);
    EXPECT_EQ(window->adjustValue(6), valueBefore);
    EXPECT_EQ(slider->value(), positionBefore);  // the thumb shows what the camera has
    EXPECT_EQ(slider->sliderPosition(), positionBefore);

    // The registration pair, too, keeps showing what the camera has.
    const int switchBefore = window->registrationSwitch();
    click(switchBefore == 0 ? REGISTRATION_OFF : REGISTRATION_ON);
    EXPECT_EQ(window->registrationSwitch(), switchBefore);
    EXPECT_TRUE(
        window->control<QAbstractButton>(switchBefore == 0 ? REGISTRATION_ON : REGISTRATION_OFF)
            ->isChecked());
}

TEST_F(AdjustWindowTest, ABoxInTheMiddleOfADragStepIsNoSecondRequest) {
    enterAdjustMode(STEP_VSUB);
    auto* slider = window->control<QSlider>(VSUB_SLIDER_R);
    const int before = slider->value();
    closeLink();
    sink.clear();
    // As the panel's own box does: the box takes the mouse release.
    sink.onShow([](const zr::test::RecordedMessage&) { zr::widgets::releaseHeldSliders(); });
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    const QRect thumb = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderHandle, slider);
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb.center());
    QTest::mouseMove(slider, thumb.center() + QPoint(slider->width() / 4, 0));
    QTest::mouseRelease(slider, Qt::LeftButton, {},
                        thumb.center() + QPoint(slider->width() / 4, 0));
    // One drag step, one refused write: the link's box and this window's.
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"PORT isn't open.", "Send error"}));
    EXPECT_EQ(slider->value(), before);
    EXPECT_EQ(slider->sliderPosition(), before);
    EXPECT_EQ(text(VSUB_EDIT_R), QString::number(before));
}

// A click on the track beside the thumb steps at once and arms the slider's
// repeat when that step has returned; a box the step brought up has already
// taken the release, so the repeat must not run on with no button held.
TEST_F(AdjustWindowTest, AClickOnTheTrackThatBringsABoxLeavesNoRepeatRunning) {
    struct Repeat : QAbstractSlider {
        static SliderAction of(QAbstractSlider* s) { return (s->*(&Repeat::repeatAction))(); }
    };
    enterAdjustMode(STEP_VSUB);
    auto* slider = window->control<QSlider>(VSUB_SLIDER_R);
    closeLink();
    sink.onShow([](const zr::test::RecordedMessage&) {
        // As the panel's box does, before and after it is up.
        zr::widgets::releaseHeldSliders();
        zr::widgets::stopRepeatsAfterBox();
    });
    struct Style : QSlider {
        static void of(QSlider* s, QStyleOptionSlider* o) { (s->*(&Style::initStyleOption))(o); }
    };
    QStyleOptionSlider option;
    Style::of(slider, &option);
    const QRect thumb = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderHandle, slider);
    const QPoint track(slider->value() > slider->minimum() ? thumb.left() - 6 : thumb.right() + 6,
                       thumb.center().y());
    QMouseEvent press(QEvent::MouseButtonPress, track, slider->mapToGlobal(track), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &press);
    QCoreApplication::processEvents();
    EXPECT_EQ(Repeat::of(slider), QAbstractSlider::SliderNoAction);
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"PORT isn't open.", "Send error"}));
    QMouseEvent release(QEvent::MouseButtonRelease, track, slider->mapToGlobal(track),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &release);
}

TEST_F(AdjustWindowTest, ReadAssemblesSixteenCharacterVendorAndShortModel) {
    camera->updateBehaviour([](zr::sim::BehaviourSettings& b) {
        b.vendor = "ABCDEFGHIJKLMNOP";
        b.model = "ZRA";  // second register 0x4100
        b.serialNumber = "K8800042";
        b.cpuVersion = "1002";
        b.fpgaVersion = "0105";
        b.temperatureTenths = 253;
    });
    const int values[] = {150, 160, 170, 200, 210, 256, 0, 9, 17, 17, 0, 10, 0};
    for (int i = 0; i < 13; ++i) adjust_test::setCameraRow(*camera, 57 + i + (i >= 6), values[i]);
    // rows 57..62 and 64..70 (63 is the automatic adjustment)
    click(READ);
    const auto sent = takeSent();
    const auto vendorReads = std::count_if(sent.begin(), sent.end(), [](const std::string& t) {
        return t.rfind("900", 0) == 0 && t[3] <= '7';
    });
    EXPECT_EQ(vendorReads, 8);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "9009000000"), 1);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "900A000000"), 0);

    EXPECT_EQ(text(VENDOR), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(text(MODEL), "ZRA");
    EXPECT_EQ(text(CPU_VERSION), "1.002");
    EXPECT_EQ(text(FPGA_VERSION), "01.05");
    EXPECT_EQ(text(SERIAL_NUMBER), "K8800042");
    EXPECT_EQ(text(TEMPERATURE), "25.3");

    const char* edits[] = {"150", "200", "-9",  "8",   "160", "210",
                           "0",   "-9",  "170", "256", "8",   "1"};
    // Edits are in group order: sub voltage R G B, gain R G B, H R G B, V R G B.
    const int order[] = {0, 3, 6, 9, 1, 4, 7, 10, 2, 5, 8, 11};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(text(VSUB_EDIT_R + order[i]), edits[i]) << i;
    EXPECT_EQ(window->control<QSlider>(VSUB_SLIDER_R + 1)->value(), 160);
    EXPECT_EQ(window->control<QSlider>(GAIN_SLIDER_R + 2)->value(), 256);
    EXPECT_EQ(window->control<QSlider>(HREG_SLIDER_R + 2)->value(), 8);
    EXPECT_EQ(window->control<QSlider>(VREG_SLIDER_R)->value(), -9);            // shows 8
    EXPECT_EQ(window->control<QSlider>(VREG_SLIDER_R + 2)->value(), -2);        // shows 1
    EXPECT_TRUE(window->control<QRadioButton>(REGISTRATION_OFF)->isChecked());  // row 70 = 0
    EXPECT_TRUE(sink.texts().empty());
}

TEST_F(AdjustWindowTest, ReadWithZeroBytesEndsTheTextsThere) {
    // First: new behaviour settings rewrite the identity registers.
    camera->updateBehaviour([](zr::sim::BehaviourSettings& b) { b.temperatureTenths = 5; });
    adjust_test::setCameraRow(*camera, 95, 0x3100);  // "1." and then nothing
    adjust_test::setCameraRow(*camera, 96, 0x3030);
    adjust_test::setCameraRow(*camera, 97, 0x3031);
    adjust_test::setCameraRow(*camera, 98, 0x0035);  // "01." and then nothing
    adjust_test::setCameraRow(*camera, 91, 0x4142);
    adjust_test::setCameraRow(*camera, 92, 0x4300);  // the serial number ends after "ABC"
    adjust_test::setCameraRow(*camera, 93, 0x4445);
    adjust_test::setCameraRow(*camera, 75, 0x00FF);  // empty vendor
    adjust_test::setCameraRow(*camera, 76, 0x4142);
    click(READ);
    const auto sent = takeSent();
    EXPECT_EQ(text(CPU_VERSION), "1.");
    EXPECT_EQ(text(FPGA_VERSION), "01.");
    EXPECT_EQ(text(SERIAL_NUMBER), "ABC");
    EXPECT_EQ(text(VENDOR), "");
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "9001000000"), 0);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "9013000000"), 1);  // serial: all four read
    EXPECT_EQ(text(TEMPERATURE), "0.5");
}

TEST_F(AdjustWindowTest, FailedReadsShowPlaceholdersNotTheLastValues) {
    click(READ);
    ASSERT_EQ(text(VENDOR), "CAMSIM");
    ASSERT_EQ(text(TEMPERATURE), "25.3");
    ASSERT_TRUE(window->control<QRadioButton>(REGISTRATION_OFF)->isChecked());
    closeLink();
    click(READ);
    EXPECT_GT(sink.countOf("PORT isn't open."), 0u);
    EXPECT_EQ(sink.count(), sink.countOf("PORT isn't open."));  // nothing of its own
    for (int id = VSUB_EDIT_R; id < VSUB_EDIT_R + 12; ++id) {
        EXPECT_EQ(text(id), CAdjust::UnknownValueText) << id;
    }
    EXPECT_EQ(text(VENDOR), "****************");
    EXPECT_EQ(text(MODEL), "****************");
    EXPECT_EQ(text(CPU_VERSION), "******");
    EXPECT_EQ(text(FPGA_VERSION), "******");
    EXPECT_EQ(text(SERIAL_NUMBER), "********");
    EXPECT_EQ(text(TEMPERATURE), CAdjust::UnknownTemperatureText);
    EXPECT_FALSE(window->control<QRadioButton>(REGISTRATION_ON)->isChecked());
    EXPECT_FALSE(window->control<QRadioButton>(REGISTRATION_OFF)->isChecked());

    // A later exchange of the controls keeps the values unknown.
    window->UpdateData(true);
    window->UpdateData(false);
    EXPECT_EQ(text(GAIN_EDIT_R), CAdjust::UnknownValueText);
}

TEST_F(AdjustWindowTest, SetWritesAnEightCharacterSerialNumber) {
    enterAdjustMode(STEP_VSUB);
    auto* edit = window->control<QLineEdit>(SERIAL_EDIT);
    edit->setFocus();
    adjust_test::typeText(edit, "ab123456");
    EXPECT_EQ(edit->text(), "AB123456");  // typed letters become upper case
    click(SET_SERIAL);
    EXPECT_EQ(takeSent(),
              (std::vector<std::string>{"1010414200", "1011313200", "1012333400", "1013353600"}));
    EXPECT_TRUE(sink.texts().empty());
    EXPECT_EQ(text(SERIAL_NUMBER), "SIM00001");  // not refreshed until READ
}

TEST_F(AdjustWindowTest, SetRefusesSerialNumbersOfTheWrongLength) {
    enterAdjustMode(STEP_VSUB);
    // Lengths in characters; the last two are eight bytes or eight characters
    // in UTF-8 but not eight one-byte characters.
    for (const char* serial : {"AB12345", "AB1234567", "", "AB1234\xC3\x89", "AB12345\xC3\x89"}) {
        sink.clear();
        window->control<QLineEdit>(SERIAL_EDIT)->setText(QString::fromUtf8(serial));
        click(SET_SERIAL);
        const auto messages = sink.messages();
        ASSERT_EQ(messages.size(), 1u) << serial;
        EXPECT_EQ(messages[0].message.text, "シリアルナンバが不正です。");
        EXPECT_EQ(messages[0].message.caption, "Error");
        EXPECT_EQ(messages[0].message.icon, zr::MsgIcon::Exclamation);
        EXPECT_TRUE(takeSent().empty()) << serial;
    }
}

TEST_F(AdjustWindowTest, EnterDoesNothingAndEscapeCloses) {
    enterAdjustMode(STEP_VSUB);
    auto* edit = window->control<QLineEdit>(SERIAL_EDIT);
    edit->setFocus();
    edit->setText("AB123456");
    adjust_test::pressKey(edit, Qt::Key_Return);
    window->control(FACTORY_INITIALIZE)->setFocus();
    adjust_test::pressKey(window->control(FACTORY_INITIALIZE), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(takeSent().empty());
    adjust_test::pressKey(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(AdjustWindowTest, CloseHidesAndSendsNothing) {
    enterAdjustMode(STEP_VSUB);
    click(CLOSE);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(takeSent().empty());
    EXPECT_TRUE(camera->adjustMode());  // left in adjust mode
}

TEST_F(AdjustWindowTest, ContinuousTemperatureRefreshRunsUntilClose) {
    auto* box = window->control<QCheckBox>(CONTINUOUS);
    box->click();
    EXPECT_TRUE(window->isTimerActive(CAdjust::TemperatureTimer));
    camera->updateBehaviour([](zr::sim::BehaviourSettings& b) { b.temperatureTenths = 412; });
    EXPECT_TRUE(adjust_test::waitFor([&] { return text(TEMPERATURE) == "41.2"; }));
    const auto sent = takeSent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "B07F000000");
    EXPECT_EQ(sent[1], "B07E000000");
    click(CLOSE);
    EXPECT_FALSE(window->isTimerActive(CAdjust::TemperatureTimer));
}

TEST_F(AdjustWindowTest, LogButtonAppendsARecordInAnyMode) {
    zr::test::TempDir dir;
    const std::string file = dir.file("log.csv");
    window->dataLog().setPath(file);
    window->dataLog().setLocalTime([] { return zr::LogDateTime{2011, 5, 9, 14, 5}; });
    ASSERT_TRUE(enabled(SAVE_LOG));  // adjust mode is OFF
    click(SAVE_LOG);
    EXPECT_EQ(zr::test::readFile(file), std::string(zr::AdjustDataLog::header()) +
                                            "2011. 5. 9 14:5,SIM00001,1002,0105,150,150,150,0,0,0,"
                                            "-9,-9,-9,-9,-9,-9,0,0,0\r\n");
    EXPECT_EQ(takeSent().size(), 23u);
}

TEST_F(AdjustWindowTest, PanelOpensAFreshWindowOnceTheLastOneWasClosed) {
    panel->OpenAdjust();
    QPointer<CAdjust> first = panel->adjustWindow();
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    first->control<QAbstractButton>(ADJUST_MODE_ON)->click();
    panel->OpenAdjust();  // still visible: the same window
    EXPECT_EQ(panel->adjustWindow(), first.data());

    first->control<QAbstractButton>(CLOSE)->click();
    panel->OpenAdjust();
    EXPECT_TRUE(first.isNull());
    CAdjust* second = panel->adjustWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(second->control<QPushButton>(ADJUST_MODE_OFF)->isChecked());
    EXPECT_EQ(second->control<QLineEdit>(VSUB_EDIT_R)->text(), "0");
    EXPECT_TRUE(camera->adjustMode());  // the camera was left as it was
}
