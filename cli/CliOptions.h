#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zr::cli {

// How the tool reaches the camera, as the setup dialog offers it.
enum class Route { None, ComPort, Device, ClAll, ClLib };

struct CliOptions {
    Route route = Route::None;
    std::string port;      // "COM3" for --port
    std::string device;    // a tty path for --device, a URL for --url
    std::string library;   // a maker's library for --cl-lib
    unsigned clIndex = 0;  // serial index for --cl-all
    int baud = 9600;
    bool yes = false;
    bool verbose = false;
    bool help = false;
    bool version = false;
    std::string command;
    std::vector<std::string> args;
};

// Parses the command line; false with a message on bad usage.
bool parseCliOptions(int argc, const char* const* argv, CliOptions& options, std::string& error);

extern const char* const kUsage;

// A decimal whole number that is the whole of `s`.
bool parseInt(std::string_view s, long long& out);

}  // namespace zr::cli
