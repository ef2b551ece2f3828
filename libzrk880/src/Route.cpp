#include "Route.h"

#include <charconv>

#include "link/ComPort.h"

namespace zr::lib {

namespace {

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

bool parseRoute(std::string_view text, Route& route, std::string& error) {
    if (text.empty()) {
        error = "the route is empty (a COM port, a device path, clall:N or cllib:FILE)";
        return false;
    }
    if (ComPortNumber(text) != 0) {
        route = {Route::Kind::ComPort, std::string(text), 0};
        return true;
    }
    if (text == "clall" || text.rfind("clall:", 0) == 0) {
        route = {Route::Kind::ClAll, {}, 0};
        if (text.size() > 6) {
            const std::string_view digits = text.substr(6);
            const auto [end, ec] =
                std::from_chars(digits.data(), digits.data() + digits.size(), route.index);
            if (ec != std::errc() || end != digits.data() + digits.size()) {
                error = "\"" + std::string(text) + "\" is not a serial index (clall:N)";
                return false;
            }
        }
        return true;
    }
    if (text.rfind("cllib:", 0) == 0) {
        if (text.size() == 6) {
            error = "cllib: needs the library file";
            return false;
        }
        route = {Route::Kind::ClLib, std::string(text.substr(6)), 0};
        return true;
    }
    if (endsWith(text, ".so") || endsWith(text, ".dll") ||
        text.find(".so.") != std::string_view::npos) {
        route = {Route::Kind::ClLib, std::string(text), 0};
        return true;
    }
    route = {Route::Kind::Device, std::string(text), 0};
    return true;
}

}  // namespace zr::lib
