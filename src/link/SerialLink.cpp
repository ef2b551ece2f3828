#include "link/SerialLink.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>
#include <vector>

#include "link/FrameCodec.h"
#include "link/LinkStatus.h"

namespace zr {

namespace {

constexpr size_t kReadBufferSize = 100;
constexpr size_t kReadBufferSlack = 412;
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
// Upper bound for one frame write to a COM device whose output is full.
constexpr int kComWriteLimitMs = 1000;

Message errorBox(const char* text, const char* caption) {
    Message m;
    m.text = text;
    m.caption = caption;
    m.icon = MsgIcon::Error;
    return m;
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
    // framePending is read first: the worker raises awaitingAck before it
    // drops framePending, so the three reads never see an exchange in flight
    // as idle. The ends of exchanges nobody waited for are of no interest.
    exchangeEnded_.drain();
    while (framePending_.load() != 0 || awaitingAck_.load() != 0 || awaitingAnswer_.load() != 0) {
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
    comHandle_ = fd;
    return startWorker(Transport::Com);
}

bool SerialLink::startOnBoardPort(const ClSerialFunctions& functions, void* serialRef) {
    if (isOpen_.load() != 0 || !functions.serialRead || !functions.serialWrite) return false;
    boardFns_ = functions;
    boardPort_ = serialRef;
    return startWorker(Transport::Board);
}

bool SerialLink::startOnClPort(const ClSerialFunctions& functions, void* serialRef) {
    if (isOpen_.load() != 0 || !functions.serialRead || !functions.serialWrite) return false;
    clFns_ = functions;
    clPort_ = serialRef;
    return startWorker(Transport::ClAll);
}

bool SerialLink::startWorker(Transport transport) {
    transport_ = transport;
    // A half-received answer from an earlier opening must not be continued
    // with the first bytes of this one.
    dropPartialAnswer();
    eventPending_ = 0;
    linkEvent_.reset();
    workerExited_.reset();
    isOpen_.store(1);
    try {
        worker_ = std::thread([this] { LinkWorker(); });
    } catch (const std::system_error&) {
        // No thread to be had: the link stays closed and the caller keeps
        // its transport.
        isOpen_.store(0);
        transport_ = Transport::None;
        comHandle_ = -1;
        boardPort_ = nullptr;
        clPort_ = nullptr;
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
    closeTransport();
    clearWaitingFlags();
    // A frame queued but never written would otherwise block every later
    // SendCommand, or go out unasked after the next opening.
    framePending_.store(0);
}

void SerialLink::closeTransport() {
    switch (transport_) {
        case Transport::Board:
            if (boardFns_.serialClose) boardFns_.serialClose(boardPort_);
            break;
        case Transport::ClAll:
            if (clFns_.serialClose) clFns_.serialClose(clPort_);
            break;
        case Transport::Com:
            if (comHandle_ >= 0) {
                // Exclusive mode can outlive the close (a pseudo-terminal keeps
                // it) and would lock out the next opener.
                ::ioctl(comHandle_, TIOCNXCL);
                ::close(comHandle_);
            }
            break;
        case Transport::None:
            break;
    }
    transport_ = Transport::None;
    comHandle_ = -1;
    boardPort_ = nullptr;
    clPort_ = nullptr;
    boardFns_ = {};
    clFns_ = {};
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
    Message m;
    m.text = text;
    m.caption = "NO RESPONSE ";
    m.icon = MsgIcon::Warning;
    m.systemModal = true;
    messages_.show(m);
}

void SerialLink::LinkWorker() {
    if (isOpen_.load() == 0) {
        workerExited_.signal();
        return;
    }
    // Room behind the 100 bytes offered, for a library that writes past them.
    uint8_t buffer[kReadBufferSize + kReadBufferSlack];
    for (;;) {
        const bool busyBefore = exchangeRunning();
        uint32_t count = 0;
        readTransport(buffer, count);

        if (count > 0) {
            std::lock_guard lock(linkMutex_);
            setStatusBits(LS_RX);
            if (awaitingAck_.load() != 0 || awaitingAnswer_.load() != 0) {
                if (ParseReceived(buffer, count) == 0) setStatusBits(LS_ANSWER_OK);
            }
        } else if (awaitingAck_.load() != 0) {
            if (ticksSince(clock_.tickMs(), lastSendTick_) > kAckTimeoutMs) {
                if (resendsLeft_ != 0) {
                    writeTransport(commandFrame_.data(), kCommandFrameSize, kClResendTimeoutMs);
                    lastSendTick_ = clock_.tickMs();
                    --resendsLeft_;
                } else {
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
                // A frame cut off by the camera (a reset, say) never
                // completes; its bytes would swallow later replies.
                dropPartialAnswer();
                // The waiting caller goes on while the box is still up.
                linkEvent_.signal();
                showWorkerMessage("There is no [ANSWER DATA]");
                awaitingAnswer_.store(0);
            }
        } else if (framePending_.load() != 0) {
            // Whatever came before belongs to an exchange that is over.
            dropPartialAnswer();
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
        const bool ended = busyBefore && !exchangeRunning();
        if (ended) exchangeEnded_.signal();
        // The pass's 1 ms sleep, cut short by input on the COM device or a
        // newly queued frame: the rules above all go by the tick, so only
        // the delay before a reply or a frame is handled gets shorter. Right
        // after an exchange the caller usually queues the next frame within
        // microseconds: watch for it before going to sleep.
        const int fds[] = {transport_ == Transport::Com ? comHandle_ : -1, frameQueued_.fd()};
        if (!ended || !clock_.spinUntilReadable(kWorkerSpinUs, fds, 2))
            clock_.sleepUnlessReadable(1, fds, 2);
        frameQueued_.drain();
        if (isOpen_.load() == 0) break;
    }
    workerExited_.signal();
}

void SerialLink::dropPartialAnswer() {
    inAnswerFrame_ = 0;
    answerPos_ = 0;
}

int SerialLink::ParseReceived(const uint8_t* data, size_t count) {
    std::lock_guard lock(linkMutex_);
    int result = 1;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t byte = data[i];
        if (inAnswerFrame_ == 0) {
            if (byte == ACK) {
                awaitingAck_.store(0);
                setStatusBits(LS_ACK);
            } else if (byte == NAK) {
                awaitingAck_.store(0);
            } else if (byte == STX && awaitingAck_.load() == 0) {
                // The camera answers only after its ACK: a frame that starts
                // before it is a late answer to an earlier read, and taking
                // it would hand that register's value to this read.
                inAnswerFrame_ = 1;
                answerPos_ = 0;
            }
            continue;
        }
        if (answerPos_ < 7) {
            answerChars_[answerPos_++] = byte;
            continue;
        }
        if (answerPos_ == 7) {
            answerSum_[0] = byte;
            answerPos_ = 8;
            continue;
        }
        answerSum_[1] = byte;
        answerPos_ = 9;
        const auto received =
            static_cast<uint8_t>(hexDigitValue(answerSum_[0]) * 16 + hexDigitValue(answerSum_[1]));
        unsigned sum = STX;
        for (uint8_t c : answerChars_) sum += c;
        const auto expected = static_cast<uint8_t>(~sum & 0xFF);
        const uint8_t reply = received == expected ? ACK : NAK;
        if (received == expected) DecodeAnswer();
        writeTransport(&reply, 1, kClReplyTimeoutMs);
        if (received == expected) awaitingAnswer_.store(0);
        setStatusBits(LS_ANSWER_DONE);
        result = received == expected ? 0 : -1;
        inAnswerFrame_ = 0;
    }
    return result;
}

void SerialLink::DecodeAnswer() {
    answerCount_ = 0;
    ringIndex_ = 0;
    AnswerBytes& entry = ring_[0];
    for (size_t i = 0; i < entry.size(); ++i) {
        entry[i] = static_cast<uint8_t>(hexDigitValue(answerChars_[2 * i]) * 16 +
                                        hexDigitValue(answerChars_[2 * i + 1]));
    }
    ++answerCount_;
}

// Transport of a pass: the maker's library port, else the common library's
// port, else the COM device (nullptr here).
const ClSerialFunctions* SerialLink::libraryTransport(void*& ref) const {
    if (transport_ == Transport::Board) {
        ref = boardPort_;
        return &boardFns_;
    }
    if (transport_ == Transport::ClAll) {
        ref = clPort_;
        return &clFns_;
    }
    return nullptr;
}

void SerialLink::readTransport(uint8_t* buffer, uint32_t& count) {
    count = 0;
    void* ref = nullptr;
    const ClSerialFunctions* fns = libraryTransport(ref);
    if (fns) {
        uint32_t size = kClReadSize;
        const int32_t result =
            fns->serialRead(ref, reinterpret_cast<int8_t*>(buffer), &size, kClReadTimeoutMs);
        // Some libraries fail a read that found nothing (a time-out) and leave
        // the size as it was passed in. Those 100 bytes would be an earlier
        // pass's bytes, parsed again, and a pass with bytes never writes or
        // times out, so the link would stall for good: nothing was read.
        if (result != 0 && size == kClReadSize) size = 0;
        // A library that claims more than the buffer holds is not believed.
        count = size <= kClReadSize ? size : kClReadSize;
        if (trace_ && count > 0) trace_(false, buffer, count);
        return;
    }
    if (transport_ == Transport::Com && comHandle_ >= 0) {
        // Non-blocking: nothing there, a hang-up (0) and an error such as EIO
        // from a vanished device all count as no bytes; the pass goes on and
        // the exchange ends in its time-out.
        const ssize_t n = ::read(comHandle_, buffer, kReadBufferSize);
        count = n > 0 ? static_cast<uint32_t>(n) : 0;
        if (trace_ && count > 0) trace_(false, buffer, count);
    }
}

void SerialLink::writeTransport(const uint8_t* data, uint32_t count, uint32_t timeoutMs) {
    if (trace_) trace_(true, data, count);
    void* ref = nullptr;
    const ClSerialFunctions* fns = libraryTransport(ref);
    if (fns) {
        // The library gets a copy: its buffer parameter is not const.
        int8_t copy[kCommandFrameSize];
        for (uint32_t i = 0; i < count && i < sizeof copy; ++i)
            copy[i] = static_cast<int8_t>(data[i]);
        uint32_t size = count;
        fns->serialWrite(ref, copy, &size, timeoutMs);
        return;
    }
    if (transport_ == Transport::Com) writeCom(data, count);
}

// One synchronous write on the non-blocking descriptor: waits for room while
// the output is full, gives up on an error or after kComWriteLimitMs.
void SerialLink::writeCom(const uint8_t* data, uint32_t count) {
    if (comHandle_ < 0) return;
    uint32_t done = 0;
    int waitedMs = 0;
    while (done < count) {
        const ssize_t n = ::write(comHandle_, data + done, count - done);
        if (n > 0) {
            done += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return;
        if (waitedMs >= kComWriteLimitMs) return;
        pollfd p{comHandle_, POLLOUT, 0};
        const int ready = ::poll(&p, 1, 10);
        waitedMs += 10;
        if (ready > 0 && (p.revents & (POLLERR | POLLHUP | POLLNVAL))) return;
    }
}

}  // namespace zr
