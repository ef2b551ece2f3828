#include "SimProcess.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zr::bench {

bool SimProcess::start(const std::string& program, std::vector<std::string> options,
                       std::string& error) {
    char dirTemplate[] = "/tmp/zrk880-bench-XXXXXX";
    if (!::mkdtemp(dirTemplate)) {
        error = std::string("mkdtemp: ") + std::strerror(errno);
        return false;
    }
    portDir_ = dirTemplate;
    options.push_back("--stdin-eof");
    return program_.start(program, options, portDir_, kPort, error);
}

SimProcess::~SimProcess() {
    // The camera goes before its port folder.
    program_.stop();
    if (!portDir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(portDir_, ec);
    }
}

}  // namespace zr::bench
