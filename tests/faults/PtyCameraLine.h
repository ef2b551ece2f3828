#pragma once

#include <string>

#include "model/CameraModel.h"
#include "pty/PtyServer.h"

namespace zr::test {

// The simulated camera behind a real pseudo-terminal, served by the
// simulator's server in a thread of its own. The line can be pulled (as a USB
// adapter is): the master side and the held slave close, so the link's
// descriptor sees a hang-up.
class PtyCameraLine {
  public:
    explicit PtyCameraLine(sim::CameraModel& camera);

    const std::string& slavePath() const { return server_.slavePath(); }
    // Pulls the line as soon as the camera has taken in the bytes of this
    // read, before it can answer. Safe to call from the camera's frame
    // observer (the serving thread).
    void pullAfterThisRead() { server_.pullAfterThisRead(); }
    bool pulled() const { return server_.pulled(); }
    // Nothing on its way in either direction (see PtyServer::quiet). Safe
    // from the link's worker while the line is being pulled.
    bool quiet() { return server_.quiet(); }

  private:
    sim::PtyServer server_;
};

}  // namespace zr::test
