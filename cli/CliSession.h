#pragma once

#include "CliOptions.h"
#include "StderrSink.h"
#include "zrk880.h"

namespace zr::cli {

// The tool's camera: a libzrk880 handle on the route chosen on the command
// line, whose messages go to stderr as the panel's boxes would.
class CliSession {
  public:
    explicit CliSession(const CliOptions& options);
    ~CliSession();  // closes the camera
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Opens the route; false (message shown) on failure.
    bool open();
    zrk880_camera* camera() const { return camera_; }

  private:
    static void message(const char* caption, const char* text, int question, void* user);
    static void trace(const zrk880_trace_line* line, void* user);

    const CliOptions& options_;
    StderrSink sink_;
    zrk880_camera* camera_ = nullptr;
};

}  // namespace zr::cli
