#include "CountingSink.h"

namespace zr::fuzz {

MsgResult CountingSink::show(const Message& message) {
    std::lock_guard lock(mutex_);
    ++counts_[message.text];
    return message.buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
}

int CountingSink::total() {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const auto& [text, count] : counts_) n += count;
    return n;
}

int CountingSink::count(const std::string& text) {
    std::lock_guard lock(mutex_);
    const auto found = counts_.find(text);
    return found == counts_.end() ? 0 : found->second;
}

void CountingSink::clear() {
    std::lock_guard lock(mutex_);
    counts_.clear();
}

}  // namespace zr::fuzz
