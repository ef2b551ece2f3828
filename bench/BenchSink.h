#pragma once

#include "link/Message.h"

namespace zr::bench {

// Every message box is a failure of the run: noted, printed, answered OK.
class BenchSink : public MessageSink {
  public:
    MsgResult show(const Message& message) override;
    int shown() const { return shown_; }

  private:
    int shown_ = 0;
};

}  // namespace zr::bench
