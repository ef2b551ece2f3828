#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace zr::sim {

// The simulated camera program run as a child process, serving COM<port> in a
// port folder. Its standard input is a pipe held here, so with --stdin-eof it
// also ends when whoever started it dies. Stopped when destroyed.
class SimProgram {
  public:
    SimProgram() = default;
    ~SimProgram();
    SimProgram(const SimProgram&) = delete;
    SimProgram& operator=(const SimProgram&) = delete;

    // Starts `program` with `options`, then `portDir` and `port`, and waits
    // until it prints its terminal's path: its COM entry is in place then.
    // False, with `error` set, when it cannot start or does not report.
    bool start(const std::string& program, const std::vector<std::string>& options,
               const std::string& portDir, int port, std::string& error);

    const std::string& slavePath() const { return slavePath_; }
    pid_t pid() const { return pid_; }
    // Sends `sig` (none when 0), waits for the end and returns the exit
    // status, or -1.
    int stop(int sig = SIGTERM);
    void closeStdin();

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int stdin_ = -1;
    std::string slavePath_;
};

}  // namespace zr::sim
