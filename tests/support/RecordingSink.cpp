#include "support/RecordingSink.h"

#include <algorithm>

namespace zr::test {

RecordingSink::RecordingSink(Clock* clock) : clock_(clock) {}

MsgResult RecordingSink::show(const Message& message) {
    RecordedMessage record;
    std::function<void(const RecordedMessage&)> hook;
    std::chrono::milliseconds holdOpen{0};
    MsgResult answer = message.buttons == MsgButtons::YesNo ? MsgResult::Yes : MsgResult::Ok;
    {
        std::lock_guard lock(mutex_);
        record.message = message;
        record.thread = std::this_thread::get_id();
        record.tick = clock_ ? clock_->tickMs() : 0;
        recorded_.push_back(record);
        hook = hook_;
        holdOpen = holdOpen_;
        if (!script_.empty()) {
            answer = script_.front();
            script_.pop_front();
        } else if (message.buttons == MsgButtons::YesNo) {
            answer = defaultYesNo_;
        }
    }
    if (hook) hook(record);
    if (holdOpen.count() > 0) std::this_thread::sleep_for(holdOpen);
    return answer;
}

void RecordingSink::script(std::vector<MsgResult> answers) {
    std::lock_guard lock(mutex_);
    script_.assign(answers.begin(), answers.end());
}

void RecordingSink::setDefaultYesNo(MsgResult answer) {
    std::lock_guard lock(mutex_);
    defaultYesNo_ = answer;
}

void RecordingSink::holdOpenFor(std::chrono::milliseconds realTime) {
    std::lock_guard lock(mutex_);
    holdOpen_ = realTime;
}

void RecordingSink::onShow(std::function<void(const RecordedMessage&)> hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
}

void RecordingSink::setClock(Clock* clock) {
    std::lock_guard lock(mutex_);
    clock_ = clock;
}

std::vector<RecordedMessage> RecordingSink::messages() const {
    std::lock_guard lock(mutex_);
    return recorded_;
}

std::vector<std::string> RecordingSink::texts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    for (const auto& r : recorded_) out.push_back(r.message.text);
    return out;
}

size_t RecordingSink::count() const {
    std::lock_guard lock(mutex_);
    return recorded_.size();
}

size_t RecordingSink::countOf(const std::string& text) const {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(std::count_if(
        recorded_.begin(), recorded_.end(), [&](const auto& r) { return r.message.text == text; }));
}

void RecordingSink::clear() {
    std::lock_guard lock(mutex_);
    recorded_.clear();
    script_.clear();
}

}  // namespace zr::test
