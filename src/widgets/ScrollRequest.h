#pragma once

#include <optional>

namespace zr::widgets {

// Scroll requests of a horizontal scroll bar, numbered as the window
// handlers of this program know them.
enum ScrollCode : int {
    SB_LINELEFT = 0,
    SB_LINERIGHT = 1,
    SB_PAGELEFT = 2,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_LEFT = 6,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

// The scroll request that a toolkit slider action stands for.
int scrollCodeForSliderAction(int action);

// Where a request moves a scroll bar at `current` within lo..hi: a line is
// 1, a page is 10, both clamped; the thumb requests go to `thumb`. Other
// requests (to either end, end of scroll) move nothing: std::nullopt.
std::optional<int> scrollTarget(int code, int current, int thumb, int lo, int hi);

}  // namespace zr::widgets
