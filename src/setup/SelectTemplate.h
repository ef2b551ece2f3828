#pragma once

#include "widgets/ControlEntry.h"

namespace zr {

// Template 132, the setup dialog's controls with their ids, captions and
// places in dialog units, for the window builder.
const widgets::WindowTable& selectTemplate();

}  // namespace zr
