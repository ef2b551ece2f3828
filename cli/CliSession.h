#pragma once

#include <memory>
#include <string>

#include "CliOptions.h"
#include "StderrSink.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"

namespace zr::cli {

// The tool's counterpart of the main panel: the table, the link and the
// parameter operations, with messages going to stderr.
class CliSession {
  public:
    explicit CliSession(const CliOptions& options);
    ~CliSession();  // waits for the last exchange, then closes the link

    // Opens the route chosen on the command line; false (message shown) on failure.
    bool open();
    // Waits until the link has finished its exchange (ACK, answer or time-out).
    void waitIdle();
    // True when any failure message was shown so far.
    bool failed() const { return sink_.failures() > 0; }

    SerialLink& link() { return link_; }
    ParamAccess& params() { return params_; }
    BulkOperations& bulk() { return bulk_; }

  private:
    void traceBytes(bool sent, const uint8_t* data, size_t count);

    const CliOptions& options_;
    uint32_t startTick_ = 0;
    StderrSink sink_;
    MessageRelay relay_;
    SerialLink link_;
    ParamAccess params_;
    BulkOperations bulk_;
};

}  // namespace zr::cli
