#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "model/CameraModel.h"
#include "pty/BytePacer.h"

namespace zr::sim {

// Serves a camera model on the master side of a pseudo-terminal. The line
// settings belong to the slave side and are never touched here. A slave
// descriptor is held open for the server's lifetime, so the master never sees
// a hang-up between two users of the port.
class PtyServer {
  public:
    PtyServer(CameraModel& model, uint32_t paceBaud);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    bool open(std::string& error);
    const std::string& slavePath() const { return slavePath_; }

    // Places `<dir>/COM<port>` as a symbolic link to the slave; an old link
    // there is replaced, anything else is refused.
    bool link(const std::string& dir, int port, std::string& error);
    // Removes the link if it still points at this server's slave.
    void unlink();

    // Serves until `stopFd` becomes readable, or, with `watchStdin`, until
    // standard input ends.
    void serve(int stopFd, bool watchStdin);

  private:
    void readMaster();
    void writeMaster();
    void pump();
    std::optional<timespec> pollTimeout() const;

    CameraModel& model_;
    BytePacer inbound_;
    BytePacer outbound_;
    std::string unwritten_;
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

}  // namespace zr::sim
