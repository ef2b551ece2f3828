#include "ExchangeReview.h"

#include "link/LinkStatus.h"

namespace zr::test {

namespace {

// Passes a successful exchange may take beyond its reply's delay: the reply
// comes in up to six pieces, one read a pass, plus the answer's resends.
constexpr uint32_t kPassSlack = 40;
// Ticks between a write and the pass that finds its time-out expired.
constexpr uint32_t kAckExpiry = kAckTimeoutMs + 1;
constexpr uint32_t kAnswerExpiry = kAnswerTimeoutMs + 1;

bool unanswered(Fault fault) {
    return fault == Fault::DropAck || fault == Fault::AckDelayOver;
}

uint32_t replyDelay(Fault fault, bool read) {
    switch (fault) {
        case Fault::AckDelayUnder:
            return 990;
        case Fault::AckDelayOver:
            return 1010;
        case Fault::AnswerDelayUnder:
            return read ? 2990 : 0;
        default:
            return 0;
    }
}

bool readText(const std::string& text) {
    const char c = text.empty() ? '0' : text[0];
    return (c >= '8' && c <= '9') || (c >= 'A' && c <= 'F');
}

}  // namespace

ExchangeReview::ExchangeReview(const std::vector<FrameRecord>& frames,
                               const std::vector<RecordedMessage>& messages, bool walk) {
    struct Expected {
        uint32_t endLow = 0, endHigh = 0;  // end of a successful exchange
        uint32_t messageTick = 0;          // tick of a failure's message
    };
    std::vector<Expected> expected;

    for (size_t i = 0; i < frames.size();) {
        const size_t index = exchanges_.size();
        ReviewedExchange x;
        x.text = frames[i].text;
        x.read = readText(x.text);
        x.frames = 1;
        // Resends: while no reply came, at most twice, each 1001 passes on.
        while (unanswered(frames[i + x.frames - 1].fault) && x.frames < 3) {
            const FrameRecord& last = frames[i + x.frames - 1];
            if (i + x.frames >= frames.size()) {
                problem(index, x.text,
                        "no resend after a frame that met " + std::string(faultName(last.fault)));
                break;
            }
            const FrameRecord& next = frames[i + x.frames];
            if (next.text != x.text || next.tick - last.tick != kAckExpiry) {
                problem(index, x.text,
                        "resend expected 1001 ticks after tick " + std::to_string(last.tick) +
                            ", got " + next.text + " at tick " + std::to_string(next.tick));
                break;
            }
            ++x.frames;
        }
        Expected e;
        size_t decisive = i;
        while (decisive < i + x.frames && frames[decisive].fault == Fault::DropAck) ++decisive;
        const FrameRecord& lastFrame = frames[i + x.frames - 1];
        for (int f = 0; f < x.frames; ++f) x.carriedOut |= carriesOut(frames[i + f].fault);
        if (x.frames == 3 && unanswered(lastFrame.fault)) {
            x.failure = "There is no [ACK]";
            e.messageTick = lastFrame.tick + kAckExpiry;
        } else if (decisive < i + x.frames && x.read &&
                   (frames[decisive].fault == Fault::Nak ||
                    frames[decisive].fault == Fault::AnswerDelayOver)) {
            x.failure = "There is no [ANSWER DATA]";
            e.messageTick = lastFrame.tick + kAnswerExpiry;
        } else if (decisive < i + x.frames) {
            x.succeeded = true;
            e.endLow = frames[decisive].tick + replyDelay(frames[decisive].fault, x.read);
            e.endHigh = e.endLow + kPassSlack;
        }
        exchanges_.push_back(x);
        expected.push_back(e);
        i += static_cast<size_t>(x.frames);
    }

    // A successful exchange ends when the next one's frame goes out.
    size_t nextFrame = 0;
    for (size_t x = 0; x < exchanges_.size(); ++x) {
        nextFrame += static_cast<size_t>(exchanges_[x].frames);
        if (!exchanges_[x].succeeded || nextFrame >= frames.size()) continue;
        const uint32_t end = frames[nextFrame].tick;
        if (end < expected[x].endLow || end > expected[x].endHigh)
            problem(x, "ended at tick " + std::to_string(end) + ", expected " +
                           std::to_string(expected[x].endLow) + ".." +
                           std::to_string(expected[x].endHigh));
    }

    // The messages: one per failed exchange, in order, when its time-out expires.
    size_t m = 0;
    for (size_t x = 0; x < exchanges_.size(); ++x) {
        if (exchanges_[x].failure.empty()) continue;
        if (walk && exchanges_[x].read && x + 1 != exchanges_.size())
            problem(x, "the walk went on after a failed read");
        if (m >= messages.size()) {
            problem(x, "missing message " + exchanges_[x].failure);
            continue;
        }
        const RecordedMessage& r = messages[m++];
        if (r.message.text != exchanges_[x].failure || r.message.caption != "NO RESPONSE " ||
            !r.message.systemModal || r.message.icon != MsgIcon::Warning)
            problem(x, "message [" + r.message.caption + "] " + r.message.text + " instead of " +
                           exchanges_[x].failure);
        if (r.tick != expected[x].messageTick)
            problem(x, "message at tick " + std::to_string(r.tick) + ", expected " +
                           std::to_string(expected[x].messageTick));
    }
    for (; m < messages.size(); ++m)
        problems_.push_back("unexpected message: " + messages[m].message.text);
}

void ExchangeReview::problem(size_t exchange, const std::string& what) {
    problem(exchange, exchanges_[exchange].text, what);
}

void ExchangeReview::problem(size_t exchange, const std::string& text, const std::string& what) {
    problems_.push_back("exchange " + std::to_string(exchange) + " (" + text + "): " + what);
}

}  // namespace zr::test
