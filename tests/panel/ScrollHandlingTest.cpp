// Scroll notifications: the handler, not the toolkit, decides each position.
#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "PanelFixture.h"
#include "panel/PanelControlIds.h"
#include "tools/CWhiteSpot.h"
#include "widgets/QtMessageSink.h"

using namespace zr::panel;
using namespace zr::widgets;

namespace zr::test {
namespace {

class ScrollHandling : public PanelTest {
  protected:
    void showPanel() {
        panel->show();
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel.get()));
    }
};

// The right end of a horizontal bar: its line-right arrow.
QPoint rightArrow(const QScrollBar* bar) {
    return QPoint(bar->width() - 2, bar->height() / 2);
}

// Picks `item` from the menu that a right click at `at` brings up on `bar`.
void chooseFromContextMenu(QScrollBar* bar, QPoint at, const QString& item) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr && ++*tries < 500) return;
        poll->stop();
        poll->deleteLater();
        if (menu == nullptr) {
            ADD_FAILURE() << "no context menu";
            return;
        }
        for (QAction* action : menu->actions()) {
            if (action->text() == item) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        ADD_FAILURE() << "no menu item " << item.toStdString();
        menu->close();
    });
    poll->start(5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QCoreApplication::sendEvent(bar, &event);
}

// Keeps each message box up for a while, as a user reading it would, then
// closes it; records the texts.
class BoxReader {
  public:
    explicit BoxReader(QWidget* heldControl) {
        QObject::connect(&timer_, &QTimer::timeout, [this, heldControl] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            if (box != current_) {
                current_ = box;
                texts.push_back(box->text().toStdString());
                since_.start();
                if (texts.size() > 3) {
                    // The repeat runs on: let go of the control so that the test ends.
                    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1),
                                        heldControl->mapToGlobal(QPointF(1, 1)), Qt::LeftButton,
                                        Qt::NoButton, Qt::NoModifier);
                    QCoreApplication::sendEvent(heldControl, &release);
                }
            } else if (since_.elapsed() >= 800) {
                current_ = nullptr;
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start(20);
    }
    std::vector<std::string> texts;

  private:
    QTimer timer_;
    QPointer<QMessageBox> current_;
    QElapsedTimer since_;
};

TEST_F(ScrollHandling, PageRightAt250WritesTheMaximumNot260) {
    panel->ShowScrollValue(IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, 250);
    scrollBar(IDC_BRIGHT_SCROLL)->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(sent(), std::vector<std::string>{"0117FF0000"});
    EXPECT_EQ(scrollBar(IDC_BRIGHT_SCROLL)->value(), 255);
    EXPECT_EQ(text(IDC_BRIGHT_VALUE), " 255 ");
}

TEST_F(ScrollHandling, LineAndPageStepsAreClampedAndStillSent) {
    QScrollBar* bar = scrollBar(IDC_KNEE_POINT_SCROLL);        // 0..32
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);  // at 0: writes 0
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);    // 10
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);    // 20
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);    // 30
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);    // 32, not 40
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);  // 31
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);    // 21
    EXPECT_EQ(sent(),
              (std::vector<std::string>{"0143000000", "01430A0000", "0143140000", "01431E0000",
                                        "0143200000", "01431F0000", "0143150000"}));
    EXPECT_EQ(bar->value(), 21);
    EXPECT_EQ(text(IDC_KNEE_POINT_VALUE), " 21 ");
}

TEST_F(ScrollHandling, EndCodesSendNothingAndLeaveTheThumb) {
    QScrollBar* bar = scrollBar(IDC_BRIGHT_SCROLL);
    panel->ShowScrollValue(IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, 100);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    panel->OnHScroll(CZR_K880TM_ControlDlg::SB_ENDSCROLL, 7, IDC_BRIGHT_SCROLL);
    panel->OnHScroll(CZR_K880TM_ControlDlg::SB_LEFT, 7, IDC_BRIGHT_SCROLL);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(bar->sliderPosition(), 100);
    EXPECT_EQ(text(IDC_BRIGHT_VALUE), " 100 ");
}

TEST_F(ScrollHandling, DraggingTheGainThumbWritesEveryPositionAndEndsAt12dB) {
    QScrollBar* bar = scrollBar(IDC_GAIN_SCROLL);
    bar->setSliderDown(true);
    for (int p = 1; p <= 341; ++p) bar->setSliderPosition(p);
    bar->setSliderDown(false);  // the release repeats the final position

    const std::vector<std::string> frames = sent();
    ASSERT_EQ(frames.size(), 342u);
    EXPECT_EQ(frames.front(), "010C000100");
    EXPECT_EQ(frames[254], "010C00FF00");
    EXPECT_EQ(frames[255], "010C010000");
    EXPECT_EQ(frames[340], "010C015500");
    EXPECT_EQ(frames.back(), "010C015500");
    EXPECT_EQ(bar->value(), 341);
    EXPECT_EQ(text(IDC_GAIN_VALUE), "12.00 dB");
    EXPECT_EQ(panel->table()[zr::ROW_GAIN_LEVEL].value, 341);
}

TEST_F(ScrollHandling, ARefusedWriteLeavesThumbReadoutAndTable) {
    panel->ShowScrollValue(IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, 128);
    panel->table()[zr::ROW_BRIGHTNESS].value = 128;
    panel->link().CloseLink();
    QScrollBar* bar = scrollBar(IDC_BRIGHT_SCROLL);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar->setSliderDown(true);
    bar->setSliderPosition(200);
    bar->setSliderDown(false);

    EXPECT_EQ(bar->value(), 128);
    EXPECT_EQ(bar->sliderPosition(), 128);
    EXPECT_EQ(text(IDC_BRIGHT_VALUE), " 128 ");
    EXPECT_EQ(panel->table()[zr::ROW_BRIGHTNESS].value, 128);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(sink.count(), 3u);  // the link said why, once per refused write
}

// "Scroll here" is the thumb position request it stands for; the edges move
// nothing; the wheel is a thumb position request too. Whatever the thumb shows
// was sent, so the next line step goes on from there.
TEST_F(ScrollHandling, MenuAndWheelMoveTheThumbOnlyByAWrite) {
    const struct {
        const char* item;  // nullptr: the mouse wheel
        bool open;
        int expected;  // -1: wherever the request put it, away from 10
        bool written;
    } cases[] = {
        {"Scroll here", true, -1, true},   {"Left edge", true, 10, false},
        {"Right edge", true, 10, false},   {"Page right", true, 20, true},
        {"Scroll left", true, 9, true},    {nullptr, true, -1, true},
        {"Scroll here", false, 10, false}, {nullptr, false, 10, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item ? c.item : "wheel");
        SCOPED_TRACE(c.open);
        QScrollBar* bar = scrollBar(IDC_BRIGHT_SCROLL);
        panel->ShowScrollValue(IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, 10);
        panel->table()[zr::ROW_BRIGHTNESS].value = 10;
        if (!c.open) panel->link().CloseLink();
        clearSent();
        sink.clear();

        const QPoint at(bar->width() * 3 / 4, bar->height() / 2);
        if (c.item != nullptr) {
            chooseFromContextMenu(bar, at, c.item);
        } else {
            QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(bar, &wheel);
        }
        const int shown = bar->value();
        if (c.expected >= 0) {
            EXPECT_EQ(shown, c.expected);
        } else {
            EXPECT_NE(shown, 10);
        }
        EXPECT_EQ(bar->sliderPosition(), shown);
        EXPECT_EQ(text(IDC_BRIGHT_VALUE), QString(" %1 ").arg(shown));
        EXPECT_EQ(panel->table()[zr::ROW_BRIGHTNESS].value, shown);
        EXPECT_EQ(sink.count(), c.open ? 0u : 1u);

        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        std::vector<std::string> expected;
        if (c.written) expected.push_back(expectedWrite(13, shown));
        if (c.open) expected.push_back(expectedWrite(13, shown + 1));
        EXPECT_EQ(sent(), expected);
        if (!c.open) {
            ASSERT_TRUE(openLink());
        }
    }
}

// A box swallows the mouse release; the control that caused it must not go
// on repeating its refused request behind the box.
TEST_F(ScrollHandling, AMessageEndsTheAutoRepeatOfTheBarThatCausedIt) {
    panel->OpenWhiteSpot();
    CWhiteSpot* whiteSpot = panel->whiteSpotWindow();
    ASSERT_NE(whiteSpot, nullptr);
    showPanel();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(whiteSpot));
    clearSent();
    panel->link().CloseLink();
    zr::QtMessageSink boxes;
    panel->messages().setSink(boxes);

    auto* threshold = qobject_cast<QScrollBar*>(whiteSpot->control(CWhiteSpot::IDC_THRESHOLD));
    for (QScrollBar* bar : {scrollBar(IDC_BRIGHT_SCROLL), threshold}) {
        const int before = bar->value();
        BoxReader reader(bar);
        QTest::mousePress(bar, Qt::LeftButton, {}, rightArrow(bar));
        QTest::qWait(1000);  // well past the repeat's first delay
        QTest::mouseRelease(bar, Qt::LeftButton, {}, rightArrow(bar));
        EXPECT_EQ(reader.texts, std::vector<std::string>{"PORT isn't open."});
        EXPECT_EQ(bar->value(), before);
    }
    panel->messages().setSink(sink);
    EXPECT_TRUE(sent().empty());
}

// The keys act on the control the user touched last; Tab reaches a group's
// scroll bars after its buttons.
TEST_F(ScrollHandling, AClickedBarTakesTheKeysAndTabReachesItAfterItsButtons) {
    showPanel();
    QScrollBar* bar = scrollBar(IDC_BRIGHT_SCROLL);
    button(IDC_ALC_OFF)->setFocus();
    QTest::mouseClick(bar, Qt::LeftButton, {}, rightArrow(bar));
    EXPECT_EQ(QApplication::focusWidget(), bar);
    // Right and Left step the way they point.
    for (int i = 0; i < 3; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(sent(), (std::vector<std::string>{expectedWrite(13, 1), expectedWrite(13, 2),
                                                expectedWrite(13, 3), expectedWrite(13, 4),
                                                expectedWrite(13, 3)}));
    EXPECT_FALSE(checked(IDC_ALC_AGC_AES));

    const std::pair<int, int> lastButtonThenBar[] = {
        {IDC_SHUTTER_VARIABLE, IDC_VSHUTTER_SCROLL}, {IDC_GAMMA_ON, IDC_GAMMA_SCROLL},
        {IDC_KNEE_ON, IDC_KNEE_POINT_SCROLL},        {IDC_SHARP_ON, IDC_SHARP_SCROLL},
        {IDC_ALC_AGC_AES, IDC_VIDEO_SCROLL},         {IDC_PB_ON, IDC_PB_RED_SCROLL},
    };
    button(IDC_PB_ON)->click();  // its levels are greyed until paint black is on
    for (auto [buttonId, barId] : lastButtonThenBar) {
        button(buttonId)->setFocus();
        QTest::keyClick(button(buttonId), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), scrollBar(barId)) << buttonId;
    }
}

}  // namespace
}  // namespace zr::test
