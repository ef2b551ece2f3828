#pragma once

#include <mutex>
#include <optional>
#include <vector>

#include "link/Message.h"
#include "zrk880.h"

namespace zr::lib {

// The message sink of a library handle: it records the failures the core
// reports during a call (on the calling thread or the link's worker), so the
// call can return them, and tells the caller's message callback. Never shows
// or prints anything. A question is answered Yes: the caller asked for the
// operation by calling it.
class CallSink : public MessageSink {
  public:
    MsgResult show(const Message& message) override;

    // Forgets what earlier calls recorded.
    void clear();
    // The first failure recorded since clear(), if any.
    std::optional<Message> firstFailure();

    void setCallback(zrk880_message_fn callback, void* user);

  private:
    std::mutex mutex_;
    std::vector<Message> failures_;
    zrk880_message_fn callback_ = nullptr;
    void* user_ = nullptr;
};

}  // namespace zr::lib
