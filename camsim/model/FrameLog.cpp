#include "model/FrameLog.h"

#include <cstdio>

namespace zr::sim {

void appendFrameLog(const std::string& path, const ReceivedFrame& frame) {
    if (path.empty()) return;
    if (FILE* file = std::fopen(path.c_str(), "a")) {
        const bool good = frame.checksumOk && frame.framingOk;
        std::fprintf(file, "%s%s\n", frame.text.c_str(), good ? "" : " BAD");
        std::fclose(file);
    }
}

}  // namespace zr::sim
