#pragma once

#include <QPoint>
#include <optional>

#include "params/LutCsv.h"

namespace zr {
class ParamAccess;
}

// Drag editing of the look-up table's curves with the mouse: a press picks the
// nearest editing point, a move drags it on the shown curves, and the release
// sends it with the entries it pulls along toward its neighbours. It works on
// the editor's table and pick, which stay the editor's own fields.
class LutDragEdit {
  public:
    // The editor's fields a drag reads and changes.
    struct Fields {
        zr::LutTable& entries;
        const int (&showChannel)[3];
        const int& step;
        int& selectedIndex;
        int& dragging;
    };

    explicit LutDragEdit(const Fields& fields) : f_(fields) {}

    // A left-button press at client point `pos`: starts a drag, from the
    // nearest editing point or from none.
    void press(QPoint pos);
    // A move to `pos`; false when it changed nothing the plot shows.
    bool move(QPoint pos, bool leftButtonHeld);
    // The value the dragged point takes at `pos`, if a point is dragged and
    // `pos` lies within the plot's values.
    std::optional<int> draggedValue(QPoint pos) const;
    // Ends the drag; nothing is sent.
    void drop();
    // Sets entry a of every shown channel to v, interpolates toward the
    // neighbouring editing points and sends every entry it sets; stops at the
    // first command the link refuses.
    void apply(zr::ParamAccess& params, int a, int v);

  private:
    Fields f_;
};
