#pragma once

#include <cstdint>
#include <string>

#include "link/Message.h"

namespace zr {

// The message boxes of opening a transport, in one place so that every route
// words them the same. None has an owner window.
struct OpenMessages {
    static Message portOpenError();
    static Message baudRateUnsupported(const std::string& baudText);
    static Message libraryMissing(const std::string& file);
    static Message functionMissing(const std::string& file, const char* function);
    static Message boardOpenError();
    static Message boardOpenWarning();
    static Message clBoardConnectError();
    static Message alreadyOpen();
    // A network serial port: "Port Open Error: <url> <reason>."
    static Message netPortError(const std::string& url, const std::string& reason);
    // An RFC 2217 server that kept another line speed than the one asked for.
    static Message netBaudRefused(const std::string& baudText, const std::string& url,
                                  uint32_t kept);
};

}  // namespace zr
