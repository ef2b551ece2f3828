#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/Clock.h"
#include "link/Message.h"

namespace zr::test {

// One message as the sink saw it.
struct RecordedMessage {
    Message message;
    std::thread::id thread;  // thread it was shown on
    uint32_t tick = 0;       // clock tick when shown (0 without a clock)
};

// A MessageSink for tests: records every message with the thread and clock
// tick of its showing, and answers as scripted.
//
// Answers: scripted answers (script()) are used in order, one per message;
// when none is left an OK box answers Ok and a Yes/No box answers
// defaultYesNo (Yes unless changed). holdOpenFor() keeps every following
// message "open" for that much real time before it answers, as a user who
// reads it would. onShow() runs a hook inside show(), while the message is up,
// so a test can look at the system at exactly that moment. Safe to query from
// any thread.
class RecordingSink : public MessageSink {
  public:
    explicit RecordingSink(Clock* clock = nullptr);

    MsgResult show(const Message& message) override;

    void script(std::vector<MsgResult> answers);
    void setDefaultYesNo(MsgResult answer);
    void holdOpenFor(std::chrono::milliseconds realTime);
    void onShow(std::function<void(const RecordedMessage&)> hook);
    void setClock(Clock* clock);

    std::vector<RecordedMessage> messages() const;
    std::vector<std::string> texts() const;
    size_t count() const;
    size_t countOf(const std::string& text) const;
    void clear();

  private:
    mutable std::mutex mutex_;
    Clock* clock_;
    std::vector<RecordedMessage> recorded_;
    std::deque<MsgResult> script_;
    MsgResult defaultYesNo_ = MsgResult::Yes;
    std::chrono::milliseconds holdOpen_{0};
    std::function<void(const RecordedMessage&)> hook_;
};

}  // namespace zr::test
