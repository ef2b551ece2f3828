#include "link/ComPortResolver.h"

#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "link/NetUrl.h"

namespace zr {

namespace {

std::string envValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string homeDir() {
    std::string home = envValue("HOME");
    if (!home.empty()) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        return found->pw_dir;
    return {};
}

std::string deviceBehind(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved)) return resolved;
    // A link to nothing: show where it points.
    char target[PATH_MAX];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    if (n > 0) return std::string(target, static_cast<size_t>(n));
    return path;
}

// The URL a port directory entry holds when it is a small text file rather
// than a link to a device; empty otherwise.
std::string netUrlIn(const std::string& entry, const struct stat& info) {
    constexpr off_t kMaxUrlFile = 1024;
    if (!S_ISREG(info.st_mode) || info.st_size > kMaxUrlFile) return {};
    std::ifstream file(entry);
    std::string text;
    std::getline(file, text);
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    size_t start = 0;
    while (start < text.size() && blank(text[start])) ++start;
    text.erase(0, start);
    return hasNetScheme(text) ? text : std::string();
}

}  // namespace

ComPortResolver::ComPortResolver(std::string portDir) : portDir_(std::move(portDir)) {}

ComPortResolver ComPortResolver::fromEnvironment() {
    return ComPortResolver(portDirFromEnvironment());
}

std::string ComPortResolver::portDirFromEnvironment() {
    std::string dir = envValue("ZRK880_PORT_DIR");
    if (!dir.empty()) return dir;
    std::string config = envValue("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (config.empty() || config.front() != '/') {
        const std::string home = homeDir();
        if (home.empty()) return {};
        config = home + "/.config";
    }
    return config + "/ZR_K880TM_Control/ports";
}

std::string ComPortResolver::builtInDevice(int portNumber) {
    if (portNumber >= 1 && portNumber <= 4) return "/dev/ttyS" + std::to_string(portNumber - 1);
    if (portNumber >= 5 && portNumber <= 8) return "/dev/ttyUSB" + std::to_string(portNumber - 5);
    if (portNumber >= 9 && portNumber <= 10) return "/dev/ttyACM" + std::to_string(portNumber - 9);
    return {};
}

ComPortResolver::Location ComPortResolver::locate(int portNumber) const {
    Location location;
    if (portNumber < 1) return location;
    if (!portDir_.empty()) {
        const std::string entry = portDir_ + "/COM" + std::to_string(portNumber);
        struct stat info {};
        // lstat: a dangling link is still an entry, and it hides the default.
        if (lstat(entry.c_str(), &info) == 0) {
            const std::string url = netUrlIn(entry, info);
            if (!url.empty()) {
                location.path = url;
                location.device = url;
                location.fromPortDir = true;
                return location;
            }
            location.path = entry;
            location.device = deviceBehind(entry);
            location.fromPortDir = true;
            return location;
        }
    }
    location.path = builtInDevice(portNumber);
    location.device = location.path;
    return location;
}

std::string comPortDevice(int portNumber) {
    return ComPortResolver::fromEnvironment().locate(portNumber).device;
}

}  // namespace zr
