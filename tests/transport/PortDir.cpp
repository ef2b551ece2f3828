#include "PortDir.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace zr::test {

PortDir::PortDir() {
    char pattern[] = "/tmp/zrk880-ports-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("no temp dir");
    path_ = pattern;
    setenv("ZRK880_PORT_DIR", path_.c_str(), 1);
    for (int n = 1; n <= 10; ++n) link(n, path_ + "/absent");
}

PortDir::~PortDir() {
    unsetenv("ZRK880_PORT_DIR");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string PortDir::entry(int portNumber) const {
    return path_ + "/COM" + std::to_string(portNumber);
}

void PortDir::link(int portNumber, const std::string& target) {
    remove(portNumber);
    if (symlink(target.c_str(), entry(portNumber).c_str()) != 0)
        throw std::runtime_error("symlink failed");
}

void PortDir::remove(int portNumber) {
    ::unlink(entry(portNumber).c_str());
}

std::string PortDir::writeFile(const std::string& name, const std::string& content) {
    const std::string file = path_ + "/" + name;
    std::ofstream(file) << content;
    return file;
}

}  // namespace zr::test
