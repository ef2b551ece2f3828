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
// and lets the test look at the line settings the link applied. Used by the
// transport tests and the fault runs.
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
    // Pulls the line (as a USB adapter is) as soon as the camera has taken in
    // the bytes of this read, before it can answer. Safe to call from the
    // camera's frame observer (the serving thread).
    void pullAfterThisRead() { server_.pullAfterThisRead(); }
    bool pulled() const { return server_.pulled(); }
    // Nothing on its way in either direction (see PtyServer::quiet). Safe
    // from the link's worker while the line is being pulled.
    bool quiet() { return server_.quiet(); }

  private:
    sim::PtyServer server_;
};

}  // namespace zr::test
