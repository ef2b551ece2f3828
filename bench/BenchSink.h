#pragma once

#include <string>
#include <vector>

#include "link/Message.h"

namespace zr::bench {

// Every message box is a failure of the run: noted, printed, answered OK.
class BenchSink : public MessageSink {
  public:
    MsgResult show(const Message& message) override;
    const std::vector<std::string>& shown() const { return shown_; }

  private:
    std::vector<std::string> shown_;
};

}  // namespace zr::bench
