#pragma once

#include <cstdint>
#include <string>

#include "model/CameraModel.h"
#include "model/FrameCodec.h"
#include "support/ManualClock.h"

inline const std::string kAck(1, '\x06');
inline const std::string kNak(1, '\x15');

// A model on a test clock, with helpers that speak to it as the host does.
struct ModelHarness {
    zr::test::ManualClock clock{1000};
    zr::sim::CameraModel model{clock};

    void send(const std::string& bytes) {
        model.hostWrite(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    void command(const std::string& text) { send(zr::sim::commandFrame(text)); }
    // One read of at most `max` bytes.
    std::string read(size_t max = 100) {
        std::string out(max, '\0');
        out.resize(model.hostRead(reinterpret_cast<uint8_t*>(out.data()), max));
        return out;
    }
    // Everything due now, read by read.
    std::string readAll() {
        std::string all;
        for (std::string piece = read(); !piece.empty(); piece = read()) all += piece;
        return all;
    }
    // Writes `text`, takes the ACK and the answer, acknowledges it, and
    // returns the answer's three data bytes (or -1 when there was none).
    int64_t readRegister(const std::string& text) {
        command(text);
        const std::string reply = readAll();
        if (reply.size() != 11 || reply[0] != zr::sim::ACK) return -1;
        send(std::string(1, static_cast<char>(zr::sim::ACK)));
        return std::stoll(reply.substr(2, 6), nullptr, 16);
    }
};
