#include "link/LinkWorker.h"

#include <algorithm>
#include <system_error>

#include "link/ClSerialApi.h"
#include "link/FrameCodec.h"
#include "link/LinkStatus.h"

namespace zr {

namespace {

constexpr uint32_t kReadBufferSize = 100;
// A wait that has no wake signal to end it (its creation failed) looks
// around this often instead of sleeping for good.
constexpr uint32_t kNoWakeLimitMs = 100;
// How soon a Camera Link library whose read gave up early without bytes is
// asked again while an exchange waits for the camera.
constexpr uint32_t kEarlyReadRetryMs = 1;

// Milliseconds from now until more than `limitMs` have passed since `since`.
uint32_t msUntilPast(uint32_t now, uint32_t since, uint32_t limitMs) {
    const uint32_t elapsed = ticksSince(now, since);
    return elapsed > limitMs ? 0 : limitMs + 1 - elapsed;
}

}  // namespace

LinkWorker::~LinkWorker() {
    if (thread_.joinable()) thread_.join();
}

bool LinkWorker::start(std::unique_ptr<LinkTransport>& transport) {
    transport_ = std::move(transport);
    // A half-received answer from an earlier opening must not be continued
    // with the first bytes of this one.
    parser_.reset();
    eventPending_ = 0;
    inputBroken_ = false;
    exited_.store(false);
    closePortOnExit_.store(false);
    exitedSignal_.take();
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        transport = std::move(transport_);
        return false;
    }
    return true;
}

void LinkWorker::join() {
    if (thread_.joinable()) thread_.join();
    if (transport_) transport_->close();
    transport_.reset();
}

void LinkWorker::run() {
    if (s_.isOpen.load() != 0) {
        trace(TraceEvent::Kind::Opened);
        uint8_t buffer[kReadBufferSize];
        runPasses(buffer, kReadBufferSize);
    }
    if (closePortOnExit_.load() && transport_) transport_->close();
    exited_.store(true);
    exitedSignal_.signal();
}

void LinkWorker::runPasses(uint8_t* buffer, uint32_t size) {
    const bool readWaits = transport_ && transport_->readWaits();
    for (;;) {
        busyBefore_ = s_.inExchange();
        const uint32_t readStart = clock_.tickMs();
        const uint32_t count = readTransport(buffer, size);

        if (count > 0) {
            std::lock_guard lock(s_.mutex);
            setStatusBits(LS_RX);
            if (s_.awaitingAck.load() != 0 || s_.awaitingAnswer.load() != 0) {
                if (ParseReceived(buffer, count) == 0) setStatusBits(LS_ANSWER_OK);
            } else {
                trace(TraceEvent::Kind::Dropped, buffer, count);
            }
        }
        // The time-outs and the queued frame go by the clock in every pass,
        // also in one that read bytes: a line that never goes quiet must not
        // hold them off.
        if (s_.awaitingAck.load() != 0) {
            if (ticksSince(clock_.tickMs(), lastSendTick_) > kAckTimeoutMs) {
                if (resendsLeft_ != 0) {
                    trace(TraceEvent::Kind::Resend, nullptr, 0, kResends - resendsLeft_ + 1);
                    writeTransport(s_.commandFrame.data(), kCommandFrameSize, kClResendTimeoutMs);
                    lastSendTick_ = clock_.tickMs();
                    --resendsLeft_;
                } else {
                    trace(TraceEvent::Kind::AckTimeout);
                    showWorkerMessage("There is no [ACK]");
                    setStatusBits(LS_ACK_TIMEOUT);
                    s_.awaitingAnswer.store(0);
                    s_.awaitingAck.store(0);
                }
            }
        } else if (s_.awaitingAnswer.load() != 0) {
            if (ticksSince(clock_.tickMs(), lastSendTick_) > kAnswerTimeoutMs) {
                {
                    std::lock_guard lock(s_.mutex);
                    s_.status |= LS_ANSWER_TIMEOUT;
                }
                trace(TraceEvent::Kind::AnswerTimeout);
                // A frame cut off by the camera (a reset, say) never
                // completes; its bytes would swallow later replies.
                parser_.reset();
                // The waiting caller goes on while the box is still up.
                s_.linkEvent.signal();
                showWorkerMessage("There is no [ANSWER DATA]");
                s_.awaitingAnswer.store(0);
            }
        } else if (s_.framePending.load() != 0) {
            // Whatever came before belongs to an exchange that is over.
            parser_.reset();
            writeTransport(s_.commandFrame.data(), kCommandFrameSize, kClFirstWriteTimeoutMs);
            lastSendTick_ = clock_.tickMs();
            resendsLeft_ = kResends;
            s_.awaitingAck.store(1);
            if (s_.answerExpected != 0) s_.awaitingAnswer.store(1);
            s_.framePending.store(0);
        }
        endPass();

        uint32_t waitMs = msToNextDeadline();
        if (readWaits) {
            // A library read is the wait: go straight on after bytes or a
            // read that used its time-out; after one that gave up early (a
            // library that ignores it) sleep out the rest.
            const uint32_t took = ticksSince(clock_.tickMs(), readStart);
            uint32_t rest = count > 0 || took >= kClReadTimeoutMs ? 0 : kClReadTimeoutMs - took;
            // While a reply is due such a library is asked again soon.
            if (rest > 0 && s_.inExchange()) rest = std::min(rest, kEarlyReadRetryMs);
            waitMs = std::min(waitMs, rest);
        }
        const int wakeFd = s_.workerWake.fd();
        if (wakeFd < 0) waitMs = std::min(waitMs, kNoWakeLimitMs);
        const int inputFd = transport_ && !inputBroken_ ? transport_->pollFd() : -1;
        const int fds[] = {inputFd, wakeFd};
        const WaitResult woke = clock_.waitReadable(fds, 2, waitMs);
        if (woke.broken & 1u) inputBroken_ = true;
        s_.workerWake.take();
        if (s_.isOpen.load() == 0) return;
    }
}

uint32_t LinkWorker::msToNextDeadline() {
    if (s_.framePending.load() != 0) return 0;
    const uint32_t now = clock_.tickMs();
    if (s_.awaitingAck.load() != 0) return msUntilPast(now, lastSendTick_, kAckTimeoutMs);
    if (s_.awaitingAnswer.load() != 0) return msUntilPast(now, lastSendTick_, kAnswerTimeoutMs);
    return Clock::kForever;
}

void LinkWorker::endPass() {
    if (eventPending_ != 0) {
        eventPending_ = 0;
        // A caller waiting for some bits only is woken when one of them is
        // there; the others stay in the status word for it.
        const uint32_t wanted = s_.wakeBits.load();
        bool wake = wanted == 0;
        if (!wake) {
            std::lock_guard lock(s_.mutex);
            wake = (s_.status & wanted) != 0;
        }
        if (wake) s_.linkEvent.signal();
    }
    if (busyBefore_ && !s_.inExchange()) s_.exchangeEnded.signal();
}

void LinkWorker::setStatusBits(uint32_t bits) {
    std::lock_guard lock(s_.mutex);
    s_.status |= bits;
    eventPending_ = 1;
}

void LinkWorker::showWorkerMessage(const char* text) {
    s_.silentAt.store(s_.acks.load() + 1);
    messages_.show(
        {.text = text, .caption = "NO RESPONSE ", .icon = MsgIcon::Warning, .systemModal = true});
}

int LinkWorker::ParseReceived(const uint8_t* data, size_t count) {
    std::lock_guard lock(s_.mutex);
    int result = 1;
    // The trace is told of each run of bytes the parser passed over.
    size_t dropFrom = count;
    for (size_t i = 0; i < count; ++i) {
        const AnswerEvent event = parser_.feed(data[i], s_.awaitingAck.load() != 0);
        if (trace_) {
            if (event.kind == AnswerEvent::Kind::None && !parser_.inFrame()) {
                if (dropFrom == count) dropFrom = i;
            } else if (dropFrom != count) {
                trace(TraceEvent::Kind::Dropped, data + dropFrom, i - dropFrom);
                dropFrom = count;
            }
        }
        switch (event.kind) {
            case AnswerEvent::Kind::None:
                break;
            case AnswerEvent::Kind::Ack:
                s_.awaitingAck.store(0);
                s_.acks.fetch_add(1, std::memory_order_relaxed);
                setStatusBits(LS_ACK);
                trace(TraceEvent::Kind::Ack);
                break;
            case AnswerEvent::Kind::Nak:
                s_.awaitingAck.store(0);
                trace(TraceEvent::Kind::Nak);
                break;
            case AnswerEvent::Kind::Answer: {
                const bool good = event.checksumGood;
                trace(good ? TraceEvent::Kind::Answer : TraceEvent::Kind::BadChecksum,
                      event.bytes.data(), event.bytes.size());
                const uint8_t reply = good ? ACK : NAK;
                if (good) s_.ring.store(event.bytes);
                writeTransport(&reply, 1, kClReplyTimeoutMs);
                if (good) s_.awaitingAnswer.store(0);
                setStatusBits(LS_ANSWER_DONE);
                result = good ? 0 : -1;
                break;
            }
        }
    }
    if (dropFrom != count) trace(TraceEvent::Kind::Dropped, data + dropFrom, count - dropFrom);
    return result;
}

// The trace sees exactly the bytes that crossed the port, both ways.
uint32_t LinkWorker::readTransport(uint8_t* buffer, uint32_t count) {
    if (!transport_) return 0;
    const uint32_t n = transport_->read(buffer, count);
    if (n > 0) trace(TraceEvent::Kind::Received, buffer, n);
    return n;
}

void LinkWorker::writeTransport(const uint8_t* data, uint32_t count, uint32_t timeoutMs) {
    trace(TraceEvent::Kind::Sent, data, count);
    if (transport_) transport_->write(data, count, timeoutMs);
}

void LinkWorker::trace(TraceEvent::Kind kind, const uint8_t* data, size_t count, int number) {
    if (!trace_) return;
    trace_(TraceEvent{kind, clock_.tickMs(), data, count, number});
}

}  // namespace zr
