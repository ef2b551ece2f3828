#include "FaultSchedule.h"

namespace zr::test {

namespace {

// No STX, ACK or NAK among them: noise, not protocol bytes.
const std::string kGarbage[] = {std::string("\xFF", 1), std::string("\x00\x7F", 2), "Z9?",
                                "\x03\x03"};
const std::vector<size_t> kSplits[] = {{1}, {2, 3}, {1, 1, 1, 1}, {4}};

}  // namespace

const char* faultName(Fault fault) {
    switch (fault) {
        case Fault::None:
            return "none";
        case Fault::DropAck:
            return "dropped ACK";
        case Fault::Nak:
            return "NAK";
        case Fault::CorruptAnswer:
            return "corrupted answer";
        case Fault::CutOff:
            return "cut-off answer";
        case Fault::Split:
            return "split reads";
        case Fault::Merge:
            return "merged reads";
        case Fault::Garbage:
            return "garbage";
        case Fault::AckDelayUnder:
            return "ACK just inside its time-out";
        case Fault::AckDelayOver:
            return "ACK just after its time-out";
        case Fault::AnswerDelayUnder:
            return "answer just inside its time-out";
        case Fault::AnswerDelayOver:
            return "answer just after its time-out";
    }
    return "?";
}

bool carriesOut(Fault fault) {
    return fault != Fault::DropAck && fault != Fault::Nak;
}

FaultSchedule::FaultSchedule(sim::CameraModel& camera, uint32_t seed, FaultMix mix)
    : camera_(camera), random_(seed), mix_(std::move(mix)) {
    camera_.setFrameObserver([this](const sim::ReceivedFrame& frame) { onFrame(frame); });
}

FaultSchedule::~FaultSchedule() {
    camera_.setFrameObserver(nullptr);
    camera_.setFaults({});
}

void FaultSchedule::setRate(int percent) {
    std::lock_guard lock(mutex_);
    rate_ = percent;
    arm(pick());
}

std::vector<FrameRecord> FaultSchedule::takeRecords() {
    std::lock_guard lock(mutex_);
    std::vector<FrameRecord> taken;
    taken.swap(records_);
    return taken;
}

uint32_t FaultSchedule::lastFrameTick() {
    std::lock_guard lock(mutex_);
    return lastFrameTick_;
}

void FaultSchedule::onFrame(const sim::ReceivedFrame& frame) {
    std::lock_guard lock(mutex_);
    lastFrameTick_ = frame.tick;
    records_.push_back({frame.tick, frame.text, armed_});
    arm(armed_ == Fault::AckDelayOver ? Fault::None : pick());
}

Fault FaultSchedule::pick() {
    if (rate_ <= 0 || static_cast<int>(random_() % static_cast<uint32_t>(mix_.outOf)) >= rate_) {
        return Fault::None;
    }
    int total = 0;
    for (const auto& [fault, weight] : mix_.weights) total += weight;
    int at = static_cast<int>(random_() % static_cast<uint32_t>(total));
    for (const auto& [fault, weight] : mix_.weights) {
        if (at < weight) return fault;
        at -= weight;
    }
    return Fault::None;
}

// Sets the camera up for the next frame; every setting of the previous one
// is cleared.
void FaultSchedule::arm(Fault fault) {
    armed_ = fault;
    sim::FaultSettings s;
    switch (fault) {
        case Fault::None:
            break;
        case Fault::DropAck:
            s.dropNextAcks = 1;
            break;
        case Fault::Nak:
            s.nakNextFrames = 1;
            break;
        case Fault::CorruptAnswer:
            s.corruptNextAnswers = 1;
            break;
        case Fault::CutOff:
            s.cutNextAnswers = 1;
            break;
        case Fault::Split:
            s.splitSizes = kSplits[random_() % std::size(kSplits)];
            break;
        case Fault::Merge:
            s.mergeAckAndAnswer = true;
            break;
        case Fault::Garbage:
            s.garbage = kGarbage[random_() % std::size(kGarbage)];
            break;
        case Fault::AckDelayUnder:
            s.ackDelayMs = 990;
            break;
        case Fault::AckDelayOver:
            s.ackDelayMs = 1010;
            break;
        case Fault::AnswerDelayUnder:
            s.answerDelayMs = 2990;
            break;
        case Fault::AnswerDelayOver:
            s.answerDelayMs = 3010;
            break;
    }
    camera_.setFaults(s);
}

}  // namespace zr::test
