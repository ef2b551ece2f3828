#include <gtest/gtest.h>

#include <QAbstractSlider>

#include "tools/WhiteSpotFormat.h"
#include "widgets/ScrollRequest.h"

using namespace zr::tools;
using namespace zr::widgets;

TEST(WhiteSpotFormat, ResultMessagesKeepTheCameraWording) {
    EXPECT_STREQ(detectResultText(0), "Detect is finished.");
    EXPECT_STREQ(detectResultText(2), "Number of detect is over.");
    for (int status : {3, 255, -2}) {
        EXPECT_STREQ(detectResultText(status), "Detetion is failed. Please retly.");
    }
}

TEST(ThresholdScroll, RequestsMoveByLineAndPageClampedOrNotAtAll) {
    struct Case {
        int code, current, thumb;
        std::optional<int> target;
    };
    const Case cases[] = {
        {SB_LINELEFT, 0, 0, 0},
        {SB_LINELEFT, 5, 0, 4},
        {SB_LINERIGHT, 255, 0, 255},
        {SB_PAGELEFT, 5, 0, 0},
        {SB_PAGELEFT, 100, 0, 90},
        {SB_PAGERIGHT, 250, 0, 255},
        {SB_PAGERIGHT, 100, 0, 110},
        {SB_THUMBTRACK, 100, 37, 37},
        {SB_THUMBPOSITION, 100, 200, 200},
        {SB_LEFT, 100, 0, std::nullopt},
        {SB_RIGHT, 100, 0, std::nullopt},
        {SB_ENDSCROLL, 100, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scrollTarget(c.code, c.current, c.thumb, 0, 255), c.target)
            << "code " << c.code << " at " << c.current;
    }
    EXPECT_EQ(scrollCodeForSliderAction(QAbstractSlider::SliderPageStepAdd), SB_PAGERIGHT);
    EXPECT_EQ(scrollCodeForSliderAction(QAbstractSlider::SliderMove), SB_THUMBTRACK);
    EXPECT_EQ(scrollCodeForSliderAction(QAbstractSlider::SliderToMinimum), SB_LEFT);
}
