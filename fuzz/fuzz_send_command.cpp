// User text into SendCommand, on a closed link and on a link open to the
// in-process simulated camera. The expected outcome is worked out here from
// the rules for command texts: refused texts show exactly their messages and
// send nothing; an accepted text reaches the camera as exactly the frame the
// rules give, and its exchange ends without a message.
#include <algorithm>
#include <string>

#include "CountingSink.h"
#include "FuzzCheck.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "model/CameraModel.h"
#include "model/FrameCodec.h"
#include "model/SimClSerial.h"
#include "support/ManualClock.h"

namespace {

using zr::fuzz::check;

struct Harness {
    zr::test::ManualClock clock;
    zr::fuzz::CountingSink sink;
    zr::MessageRelay relay{sink};
    zr::sim::CameraModel camera{clock};
    zr::SerialLink closed{relay, clock};
    zr::SerialLink open{relay, clock};

    Harness() {
        zr::sim::attachModel(0, &camera);
        const zr::ClSerialFunctions& fns = zr::sim::inProcessClFunctions();
        void* ref = nullptr;
        check(fns.serialInit(0, &ref) == 0, "the simulated port opens");
        check(open.startOnBoardPort(fns, ref), "the link starts");
        open.clearWaitingFlags();
    }

    void waitIdle() {
        while (open.inExchange()) {
            relay.servePending();
            clock.sleepMs(1);
        }
        relay.servePending();
    }
};

Harness& harness() {
    static Harness h;
    return h;
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool commandChar(char c) {
    const auto s = static_cast<signed char>(c);
    return s >= '0' && s <= 'F';
}

// The frame the rules give, built by the simulated camera's own codec (not
// the link's): the first ten characters upper-cased, padded with '0'.
std::string expectedFrame(std::string text) {
    text.resize(std::min<size_t>(text.size(), 10));
    for (char& c : text) c = upper(c);
    return zr::sim::commandFrame(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Harness& h = harness();
    const std::string text(reinterpret_cast<const char*>(data), size);

    h.sink.clear();
    check(h.closed.SendCommand(text) == 1, "a closed link refuses");
    check(h.sink.total() == 1 && h.sink.count("PORT isn't open.") == 1, "one closed-port box");

    size_t bad = 0;
    for (size_t i = 0; i < text.size() && i < 256; ++i) bad += commandChar(upper(text[i])) ? 0 : 1;

    h.sink.clear();
    h.camera.clearLog();
    const int result = h.open.SendCommand(text);
    h.waitIdle();
    const int characterBoxes = h.sink.count("Character error.");
    if (text.empty()) {
        check(result == 1 && h.sink.total() == 0, "an empty text is refused silently");
    } else if (bad > 0) {
        check(result == 1, "a bad character refuses the text");
        check(characterBoxes >= 1 && static_cast<size_t>(characterBoxes) <= bad,
              "one box per bad character");
        check(h.sink.total() == characterBoxes, "only character boxes");
    } else if (text.size() < 4 || text.size() >= 256) {
        check(result == 1, "a short text is refused");
        check(h.sink.total() == 1 && h.sink.count("Command Length error.") == 1, "one length box");
    } else {
        check(result == 0, "a good text is accepted");
        check(h.sink.total() == 0, "a good exchange shows nothing");
    }
    const auto frames = h.camera.frames();
    if (result == 0) {
        check(frames.size() == 1, "an accepted text sends one frame");
        check(frames[0].bytes == expectedFrame(text), "the frame is built by the rules");
    } else {
        check(frames.empty(), "a refused text sends nothing");
    }
    return 0;
}
