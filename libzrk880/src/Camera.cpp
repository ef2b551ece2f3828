#include "Camera.h"

#include <algorithm>

#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/FrameCodec.h"
#include "link/OpenMessages.h"
#include "link/SystemClock.h"

namespace zr::lib {

namespace {

bool isCommandRegister(int row) {
    return row == ROW_MEMORY_LOAD || row == ROW_MEMORY_SAVE || row == ROW_FACTORY_SETTING;
}

// The kind of failure a message box of the core stands for.
int codeFor(const Message& m) {
    if (m.caption == "Send error") return ZRK880_ERR_RANGE;
    if (m.caption == "Command ERROR") return ZRK880_ERR_INPUT;
    return ZRK880_ERR_LINK;
}

}  // namespace

Camera::Camera()
    : relay_(sink_, MessageRelay::Delivery::Direct),
      link_(relay_, SystemClock::instance()),
      params_(link_),
      bulk_(params_) {
    // Installed for the link's life; the relay decodes only while the caller
    // has a trace callback set.
    link_.setTrace([this](const TraceEvent& event) { trace_.onEvent(event); });
}

Camera::~Camera() {
    close();
}

template <class Operation>
ApiError Camera::run(Operation&& operation) {
    std::lock_guard lock(callMutex_);
    sink_.clear();
    ApiError result = operation();
    // A write's ACK, or its time-out, comes after the link took the frame.
    link_.waitUntilIdle();
    trace_.flush();
    return settle(std::move(result));
}

// A failure the core reported wins over the operation's own words: it is the
// box the panel would show. A cancelled walk or a refused input stays what it is.
ApiError Camera::settle(ApiError result) {
    if (result.code != ZRK880_OK && result.code != ZRK880_ERR_LINK) return result;
    if (const auto failure = sink_.firstFailure()) return apiFail(codeFor(*failure), failure->text);
    return result;
}

ApiError Camera::open(const Route& route, int baud) {
    std::lock_guard lock(callMutex_);
    sink_.clear();
    const std::string baudText = std::to_string(baud);
    switch (route.kind) {
        case Route::Kind::ComPort:
            OpenComPort(link_, route.target + " " + baudText);
            break;
        case Route::Kind::Device:
            OpenComDevice(link_, route.target, baudText);
            break;
        case Route::Kind::ClLib:
            OpenBoardLibrary(link_, route.target);
            break;
        case Route::Kind::ClAll:
            // The common library takes the speeds it has a bit for; any
            // other would silently become 115200.
            if (baud != 115200 && clBaudBitFor(baud) == CL_BAUDRATE_115200)
                return apiFail(ZRK880_ERR_PORT, OpenMessages::baudRateUnsupported(baudText).text);
            OpenClAllSerial(link_, clBaudBitFor(baud), route.index);
            break;
    }
    const auto failure = sink_.firstFailure();
    if (link_.isOpen() && !failure && trace_.waitOpened()) return apiOk();
    // A port opened at another speed than asked for is not the camera the
    // caller meant to reach.
    link_.CloseLink();
    return apiFail(ZRK880_ERR_PORT, failure ? failure->text : "Port Open Error");
}

void Camera::close() {
    std::lock_guard lock(callMutex_);
    link_.waitUntilIdle();
    link_.CloseLink();
}

ApiError Camera::get(int row, int32_t& value) {
    return run([&] {
        if (params_.ReadParam(row, value) != 0) return apiFail(ZRK880_ERR_LINK, "the read failed");
        return apiOk();
    });
}

ApiError Camera::set(int row, int32_t value) {
    return run([&] {
        if (params_.WriteParam(row, value) != 0)
            return apiFail(ZRK880_ERR_LINK, "the write was refused");
        return apiOk();
    });
}

ApiError Camera::command(const std::string& text, AnswerBytes& answer, bool& answered) {
    answered = false;
    return run([&] {
        // The first digit's top bit marks a read, as on the wire.
        if (!expectsAnswer(text[0])) {
            if (params_.WriteCommandText(text) != 0)
                return apiFail(ZRK880_ERR_LINK, "the command was refused");
            return apiOk();
        }
        if (params_.ReadRegister(text, answer) != 1)
            return apiFail(ZRK880_ERR_LINK, "the read failed");
        answered = true;
        return apiOk();
    });
}

ApiError Camera::identity(CameraIdentity& identity) {
    return run([&] {
        identity = CameraIdentity::read(params_);
        if (!identity.vendor || !identity.model || !identity.cpuVersion || !identity.fpgaVersion ||
            !identity.serialNumber)
            return apiFail(ZRK880_ERR_LINK, "the read failed");
        return apiOk();
    });
}

ApiError Camera::snapshot(SettingsFile::Format format, std::string& text) {
    return run([&] {
        std::vector<SettingsEntry> entries;
        for (int row = 0; row < UserParamCount; ++row) {
            int32_t value = 0;
            if (params_.ReadParam(row, value) != 0)
                return apiFail(ZRK880_ERR_LINK, "the read failed");
            entries.push_back({row, value});
        }
        text = SettingsFile::format(entries, format);
        return apiOk();
    });
}

ApiError Camera::restore(std::vector<SettingsEntry> entries, int& written) {
    written = 0;
    // The order of the panel's write walk; command registers are never written.
    std::sort(entries.begin(), entries.end(),
              [](const SettingsEntry& a, const SettingsEntry& b) { return a.row < b.row; });
    return run([&] {
        for (const SettingsEntry& e : entries) {
            if (isCommandRegister(e.row)) continue;
            if (params_.WriteParam(e.row, e.value) != 0)
                return apiFail(ZRK880_ERR_LINK, "the write was refused");
            ++written;
        }
        return apiOk();
    });
}

ApiError Camera::compare(const std::vector<SettingsEntry>& entries,
                         std::vector<SettingDifference>& differences) {
    differences.clear();
    return run([&] {
        for (const SettingsEntry& e : entries) {
            // What restore never writes is no difference it could mend: a
            // dump holds the memory last loaded, which differs from camera
            // to camera after a restore.
            if (isCommandRegister(e.row)) continue;
            int32_t camera = 0;
            if (params_.ReadParam(e.row, camera) != 0)
                return apiFail(ZRK880_ERR_LINK, "the read failed");
            if (camera != e.value) differences.push_back({e.row, camera, e.value});
        }
        return apiOk();
    });
}

ApiError Camera::loadMemory(int memory) {
    return run([&] {
        bulk_.LoadMemory(memory);
        return apiOk();
    });
}

ApiError Camera::saveMemory(int memory) {
    return run([&] {
        bulk_.SaveMemory(memory);
        return apiOk();
    });
}

ApiError Camera::factorySetting() {
    return run([&] {
        bulk_.FactorySetting();
        return apiOk();
    });
}

// The editor's words for a walk that did not end.
ApiError Camera::lutOutcome(const LutWalkResult& walk, bool read) {
    switch (walk.outcome) {
        case LutWalkResult::Outcome::Done:
            return apiOk();
        case LutWalkResult::Outcome::Failed:
            return apiFail(ZRK880_ERR_LINK, read ? "Failed to get LUT" : "Failed to write LUT");
        case LutWalkResult::Outcome::Stopped:
            break;
    }
    const std::string counts = std::to_string(walk.done) + " of " + std::to_string(walk.total);
    return apiFail(ZRK880_ERR_CANCELLED,
                   read ? "LUT read cancelled: " + counts + " entries were read."
                        : "LUT write cancelled: " + counts + " entries were written.");
}

ApiError Camera::lutRead(LutTable& table, const LutProgress& progress) {
    return run([&] { return lutOutcome(readLut(params_, table, kLutEntries, progress), true); });
}

ApiError Camera::lutWrite(const LutTable& table, const LutProgress& progress) {
    return run([&] {
        return lutOutcome(writeLut(params_, table, kAllLutChannels, kLutEntries, progress), false);
    });
}

}  // namespace zr::lib
