#pragma once

#include <string>
#include <vector>

namespace zr::test {

// The result of running a program to its end.
struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program with arguments and extra environment (NAME=VALUE), capturing
// stdout and stderr; kills it after `timeoutMs`.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& env = {}, int timeoutMs = 20000);

// The simulated camera program serving COM<port> in `portDir` until destroyed.
class CamsimProcess {
  public:
    CamsimProcess(const std::string& portDir, int port, const std::vector<std::string>& options);
    ~CamsimProcess();
    bool ready() const { return !slavePath_.empty(); }
    const std::string& slavePath() const { return slavePath_; }

  private:
    int pid_ = -1;
    std::string slavePath_;
};

std::string simDir();   // where the simulated camera was built
std::string cliPath();  // the zrk880ctl program

}  // namespace zr::test
