#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <cstdio>

#include "SimPanelTest.h"
#include "tools/CWhiteSpot.h"

namespace {

std::string thresholdWrite(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "014C%02X0000", value);
    return text;
}

}  // namespace

class WhiteSpotWindowTest : public SimPanelTest {
  protected:
    CWhiteSpot* open(int threshold) {
        camera.setReg(0x01, 0x4C, static_cast<uint32_t>(threshold) << 16);
        panel.OpenWhiteSpot();
        return panel.whiteSpotWindow();
    }
    QScrollBar* bar(CWhiteSpot* w) {
        return qobject_cast<QScrollBar*>(w->control(CWhiteSpot::IDC_THRESHOLD));
    }
    QString readOut(CWhiteSpot* w) {
        return qobject_cast<QLabel*>(w->control(CWhiteSpot::IDC_THRESHOLD_TEXT))->text();
    }
};

TEST_F(WhiteSpotWindowTest, TemplateHasItsCaptionAndControls) {
    CWhiteSpot* w = open(96);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "WHITE SPOT DETECT MENU");
    const struct {
        int id;
        const char* kind;
        const char* caption;
    } controls[] = {{1017, "QPushButton", "DETECT"}, {1019, "QPushButton", "READ"},
                    {2, "QPushButton", "CLOSE"},     {1018, "QScrollBar", nullptr},
                    {1021, "QLabel", nullptr},       {1020, "QPlainTextEdit", nullptr}};
    for (const auto& c : controls) {
        QWidget* widget = w->control(c.id);
        ASSERT_NE(widget, nullptr) << c.id;
        EXPECT_TRUE(widget->inherits(c.kind)) << c.id;
        if (c.caption) {
            EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), c.caption);
        }
    }
    EXPECT_EQ(bar(w)->orientation(), Qt::Horizontal);
    EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(w->control(1020))->isReadOnly());
}

TEST_F(WhiteSpotWindowTest, OpeningReadsTheThresholdIntoBarAndReadOut) {
    for (int value : {7, 200}) {
        clearSent();
        CWhiteSpot* w = open(value);
        EXPECT_EQ(sent(), std::vector<std::string>{"814C000000"});
        EXPECT_EQ(bar(w)->minimum(), 0);
        EXPECT_EQ(bar(w)->maximum(), 255);
        EXPECT_EQ(bar(w)->value(), value);
        EXPECT_EQ(readOut(w), QString::asprintf("%2d\n", value));
        w->reject();  // hidden: the next opening makes a new window
    }
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(WhiteSpotWindowTest, FailedFirstReadShowsThePanelsLastKnownThreshold) {
    panel.table()[zr::ROW_WHITE_SPOT_LEVEL].value = 120;
    panel.link().CloseLink();
    CWhiteSpot* w = open(33);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"PORT isn't open."});
    EXPECT_EQ(bar(w)->value(), 120);
    EXPECT_EQ(readOut(w), "120\n");
}

TEST_F(WhiteSpotWindowTest, EachRequestSendsOneWriteAndMovesByTheRule) {
    const struct {
        int start;
        QAbstractSlider::SliderAction action;
        int expected;
    } cases[] = {
        {100, QAbstractSlider::SliderPageStepAdd, 110},
        {250, QAbstractSlider::SliderPageStepAdd, 255},
        {100, QAbstractSlider::SliderPageStepSub, 90},
        {5, QAbstractSlider::SliderPageStepSub, 0},
        {0, QAbstractSlider::SliderSingleStepSub, 0},
        {254, QAbstractSlider::SliderSingleStepAdd, 255},
    };
    for (const auto& c : cases) {
        CWhiteSpot* w = open(c.start);
        clearSent();
        bar(w)->triggerAction(c.action);
        EXPECT_EQ(sent(), std::vector<std::string>{thresholdWrite(c.expected)}) << c.start;
        EXPECT_EQ(bar(w)->value(), c.expected);
        EXPECT_EQ(readOut(w), QString::asprintf(" %d ", c.expected));
        w->reject();
    }
}

TEST_F(WhiteSpotWindowTest, EndRequestsAndRefusedWritesLeaveBarAndReadOut) {
    CWhiteSpot* w = open(100);
    clearSent();
    bar(w)->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(bar(w)->value(), 100);

    panel.link().CloseLink();
    bar(w)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"PORT isn't open."});
    EXPECT_EQ(bar(w)->value(), 100);
    EXPECT_EQ(readOut(w), "100\n");
}

// Read From Camera changes the row under the open window: the bar and its
// read-out follow the table, and showing it writes nothing back.
TEST_F(WhiteSpotWindowTest, AReadWalkMovesTheBarAndWritesNothing) {
    CWhiteSpot* w = open(96);
    camera.setReg(0x01, 0x4C, 150u << 16);
    panel.bulk().ReadFromCamera();
    EXPECT_EQ(panel.table()[zr::ROW_WHITE_SPOT_LEVEL].value, 150);
    EXPECT_EQ(bar(w)->value(), 150);
    EXPECT_EQ(readOut(w), " 150 ");
    clearSent();
    panel.RefreshPanel();
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(WhiteSpotWindowTest, EnterAndEscapeOnlyHide) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        CWhiteSpot* w = open(96);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
        bar(w)->setFocus();
        QTest::keyClick(bar(w), key);
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(panel.whiteSpotWindow(), w);
    }
}
