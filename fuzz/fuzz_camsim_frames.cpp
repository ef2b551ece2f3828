// Host bytes into the simulated camera, in pieces of any size: its frame
// parser and everything a frame makes the camera do. Whatever arrives, the
// camera answers only with ACK, NAK and well-formed answer frames, logs only
// whole frames, and its parser hands out only 18-byte frames.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "FuzzCheck.h"
#include "model/CameraModel.h"
#include "model/CommandFrameParser.h"
#include "model/FrameCodec.h"
#include "support/ManualClock.h"

namespace {

using zr::fuzz::check;

// Reply bytes: ACK, NAK or an answer frame (STX, six digits, ETX, checksum).
void checkReplies(const std::string& replies) {
    for (size_t i = 0; i < replies.size();) {
        const auto byte = static_cast<uint8_t>(replies[i]);
        if (byte == zr::sim::ACK || byte == zr::sim::NAK) {
            ++i;
            continue;
        }
        check(byte == zr::sim::STX, "a reply is ACK, NAK or an answer frame");
        check(i + zr::sim::kAnswerFrameSize <= replies.size(), "answer frames come whole");
        const auto* frame = reinterpret_cast<const uint8_t*>(replies.data() + i);
        check(frame[7] == zr::sim::ETX, "the answer's end byte");
        check(replies.compare(i + 8, 2, zr::sim::hexByte(zr::sim::frameChecksum(frame, 8))) == 0,
              "the answer's checksum");
        i += zr::sim::kAnswerFrameSize;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    zr::test::ManualClock clock;
    zr::sim::CameraModel camera(clock);
    zr::sim::CommandFrameParser parser;
    std::string replies;
    size_t fed = 0;

    while (input.remaining_bytes() > 0) {
        const auto chunk = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(1, 40));
        for (const uint8_t byte : chunk) {
            if (auto frame = parser.feed(byte)) {
                check(frame->bytes.size() == zr::sim::kCommandFrameSize, "frames are 18 bytes");
                check(static_cast<uint8_t>(frame->bytes[0]) == zr::sim::STX, "frames start at STX");
                check(frame->text == frame->bytes.substr(5, 10), "the text is bytes 5..14");
            }
        }
        camera.hostWrite(chunk.data(), chunk.size());
        fed += chunk.size();
        // Let time pass so that delayed work (detection, adjustment) is due.
        clock.sleepMs(input.ConsumeIntegralInRange<uint32_t>(0, 400));
        uint8_t buffer[64];
        for (size_t n; (n = camera.hostRead(buffer, sizeof buffer)) > 0;)
            replies.append(reinterpret_cast<char*>(buffer), n);
    }
    checkReplies(replies);
    for (const auto& frame : camera.frames())
        check(frame.bytes.size() == zr::sim::kCommandFrameSize, "logged frames are whole");
    check(camera.frames().size() <= fed / zr::sim::kCommandFrameSize, "no frame from nothing");
    return 0;
}
