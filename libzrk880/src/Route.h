#pragma once

#include <string>
#include <string_view>

namespace zr::lib {

// How a camera is reached, from the route text a caller opens it with.
struct Route {
    enum class Kind { ComPort, Device, ClAll, ClLib };
    Kind kind = Kind::ComPort;
    std::string target;  // "COM3", a device path or a library file
    unsigned index = 0;  // the common library's serial index
};

// "COMn", "clall[:N]", "cllib:FILE", a file ending in .so or .dll, or a
// device path. False with `error` set for an empty or malformed route.
bool parseRoute(std::string_view text, Route& route, std::string& error);

}  // namespace zr::lib
