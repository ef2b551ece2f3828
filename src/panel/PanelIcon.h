#pragma once

#include <QIcon>

namespace zr::panel {

// The program's icon (resource 128): the packaged picture when it is linked
// in, else the application's window icon, else a drawn camera lens.
QIcon panelIcon();

}  // namespace zr::panel
