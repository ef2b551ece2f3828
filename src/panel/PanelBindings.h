#pragma once

#include <span>

namespace zr::panel {

// A radio button writes `value` into table row `row` when clicked. The
// buttons of one row form one exclusive group.
struct RadioBinding {
    int id;
    int row;
    int value;
};

// A scroll bar writes its position into table row `row`; `readoutId` shows it.
struct ScrollBinding {
    int id;
    int row;
    int readoutId;
};

// The one description of what every bound control sends.
std::span<const RadioBinding> radioBindings();
std::span<const ScrollBinding> scrollBindings();

const RadioBinding* findRadio(int id);
const ScrollBinding* findScroll(int id);

}  // namespace zr::panel
