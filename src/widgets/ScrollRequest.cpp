#include "widgets/ScrollRequest.h"

#include <QAbstractSlider>
#include <algorithm>

namespace zr::widgets {

int scrollCodeForSliderAction(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return SB_LINELEFT;
        case QAbstractSlider::SliderSingleStepAdd:
            return SB_LINERIGHT;
        case QAbstractSlider::SliderPageStepSub:
            return SB_PAGELEFT;
        case QAbstractSlider::SliderPageStepAdd:
            return SB_PAGERIGHT;
        case QAbstractSlider::SliderToMinimum:
            return SB_LEFT;
        case QAbstractSlider::SliderToMaximum:
            return SB_RIGHT;
        case QAbstractSlider::SliderMove:
            return SB_THUMBTRACK;
        default:
            return SB_ENDSCROLL;
    }
}

std::optional<int> scrollTarget(int code, int current, int thumb, int lo, int hi) {
    switch (code) {
        case SB_LINELEFT:
            return std::clamp(current - 1, lo, hi);
        case SB_LINERIGHT:
            return std::clamp(current + 1, lo, hi);
        case SB_PAGELEFT:
            return std::clamp(current - 10, lo, hi);
        case SB_PAGERIGHT:
            return std::clamp(current + 10, lo, hi);
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            return thumb;
        default:
            return std::nullopt;
    }
}

}  // namespace zr::widgets
