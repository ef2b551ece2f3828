#include "CameraFaults.h"

#include <iterator>

namespace zr::test {

namespace {

struct Weighted {
    CameraFault fault;
    int weight;
};

// Time-outs are rare so that a seed spends its actions on the panel, not on
// waiting; they still come often enough in a run of a few hundred actions.
constexpr Weighted kFaults[] = {
    {CameraFault::Silence, 4},     {CameraFault::Nak, 10},       {CameraFault::Corrupt, 10},
    {CameraFault::CutOff, 6},      {CameraFault::Split, 10},     {CameraFault::Merge, 10},
    {CameraFault::Garbage, 10},    {CameraFault::AckUnder, 2},   {CameraFault::AckOver, 2},
    {CameraFault::AnswerUnder, 1}, {CameraFault::AnswerOver, 1},
};

// No STX, ACK or NAK among them: noise, not protocol bytes.
const std::string kGarbage[] = {std::string("\xFF", 1), std::string("\x00\x7F", 2), "Z9?",
                                "\x03\x03"};
const std::vector<size_t> kSplits[] = {{1}, {2, 3}, {1, 1, 1, 1}, {4}};

}  // namespace

const char* cameraFaultName(CameraFault fault) {
    static const char* const names[] = {"none",   "silence", "NAK",     "corrupt",
                                        "cutoff", "split",   "merge",   "garbage",
                                        "ack990", "ack1010", "ans2990", "ans3010"};
    return names[static_cast<int>(fault)];
}

CameraFaults::CameraFaults(sim::CameraModel& camera, uint32_t seed)
    : camera_(camera), random_(seed) {
    camera_.setFrameObserver([this](const sim::ReceivedFrame& frame) { onFrame(frame); });
}

CameraFaults::~CameraFaults() {
    camera_.setFrameObserver(nullptr);
    camera_.setFaults({});
}

void CameraFaults::setRate(int perMille) {
    std::lock_guard lock(mutex_);
    rate_ = perMille;
    arm(pick());
}

std::string CameraFaults::takeSummary() {
    std::lock_guard lock(mutex_);
    std::string summary;
    for (int i = 1; i < static_cast<int>(std::size(met_)); ++i) {
        if (met_[i] == 0) continue;
        summary += std::string(summary.empty() ? "" : " ") +
                   cameraFaultName(static_cast<CameraFault>(i)) + ":" + std::to_string(met_[i]);
        met_[i] = 0;
    }
    return summary;
}

void CameraFaults::onFrame(const sim::ReceivedFrame&) {
    std::lock_guard lock(mutex_);
    ++met_[static_cast<int>(armed_)];
    // The resend of a frame answered late gets a plain reply, so no late
    // reply overtakes a later exchange's.
    arm(armed_ == CameraFault::AckOver ? CameraFault::None : pick());
}

CameraFault CameraFaults::pick() {
    if (rate_ <= 0 || static_cast<int>(random_() % 1000) >= rate_) return CameraFault::None;
    int total = 0;
    for (const Weighted& w : kFaults) total += w.weight;
    int at = static_cast<int>(random_() % static_cast<uint32_t>(total));
    for (const Weighted& w : kFaults) {
        if (at < w.weight) return w.fault;
        at -= w.weight;
    }
    return CameraFault::None;
}

// Sets the camera up for the next frame; the previous frame's settings go.
void CameraFaults::arm(CameraFault fault) {
    armed_ = fault;
    sim::FaultSettings s;
    switch (fault) {
        case CameraFault::None:
            break;
        case CameraFault::Silence:
            s.dropNextAcks = 1;
            break;
        case CameraFault::Nak:
            s.nakNextFrames = 1;
            break;
        case CameraFault::Corrupt:
            s.corruptNextAnswers = 1;
            break;
        case CameraFault::CutOff:
            s.cutNextAnswers = 1;
            break;
        case CameraFault::Split:
            s.splitSizes = kSplits[random_() % std::size(kSplits)];
            break;
        case CameraFault::Merge:
            s.mergeAckAndAnswer = true;
            break;
        case CameraFault::Garbage:
            s.garbage = kGarbage[random_() % std::size(kGarbage)];
            break;
        case CameraFault::AckUnder:
            s.ackDelayMs = 990;
            break;
        case CameraFault::AckOver:
            s.ackDelayMs = 1010;
            break;
        case CameraFault::AnswerUnder:
            s.answerDelayMs = 2990;
            break;
        case CameraFault::AnswerOver:
            s.answerDelayMs = 3010;
            break;
    }
    camera_.setFaults(s);
}

}  // namespace zr::test
