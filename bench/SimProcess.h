#pragma once

#include <string>
#include <vector>

#include "pty/SimProgram.h"

namespace zr::bench {

// The simulated camera program serving a pseudo-terminal, linked as COM1 in
// a port directory of its own. It ends with this object, or when the bench
// dies (its standard input closes).
class SimProcess {
  public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts `program` with `options` and waits until it has linked its port.
    bool start(const std::string& program, std::vector<std::string> options, std::string& error);

    const std::string& portDir() const { return portDir_; }
    static constexpr int kPort = 1;

  private:
    std::string portDir_;
    sim::SimProgram program_;
};

}  // namespace zr::bench
