#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace zr::test {

// <build>/camsim, where the simulated library and program are built.
std::string simDir();

// The simulated camera program serving COM<port> in `portDir` (its `options`
// go before the folder and the port) until stopped or destroyed. Its standard
// input is a pipe held here, so with --stdin-eof it also ends with the test.
class CamsimProcess {
  public:
    CamsimProcess(const std::string& portDir, int port,
                  const std::vector<std::string>& options = {});
    ~CamsimProcess();
    CamsimProcess(const CamsimProcess&) = delete;
    CamsimProcess& operator=(const CamsimProcess&) = delete;

    // The program reported its terminal: the COM entry is in place.
    bool ready() const { return !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }
    pid_t pid() const { return pid_; }
    // Sends `sig` (none when 0) and returns the exit status, or -1.
    int stop(int sig = SIGTERM);
    void closeStdin();

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    int stdin_ = -1;
    std::string slavePath_;
};

}  // namespace zr::test
