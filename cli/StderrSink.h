#pragma once

#include <cstdio>

#include "link/Message.h"

namespace zr::cli {

// Shows the panel's message boxes as lines on stderr ("caption: text").
// Questions are answered Yes only when the user said --yes.
class StderrSink : public MessageSink {
  public:
    StderrSink(bool assumeYes, std::FILE* out = stderr) : assumeYes_(assumeYes), out_(out) {}
    MsgResult show(const Message& message) override;

    // Messages other than answered questions: each one reports a failure.
    int failures() const { return failures_; }

  private:
    bool assumeYes_;
    std::FILE* out_;
    int failures_ = 0;
};

}  // namespace zr::cli
