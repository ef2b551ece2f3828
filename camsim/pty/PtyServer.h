#pragma once

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

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
    // The slave descriptor the server holds: the line settings a user of the
    // port applied can be read through it. -1 once the line is closed.
    int heldSlave() const { return heldSlave_; }

    // Places `<dir>/COM<port>` as a symbolic link to the slave; an old link
    // there is replaced, anything else is refused.
    bool link(const std::string& dir, int port, std::string& error);
    // Removes the link if it still points at this server's slave.
    void unlink();

    // Serves until `stopFd` becomes readable, or, with `watchStdin`, until
    // standard input ends, or until the line is pulled.
    void serve(int stopFd, bool watchStdin);

    // Serves in a thread of its own until stop() (also called on destruction).
    bool start(std::string& error);
    void stop();
    // Closes both of the server's sides, master and held slave: a user of the
    // slave is left on a hung-up terminal, as when an adapter is unplugged.
    // Call with serving stopped, or from the serving thread.
    void closeLine();

    // The model runs on a clock that is not the real one (a test's): look at
    // it at least this often instead of sleeping until its next reply is due.
    void setModelPoll(std::chrono::microseconds every) { modelPoll_ = every; }

    // Pulls the line as soon as the model has taken in the bytes of this read,
    // before it can answer, and ends serving. Safe to call from the model's
    // frame observer (the serving thread).
    void pullAfterThisRead() { pull_.store(true); }
    bool pulled() const { return pulled_.load(); }
    // Nothing on its way in either direction: no byte unread on either side
    // of the line, none held back or being served, no reply held by the model.
    // A pulled line is quiet. Safe from any thread.
    bool quiet();
    // Bytes taken in from the host so far.
    size_t bytesFromHost() const { return fromHost_.load(); }

  private:
    void readMaster();
    void writeMaster();
    void pump();
    bool idle() const;
    std::optional<timespec> pollTimeout() const;

    CameraModel& model_;
    BytePacer inbound_;
    BytePacer outbound_;
    std::string unwritten_;
    // Guards the two descriptors against quiet() while the line is closed;
    // the serving thread alone reads and writes through them otherwise.
    std::mutex fdMutex_;
    int master_ = -1;
    int heldSlave_ = -1;
    std::string slavePath_;
    std::string linkPath_;
    std::optional<std::chrono::microseconds> modelPoll_;
    std::atomic<bool> pull_{false};
    std::atomic<bool> pulled_{false};
    // Bytes taken from the master and not yet all the way through.
    std::atomic<bool> serving_{false};
    std::atomic<size_t> fromHost_{0};
    int stopPipe_[2] = {-1, -1};
    std::thread thread_;
};

}  // namespace zr::sim
