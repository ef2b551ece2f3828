#include "link/OpenMessages.h"

namespace zr {

namespace {

Message box(std::string text, const char* caption, MsgIcon icon) {
    return {std::move(text), caption, icon};
}

}  // namespace

Message OpenMessages::portOpenError() {
    return box("Port Open Error", "Error", MsgIcon::Error);
}

Message OpenMessages::baudRateUnsupported(const std::string& baudText) {
    return box("Baud rate \"" + baudText + "\" is not supported.", "Error", MsgIcon::Error);
}

Message OpenMessages::libraryMissing(const std::string& file) {
    return box(file + " does not exist.", "Error", MsgIcon::None);
}

Message OpenMessages::functionMissing(const std::string& file, const char* function) {
    return box(file + " cannot be used: it has no function " + function + ".", "Error",
               MsgIcon::Error);
}

Message OpenMessages::boardOpenError() {
    return box("Board Open Error", "Error", MsgIcon::Error);
}

Message OpenMessages::boardOpenWarning() {
    return box("Board Open Warning", "Warning", MsgIcon::Error);
}

Message OpenMessages::clBoardConnectError() {
    return box("CL Board Connect Error", "Error", MsgIcon::Error);
}

Message OpenMessages::netPortError(const std::string& url, const std::string& reason) {
    return box("Port Open Error: " + url + " " + reason + ".", "Error", MsgIcon::Error);
}

Message OpenMessages::netBaudRefused(const std::string& baudText, const std::string& url,
                                     uint32_t kept) {
    return box("Baud rate \"" + baudText + "\" is not supported by " + url + " (it kept " +
                   std::to_string(kept) + ").",
               "Error", MsgIcon::Error);
}

Message OpenMessages::alreadyOpen() {
    return box("PORT is already open. Close it first.", "Port ERROR", MsgIcon::Error);
}

}  // namespace zr
