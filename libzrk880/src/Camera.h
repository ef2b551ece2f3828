#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "ApiError.h"
#include "CallSink.h"
#include "Route.h"
#include "TraceRelay.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "params/CameraIdentity.h"
#include "params/LutTransfer.h"
#include "params/ParamAccess.h"
#include "params/SettingsFile.h"

namespace zr::lib {

// One setting where the camera and a settings file disagree.
struct SettingDifference {
    int row;
    int32_t camera;
    int32_t file;
};

// The camera behind one library handle: the core's link and parameter
// operations, a sink that records instead of showing, and one call at a time.
// Every operation returns once its exchanges have ended, with the first
// failure the core reported during it.
class Camera {
  public:
    Camera();
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    ApiError open(const Route& route, int baud);
    // Waits for a call still running, then closes the link.
    void close();

    ApiError get(int row, int32_t& value);
    ApiError set(int row, int32_t value);
    // answered: a read command's answer arrived and is in `answer`.
    ApiError command(const std::string& text, AnswerBytes& answer, bool& answered);
    // The identity texts; a link failure when any of them could not be read.
    ApiError identity(CameraIdentity& identity);

    // The user settings (rows 0..52) as a settings file's text.
    ApiError snapshot(SettingsFile::Format format, std::string& text);
    // Checked entries (SettingsFile::parse); command registers are skipped.
    ApiError restore(std::vector<SettingsEntry> entries, int& written);
    ApiError compare(const std::vector<SettingsEntry>& entries,
                     std::vector<SettingDifference>& differences);

    ApiError loadMemory(int memory);
    ApiError saveMemory(int memory);
    ApiError factorySetting();

    ApiError lutRead(LutTable& table, const LutProgress& progress);
    ApiError lutWrite(const LutTable& table, const LutProgress& progress);

    void setTrace(zrk880_trace_fn trace, void* user) { trace_.setCallback(trace, user); }
    void setMessageCallback(zrk880_message_fn message, void* user) {
        sink_.setCallback(message, user);
    }

  private:
    // Runs one operation under the handle's lock, waits for the link to be
    // idle and turns what the core reported into the call's result.
    template <class Operation>
    ApiError run(Operation&& operation);
    ApiError settle(ApiError result);
    ApiError lutOutcome(const LutWalkResult& walk, bool read);

    CallSink sink_;
    MessageRelay relay_;
    SerialLink link_;
    ParamAccess params_;
    BulkOperations bulk_;
    TraceRelay trace_;
    std::mutex callMutex_;
};

}  // namespace zr::lib
