// Scroll notifications: the handler, not the toolkit, decides each position.
#include <QScrollBar>

#include "PanelFixture.h"
#include "panel/PanelControlIds.h"

using namespace zr::panel;

namespace zr::test {
namespace {

class ScrollHandling : public PanelTest {};

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
    EXPECT_EQ(panel->table()[6].value, 341);
}

TEST_F(ScrollHandling, ARefusedWriteLeavesThumbReadoutAndTable) {
    panel->ShowScrollValue(IDC_BRIGHT_SCROLL, IDC_BRIGHT_VALUE, 128);
    panel->table()[13].value = 128;
    panel->link().CloseLink();
    QScrollBar* bar = scrollBar(IDC_BRIGHT_SCROLL);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    bar->setSliderDown(true);
    bar->setSliderPosition(200);
    bar->setSliderDown(false);

    EXPECT_EQ(bar->value(), 128);
    EXPECT_EQ(bar->sliderPosition(), 128);
    EXPECT_EQ(text(IDC_BRIGHT_VALUE), " 128 ");
    EXPECT_EQ(panel->table()[13].value, 128);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(sink.count(), 3u);  // the link said why, once per refused write
}

}  // namespace
}  // namespace zr::test
