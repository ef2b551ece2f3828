#include "BenchSink.h"

#include <cstdio>

namespace zr::bench {

MsgResult BenchSink::show(const Message& message) {
    ++shown_;
    std::fprintf(stderr, "message box: [%s] %s\n", message.caption.c_str(), message.text.c_str());
    return message.buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

}  // namespace zr::bench
