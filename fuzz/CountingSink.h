#pragma once

#include <map>
#include <mutex>
#include <string>

#include "link/Message.h"

namespace zr::fuzz {

// Counts the message boxes by text and answers them at once.
class CountingSink : public MessageSink {
  public:
    MsgResult show(const Message& message) override;
    int total();
    int count(const std::string& text);
    void clear();

  private:
    std::mutex mutex_;
    std::map<std::string, int> counts_;
};

}  // namespace zr::fuzz
