#pragma once

#include <string>

#include "model/CameraModel.h"
#include "pty/PtyServer.h"

namespace zr::test {

// The simulated camera behind a real pseudo-terminal: the test opens the slave
// side (through a COMn entry) as its COM port, the simulator's server serves
// the model on the master side in a thread of its own. The line settings
// belong to the slave; the master never touches them. The server's held slave
// keeps the master from seeing a hang-up while the link has the port closed,
// and lets the test look at the line settings the link applied.
class PtyCamera {
  public:
    explicit PtyCamera(sim::CameraModel& model);

    const std::string& slavePath() const { return server_.slavePath(); }
    int spareSlave() const { return server_.heldSlave(); }
    // The device disappears: serving stops and both of our sides close, so the
    // link's descriptor is left on a hung-up terminal.
    void vanish();
    // Bytes moved host -> camera so far.
    size_t bytesFromHost() const { return server_.bytesFromHost(); }

  private:
    sim::PtyServer server_;
};

}  // namespace zr::test
