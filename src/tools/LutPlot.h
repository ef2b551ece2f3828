#pragma once

#include <QImage>
#include <QRect>
#include <array>

#include "params/LutCsv.h"

// What the look-up table plot shows.
struct LutPlotState {
    const zr::LutTable* entries = nullptr;
    std::array<int, 3> showChannel{1, 1, 1};
    int step = 16;
    bool dragging = false;
    int selectedIndex = 256;
};

// Draws the look-up table plot: entry index i at x = 40 + i, value v at
// y = 271 - v inside an image of 320 x 290 pixels, which the editor copies to
// its client area at (10, 10).
class LutPlot {
  public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 290;
    static constexpr int kLeft = 10;  // where the image goes in the client area
    static constexpr int kTop = 10;

    static QImage render(const LutPlotState& state);
    // The client rectangle a redraw invalidates: left 10, top 10, right 320,
    // bottom 290 (right and bottom exclusive).
    static QRect redrawRect() { return QRect(QPoint(10, 10), QPoint(319, 289)); }
};
