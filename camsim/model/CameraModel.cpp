#include "model/CameraModel.h"

#include "model/FrameCodec.h"

namespace zr::sim {

CameraModel::CameraModel(Clock& clock) : clock_(clock) {}

void CameraModel::hostWrite(const uint8_t* data, size_t count) {
    std::vector<ReceivedFrame> completed;
    std::function<void(const ReceivedFrame&)> observer;
    {
        std::lock_guard lock(mutex_);
        const uint32_t now = clock_.tickMs();
        for (size_t i = 0; i < count; ++i) {
            const uint8_t byte = data[i];
            const bool outside = !parser_.inFrame() && byte != STX;
            if (outside) {
                handleHostReply(byte, now);
                continue;
            }
            if (auto frame = parser_.feed(byte)) {
                handleFrame(*frame, now);
                completed.push_back(frames_.back());
            }
        }
        observer = observer_;
    }
    if (observer) {
        for (const auto& frame : completed) observer(frame);
    }
}

void CameraModel::handleHostReply(uint8_t byte, uint32_t now) {
    if (byte != ACK && byte != NAK) return;  // noise between frames
    hostReplies_.push_back(byte);
    if (!answerAwaitingReply_) return;
    if (byte == ACK || !faults_.resendAnswerOnNak || answerResendsLeft_ <= 0) {
        answerAwaitingReply_ = false;
        return;
    }
    --answerResendsLeft_;
    queueReply(now, faults_.garbage + makeAnswer(lastAnswerData_));
}

void CameraModel::handleFrame(const ParsedFrame& frame, uint32_t now) {
    frames_.push_back({frame, now});
    if (faults_.silent) return;
    if (faults_.dropNextAcks > 0) {
        --faults_.dropNextAcks;
        return;
    }
    const uint32_t ackDue = now + faults_.ackDelayMs;
    const std::string nak = faults_.garbage + static_cast<char>(NAK);
    if (!frame.checksumOk || !frame.framingOk) {
        queueReply(ackDue, nak);
        return;
    }
    if (faults_.nakCommands || faults_.nakNextFrames > 0) {
        if (faults_.nakNextFrames > 0) --faults_.nakNextFrames;
        queueReply(ackDue, nak);
        return;
    }

    // The camera decodes the characters without checking them, as the host does.
    const auto* t = reinterpret_cast<const uint8_t*>(frame.text.data());
    auto byteAt = [t](int i) {
        return static_cast<uint8_t>(hexDigitValue(t[2 * i]) << 4 | hexDigitValue(t[2 * i + 1]));
    };
    const uint8_t area = byteAt(0);
    const uint8_t address = byteAt(1);
    const uint32_t data = static_cast<uint32_t>(byteAt(2)) << 16 | byteAt(3) << 8 | byteAt(4);

    const std::string ack = faults_.garbage + static_cast<char>(ACK);
    if ((area & 0x80) == 0) {
        queueReply(ackDue, camera_.write(area, address, data) ? ack : nak);
        return;
    }
    lastAnswerData_ = camera_.read(area, address);
    answerAwaitingReply_ = true;
    answerResendsLeft_ = faults_.maxAnswerResends;
    const std::string answer = makeAnswer(lastAnswerData_);
    if (faults_.mergeAckAndAnswer) {
        queueReply(ackDue + faults_.answerDelayMs, ack + answer);
    } else {
        queueReply(ackDue, ack);
        queueReply(ackDue + faults_.answerDelayMs, faults_.garbage + answer);
    }
}

std::string CameraModel::makeAnswer(uint32_t data) {
    uint8_t offset = 0;
    if (faults_.corruptAllAnswers) {
        offset = 1;
    } else if (faults_.corruptNextAnswers > 0) {
        --faults_.corruptNextAnswers;
        offset = 1;
    }
    std::string frame = answerFrame(data, faults_.answerEndByte, offset);
    if (faults_.cutNextAnswers > 0) {
        // As a camera reset in the middle of its reply: the rest never comes.
        --faults_.cutNextAnswers;
        frame.resize(3);
    }
    return frame;
}

void CameraModel::queueReply(uint32_t due, std::string bytes) {
    size_t at = 0;
    for (const size_t size : faults_.splitSizes) {
        if (at >= bytes.size()) break;
        if (size == 0) continue;
        replies_.push(due, bytes.substr(at, size));
        at += size;
    }
    if (at < bytes.size()) replies_.push(due, bytes.substr(at));
}

size_t CameraModel::hostRead(uint8_t* buffer, size_t max) {
    std::lock_guard lock(mutex_);
    return replies_.take(clock_.tickMs(), buffer, max);
}

bool CameraModel::replyPending() const {
    std::lock_guard lock(mutex_);
    return !replies_.empty();
}

uint32_t CameraModel::msUntilReplyDue() const {
    std::lock_guard lock(mutex_);
    return replies_.msUntilDue(clock_.tickMs());
}

uint32_t CameraModel::reg(uint8_t area, uint8_t address) const {
    std::lock_guard lock(mutex_);
    return camera_.peek(area, address);
}

void CameraModel::setReg(uint8_t area, uint8_t address, uint32_t bytes) {
    std::lock_guard lock(mutex_);
    camera_.poke(area, address, bytes);
}

std::vector<ReceivedFrame> CameraModel::frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<std::string> CameraModel::commandTexts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const auto& frame : frames_) {
        if (frame.checksumOk && frame.framingOk) texts.push_back(frame.text);
    }
    return texts;
}

std::vector<uint8_t> CameraModel::hostReplies() const {
    std::lock_guard lock(mutex_);
    return hostReplies_;
}

void CameraModel::clearLog() {
    std::lock_guard lock(mutex_);
    frames_.clear();
    hostReplies_.clear();
}

void CameraModel::setFrameObserver(std::function<void(const ReceivedFrame&)> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

FaultSettings CameraModel::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void CameraModel::setFaults(const FaultSettings& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

void CameraModel::updateFaults(const std::function<void(FaultSettings&)>& change) {
    std::lock_guard lock(mutex_);
    change(faults_);
}

void CameraModel::setBehaviour(const BehaviourSettings& behaviour) {
    std::lock_guard lock(mutex_);
    camera_.setSettings(behaviour);
}

void CameraModel::updateBehaviour(const std::function<void(BehaviourSettings&)>& change) {
    std::lock_guard lock(mutex_);
    auto settings = camera_.settings();
    change(settings);
    camera_.setSettings(settings);
}

void CameraModel::setHeldSpots(int colour, const std::vector<Spot>& spots) {
    std::lock_guard lock(mutex_);
    camera_.setHeldSpots(colour, spots);
}

int CameraModel::currentMemory() const {
    std::lock_guard lock(mutex_);
    return camera_.currentMemory();
}

bool CameraModel::adjustMode() const {
    std::lock_guard lock(mutex_);
    return camera_.adjustMode();
}

uint32_t CameraModel::memoryData(int memory, int row) const {
    std::lock_guard lock(mutex_);
    return camera_.memoryData(memory, row);
}

}  // namespace zr::sim
