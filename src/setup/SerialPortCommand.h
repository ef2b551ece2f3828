#pragma once

#include "setup/SetupContext.h"

namespace zr {

// The panel's Serial Port command: runs the setup dialog and opens or closes
// the link as chosen; reads the camera after a successful opening.
class SerialPortCommand {
  public:
    static void run(const SetupContext& context);
};

}  // namespace zr
