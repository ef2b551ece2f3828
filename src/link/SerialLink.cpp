#include "link/SerialLink.h"

#include <chrono>
#include <system_error>
#include <vector>

#include "link/ClSerialTransport.h"
#include "link/ComTransport.h"
#include "link/FrameCodec.h"
#include "link/LinkStatus.h"

namespace zr {

namespace {

constexpr uint32_t kReadBufferSize = 100;
// Real-time slice of the GUI-side waits: between slices pending worker
// messages are served, so a worker blocked in a message box never deadlocks a
// GUI thread that waits for it.
constexpr auto kServeSlice = std::chrono::milliseconds(2);
// How long a thread that is handed over to watches for it before it goes to
// sleep (a busy wait that yields the processor): being woken from sleep costs
// more than the hand-over itself. The worker watches for the next frame right
// after an exchange, which a caller in a loop queues within microseconds; a
// caller waiting on the link event watches for the next bytes of an answer,
// which follow each other closely at high speeds. Each wait watches once, so
// a long wait sleeps nearly all of its time. A wait for a whole exchange is
// not watched: on a busy machine that costs more than it saves.
constexpr uint32_t kWorkerSpinUs = 300;
constexpr auto kEventSpin = std::chrono::microseconds(300);

Message errorBox(const char* text, const char* caption) {
    return {text, caption, MsgIcon::Error};
}

}  // namespace

SerialLink::SerialLink(MessageRelay& messages, Clock& clock) : messages_(messages), clock_(clock) {
    comPorts_.fill(-1);
}

SerialLink::~SerialLink() {
    CloseLink();
}

// --- callers' side -----------------------------------------------------------

bool SerialLink::waitUntilIdle() {
    // The ends of exchanges nobody waited for are of no interest.
    exchangeEnded_.drain();
    while (inExchange()) {
        // Called from inside a worker message's box (a timer firing in its
        // event loop): the exchange cannot end before that box closes, so
        // waiting here would never return. Give up instead.
        if (messages_.servingWorkerMessage()) return false;
        messages_.servePending();
        // Up to 1 ms, ended early by the worker when the exchange is over.
        const int fds[] = {exchangeEnded_.fd()};
        clock_.sleepUnlessReadable(1, fds, 1);
        exchangeEnded_.drain();
    }
    return true;
}

int SerialLink::SendCommand(std::string_view text) {
    // Only after the previous exchange has ended; refused where that wait
    // could never end.
    if (!waitUntilIdle()) return 1;

    // Refusals are shown only once linkMutex is released: a box runs an event
    // loop, and a timer firing in it may issue a command whose exchange needs
    // the lock on the worker side.
    std::vector<Message> refusals;
    const int result = queueFrame(text, refusals);
    for (const Message& m : refusals) messages_.show(m);
    return result;
}

int SerialLink::queueFrame(std::string_view text, std::vector<Message>& refusals) {
    std::lock_guard lock(linkMutex_);
    if (isOpen_.load() == 0) {
        refusals.push_back(errorBox("PORT isn't open.", "Port ERROR"));
        return 1;
    }
    if (text.empty()) return 1;

    const CommandTextCheck check = checkCommandText(text);
    for (int i = 0; i < check.badCharacters; ++i) {
        refusals.push_back(errorBox("Character error.", "Command ERROR"));
    }
    if (check.badCharacters > 0) return 1;

    answerExpected_ = expectsAnswer(check.upper[0]) ? 1 : 0;
    if (check.length < 4) {
        refusals.push_back(errorBox("Command Length error.", "Command ERROR"));
        return 1;
    }
    if (awaitingAck_.load() != 0) return 1;

    commandFrame_ = buildCommandFrame(check.upper);
    framePending_.store(1);
    frameQueued_.signal();
    return 0;
}

AnswerBytes SerialLink::TakeAnswer(const AnswerBytes& fallback) {
    std::lock_guard lock(linkMutex_);
    if (answerCount_ == 0) return fallback;
    const AnswerBytes result = ring_[ringIndex_];
    --answerCount_;
    if (answerCount_ > 0) ringIndex_ = (ringIndex_ + 1) % static_cast<int>(ring_.size());
    return result;
}

void SerialLink::clearStatus() {
    std::lock_guard lock(linkMutex_);
    status_ = 0;
}

uint32_t SerialLink::fetchAndClearStatus() {
    std::lock_guard lock(linkMutex_);
    const uint32_t copy = status_;
    status_ = 0;
    return copy;
}

uint32_t SerialLink::peekStatus() {
    std::lock_guard lock(linkMutex_);
    return status_;
}

int SerialLink::answerCount() const {
    std::lock_guard lock(linkMutex_);
    return answerCount_;
}

int SerialLink::ringIndex() const {
    std::lock_guard lock(linkMutex_);
    return ringIndex_;
}

void SerialLink::waitLinkEvent() {
    messages_.servePending();
    if (linkEvent_.waitFor(kServeSlice, kEventSpin)) return;
    for (;;) {
        messages_.servePending();
        if (linkEvent_.waitFor(kServeSlice)) return;
    }
}

bool SerialLink::waitLinkEventFor(uint32_t realMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(realMs);
    for (;;) {
        messages_.servePending();
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left <= std::chrono::milliseconds(0))
            return linkEvent_.waitFor(std::chrono::milliseconds::zero());
        if (linkEvent_.waitFor(left < kServeSlice ? left : kServeSlice)) return true;
    }
}

// --- transports ----------------------------------------------------------------

bool SerialLink::startOnComDevice(int fd) {
    if (isOpen_.load() != 0 || fd < 0) return false;
    return startWorker(std::make_unique<ComTransport>(fd));
}

// The maker's library port and the common library's port differ only in how
// they were opened; the worker uses both alike.
bool SerialLink::startOnBoardPort(const ClSerialFunctions& functions, void* serialRef) {
    if (isOpen_.load() != 0 || !functions.serialRead || !functions.serialWrite) return false;
    return startWorker(std::make_unique<ClSerialTransport>(functions, serialRef));
}

bool SerialLink::startWorker(std::unique_ptr<LinkTransport> transport) {
    transport_ = std::move(transport);
    // A half-received answer from an earlier opening must not be continued
    // with the first bytes of this one.
    parser_.reset();
    eventPending_ = 0;
    linkEvent_.reset();
    workerExited_.reset();
    isOpen_.store(1);
    try {
        worker_ = std::thread([this] { LinkWorker(); });
    } catch (const std::system_error&) {
        // No thread to be had: the link stays closed and the caller keeps
        // its port (dropping the transport does not close it).
        isOpen_.store(0);
        transport_.reset();
        return false;
    }
    return true;
}

void SerialLink::CloseLink() {
    if (isOpen_.load() != 1) return;
    isOpen_.store(0);
    if (worker_.joinable()) {
        // The worker ends at the end of its pass, which lasts as long as a
        // message box it shows: serve those while waiting.
        for (;;) {
            messages_.servePending();
            if (workerExited_.waitFor(kServeSlice)) break;
        }
        worker_.join();
    }
    if (transport_) transport_->close();
    transport_.reset();
    clearWaitingFlags();
    // A frame queued but never written would otherwise block every later
    // SendCommand, or go out unasked after the next opening.
    framePending_.store(0);
}

void SerialLink::clearWaitingFlags() {
    awaitingAck_.store(0);
    awaitingAnswer_.store(0);
}

// --- worker --------------------------------------------------------------------

void SerialLink::setStatusBits(uint32_t bits) {
    std::lock_guard lock(linkMutex_);
    status_ |= bits;
    eventPending_ = 1;
}

void SerialLink::showWorkerMessage(const char* text) {
    silentAt_.store(acks_.load() + 1);
    messages_.show(
        {.text = text, .caption = "NO RESPONSE ", .icon = MsgIcon::Warning, .systemModal = true});
}

void SerialLink::LinkWorker() {
    if (isOpen_.load() == 0) {
        workerExited_.signal();
        return;
    }
    trace(TraceEvent::Kind::Opened);
    uint8_t buffer[kReadBufferSize];
    const int inputFd = transport_ ? transport_->pollFd() : -1;
    for (;;) {
        const bool busyBefore = inExchange();
        const uint32_t count = readTransport(buffer, kReadBufferSize);

        if (count > 0) {
            std::lock_guard lock(linkMutex_);
            setStatusBits(LS_RX);
            if (awaitingAck_.load() != 0 || awaitingAnswer_.load() != 0) {
                if (ParseReceived(buffer, count) == 0) setStatusBits(LS_ANSWER_OK);
            } else {
                trace(TraceEvent::Kind::Dropped, buffer, count);
            }
        } else if (awaitingAck_.load() != 0) {
            if (ticksSince(clock_.tickMs(), lastSendTick_) > kAckTimeoutMs) {
                if (resendsLeft_ != 0) {
                    trace(TraceEvent::Kind::Resend, nullptr, 0, kResends - resendsLeft_ + 1);
                    writeTransport(commandFrame_.data(), kCommandFrameSize, kClResendTimeoutMs);
                    lastSendTick_ = clock_.tickMs();
                    --resendsLeft_;
                } else {
                    trace(TraceEvent::Kind::AckTimeout);
                    showWorkerMessage("There is no [ACK]");
                    setStatusBits(LS_ACK_TIMEOUT);
                    awaitingAnswer_.store(0);
                    awaitingAck_.store(0);
                }
            }
        } else if (awaitingAnswer_.load() != 0) {
            if (ticksSince(clock_.tickMs(), lastSendTick_) > kAnswerTimeoutMs) {
                {
                    std::lock_guard lock(linkMutex_);
                    status_ |= LS_ANSWER_TIMEOUT;
                }
                trace(TraceEvent::Kind::AnswerTimeout);
                // A frame cut off by the camera (a reset, say) never
                // completes; its bytes would swallow later replies.
                parser_.reset();
                // The waiting caller goes on while the box is still up.
                linkEvent_.signal();
                showWorkerMessage("There is no [ANSWER DATA]");
                awaitingAnswer_.store(0);
            }
        } else if (framePending_.load() != 0) {
            // Whatever came before belongs to an exchange that is over.
            parser_.reset();
            writeTransport(commandFrame_.data(), kCommandFrameSize, kClFirstWriteTimeoutMs);
            lastSendTick_ = clock_.tickMs();
            resendsLeft_ = kResends;
            awaitingAck_.store(1);
            if (answerExpected_ != 0) awaitingAnswer_.store(1);
            framePending_.store(0);
        }

        if (eventPending_ != 0) {
            eventPending_ = 0;
            linkEvent_.signal();
        }
        const bool ended = busyBefore && !inExchange();
        if (ended) exchangeEnded_.signal();
        // The pass's 1 ms sleep, cut short by input on the COM device or a
        // newly queued frame: the rules above all go by the tick, so only
        // the delay before a reply or a frame is handled gets shorter. Right
        // after an exchange the caller usually queues the next frame within
        // microseconds: watch for it before going to sleep.
        const int fds[] = {inputFd, frameQueued_.fd()};
        if (!ended || !clock_.spinUntilReadable(kWorkerSpinUs, fds, 2))
            clock_.sleepUnlessReadable(1, fds, 2);
        frameQueued_.drain();
        if (isOpen_.load() == 0) break;
    }
    workerExited_.signal();
}

int SerialLink::ParseReceived(const uint8_t* data, size_t count) {
    std::lock_guard lock(linkMutex_);
    int result = 1;
    // The trace is told of each run of bytes the parser passed over.
    size_t dropFrom = count;
    for (size_t i = 0; i < count; ++i) {
        const AnswerEvent event = parser_.feed(data[i], awaitingAck_.load() != 0);
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
                awaitingAck_.store(0);
                acks_.fetch_add(1, std::memory_order_relaxed);
                setStatusBits(LS_ACK);
                trace(TraceEvent::Kind::Ack);
                break;
            case AnswerEvent::Kind::Nak:
                awaitingAck_.store(0);
                trace(TraceEvent::Kind::Nak);
                break;
            case AnswerEvent::Kind::Answer: {
                const bool good = event.checksumGood;
                trace(good ? TraceEvent::Kind::Answer : TraceEvent::Kind::BadChecksum,
                      event.bytes.data(), event.bytes.size());
                const uint8_t reply = good ? ACK : NAK;
                if (good) {
                    // The answer replaces any unread one.
                    ring_[0] = event.bytes;
                    answerCount_ = 1;
                    ringIndex_ = 0;
                }
                writeTransport(&reply, 1, kClReplyTimeoutMs);
                if (good) awaitingAnswer_.store(0);
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
uint32_t SerialLink::readTransport(uint8_t* buffer, uint32_t count) {
    if (!transport_) return 0;
    const uint32_t n = transport_->read(buffer, count);
    if (n > 0) trace(TraceEvent::Kind::Received, buffer, n);
    return n;
}

void SerialLink::writeTransport(const uint8_t* data, uint32_t count, uint32_t timeoutMs) {
    trace(TraceEvent::Kind::Sent, data, count);
    if (transport_) transport_->write(data, count, timeoutMs);
}

void SerialLink::trace(TraceEvent::Kind kind, const uint8_t* data, size_t count, int number) {
    if (!trace_) return;
    trace_(TraceEvent{kind, clock_.tickMs(), data, count, number});
}

}  // namespace zr
