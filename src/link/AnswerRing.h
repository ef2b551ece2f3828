#pragma once

#include <array>

#include "link/AnswerParser.h"

namespace zr {

// The answers handed from the worker to the callers: ten entries, a read
// position and the number of unread answers. An accepted answer always goes
// to entry 0 and replaces any unread one. Not locked: its owner guards it.
class AnswerRing {
  public:
    void store(const AnswerBytes& answer) {
        entries_[0] = answer;
        count_ = 1;
        index_ = 0;
    }
    // The next unread answer, or `fallback` when none is unread.
    AnswerBytes take(const AnswerBytes& fallback) {
        if (count_ == 0) return fallback;
        const AnswerBytes result = entries_[index_];
        --count_;
        if (count_ > 0) index_ = (index_ + 1) % static_cast<int>(entries_.size());
        return result;
    }
    int count() const { return count_; }
    int index() const { return index_; }

  private:
    std::array<AnswerBytes, 10> entries_{};
    int count_ = 0;
    int index_ = 0;
};

}  // namespace zr
