#pragma once

#include <string>
#include <vector>

#include "pty/SimProgram.h"

namespace zr::test {

// <build>/camsim, where the simulated library and program are built.
std::string simDir();

// The simulated camera program of this build serving COM<port> in `portDir`
// (its `options` go before the folder and the port) until stopped or
// destroyed.
class CamsimProcess : public sim::SimProgram {
  public:
    CamsimProcess(const std::string& portDir, int port,
                  const std::vector<std::string>& options = {});

    // The program reported its terminal: the COM entry is in place.
    bool ready() const { return !slavePath().empty(); }
};

}  // namespace zr::test
