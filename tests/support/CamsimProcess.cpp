#include "support/CamsimProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zr::test {

std::string simDir() {
    const char* dir = std::getenv("ZR_SIM_DIR");
    if (dir && *dir) return dir;
    ADD_FAILURE() << "ZR_SIM_DIR is not set";
    return "/nonexistent";
}

CamsimProcess::CamsimProcess(const std::string& portDir, int port,
                             const std::vector<std::string>& options) {
    // A program that does not start shows as not ready().
    std::string error;
    start(simDir() + "/zrk880_camsim", options, portDir, port, error);
}

}  // namespace zr::test
