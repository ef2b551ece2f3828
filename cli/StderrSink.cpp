#include "StderrSink.h"

#include <string>

namespace zr::cli {

namespace {

// Captions such as "NO RESPONSE " carry a trailing blank; keep the text, drop it in the prefix.
std::string prefix(const std::string& caption) {
    size_t end = caption.find_last_not_of(' ');
    return end == std::string::npos ? std::string("message") : caption.substr(0, end + 1);
}

}  // namespace

MsgResult StderrSink::show(const Message& m) {
    if (m.buttons == MsgButtons::YesNo) {
        std::fprintf(out_, "%s: %s %s\n", prefix(m.caption).c_str(), m.text.c_str(),
                     assumeYes_ ? "yes (--yes)" : "no (give --yes to confirm)");
        std::fflush(out_);
        return assumeYes_ ? MsgResult::Yes : MsgResult::No;
    }
    ++failures_;
    std::fprintf(out_, "%s: %s\n", prefix(m.caption).c_str(), m.text.c_str());
    std::fflush(out_);
    return MsgResult::Ok;
}

}  // namespace zr::cli
