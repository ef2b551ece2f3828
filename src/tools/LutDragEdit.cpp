#include "tools/LutDragEdit.h"

#include <algorithm>

#include "params/LutRegisters.h"
#include "params/ParamAccess.h"

void LutDragEdit::press(QPoint pos) {
    const int x = pos.x();
    const int u = 281 - pos.y();
    f_.dragging = 1;
    // A press starts from no pick: a release swallowed by a modal box elsewhere
    // must not leave an old point for this press to drag.
    f_.selectedIndex = 256;
    int best = 0x20000;
    // The nearest editing point within a squared distance below 15, on any
    // curve, shown or not; equally near points: the first found wins. An end
    // entry does not lower `best`, so a later, nearer-than-the-rest point can
    // still take its place.
    for (int c = 0; c < 3; ++c) {
        const auto& e = f_.entries[c];
        for (int i = 0; i < 256; i += f_.step) {
            const int d = (x - 50 - i) * (x - 50 - i) + (u - e[i]) * (u - e[i]);
            if (d < best) {
                best = d;
                if (d < 15) f_.selectedIndex = i;
            }
        }
        const int d = (x - 305) * (x - 305) + (u - e[255]) * (u - e[255]);
        if (d < best && d < 15) f_.selectedIndex = 255;
    }
}

bool LutDragEdit::move(QPoint pos, bool leftButtonHeld) {
    if (f_.dragging && !leftButtonHeld) {
        // The button-up went to a modal box: the drag is over, nothing was sent.
        drop();
        return true;
    }
    const std::optional<int> v = draggedValue(pos);
    if (!v) return false;
    for (int c = 0; c < 3; ++c) {
        if (f_.showChannel[c]) f_.entries[c][f_.selectedIndex] = *v;
    }
    return true;
}

std::optional<int> LutDragEdit::draggedValue(QPoint pos) const {
    const int y = pos.y();
    if (!f_.dragging || f_.selectedIndex < 0 || f_.selectedIndex > 255 || y < 26 || y > 281)
        return std::nullopt;
    return 281 - y;
}

void LutDragEdit::drop() {
    f_.dragging = 0;
    f_.selectedIndex = 256;
}

void LutDragEdit::apply(zr::ParamAccess& params, int a, int v) {
    if (a < 0 || a > 255) return;
    const int& step = f_.step;  // the editor's own, read at each use
    for (int c = 0; c < 3; ++c) {
        if (!f_.showChannel[c]) continue;
        auto& e = f_.entries[c];
        e[a] = v;
        if (params.WriteCommandText(zr::lutWriteText(c, a, v)) != 0) return;
        const int r = std::min(a + step, 255);
        // A point is always a multiple of the step, but a step changed by
        // keyboard mid-drag must not reach in front of the table.
        const int dL = a > 0 ? v - e[std::max(a - step, 0)] : 0;
        const int dR = v - e[r];
        const int sR = r == 255 ? 255 - a : step;
        for (int j = 1; j < step; ++j) {
            if (a - j >= 0) {
                const int w = v - (dL * j / step);
                if (params.WriteCommandText(zr::lutWriteText(c, a - j, w)) != 0) return;
                e[a - j] = w;
            }
            if (a + j < 255) {
                const int w = v - (dR * j / sR);
                if (params.WriteCommandText(zr::lutWriteText(c, a + j, w)) != 0) return;
                e[a + j] = w;
            }
        }
    }
}
