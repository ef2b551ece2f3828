#include "CallSink.h"

#include "CallbackScope.h"

namespace zr::lib {

thread_local bool CallbackScope::active_ = false;

MsgResult CallSink::show(const Message& message) {
    std::lock_guard lock(mutex_);
    const bool question = message.buttons == MsgButtons::YesNo;
    if (!question) failures_.push_back(message);
    if (callback_) {
        CallbackScope scope;
        callback_(message.caption.c_str(), message.text.c_str(), question ? 1 : 0, user_);
    }
    return question ? MsgResult::Yes : MsgResult::Ok;
}

void CallSink::clear() {
    std::lock_guard lock(mutex_);
    failures_.clear();
}

std::optional<Message> CallSink::firstFailure() {
    std::lock_guard lock(mutex_);
    if (failures_.empty()) return std::nullopt;
    return failures_.front();
}

void CallSink::setCallback(zrk880_message_fn callback, void* user) {
    std::lock_guard lock(mutex_);
    callback_ = callback;
    user_ = user;
}

}  // namespace zr::lib
