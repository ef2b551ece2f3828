#pragma once

#include <unistd.h>

#include <cstdlib>
#include <string>

// Where the simulator's program and libraries are built: ZR_SIM_DIR (set by
// ctest), else <build>/camsim beside this test's <build>/tests.
inline std::string simDir() {
    if (const char* dir = std::getenv("ZR_SIM_DIR")) return dir;
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "camsim";
    std::string path(self, static_cast<size_t>(n));
    path = path.substr(0, path.rfind('/'));  // <build>/tests
    return path.substr(0, path.rfind('/')) + "/camsim";
}
