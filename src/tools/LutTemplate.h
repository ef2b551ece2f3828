#pragma once

#include "widgets/ControlEntry.h"

// Template 130, the look-up table editor's controls with their ids, captions
// and places in dialog units, for the window builder.
const zr::widgets::WindowTable& lutTemplate();
