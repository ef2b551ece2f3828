#include "link/SerialLink.h"

#include <algorithm>
#include <chrono>

#include "link/ClSerialTransport.h"
#include "link/ComTransport.h"
#include "link/FrameCodec.h"
#include "link/PollWait.h"

namespace zr {

namespace {

using Steady = std::chrono::steady_clock;

// A wait whose signal has no descriptor (its creation failed) looks again
// this often rather than sleeping for good.
constexpr int kNoSignalLimitMs = 10;

Message errorBox(const char* text, const char* caption) {
    return {text, caption, MsgIcon::Error};
}

}  // namespace

SerialLink::SerialLink(MessageRelay& messages, Clock& clock) : messages_(messages), clock_(clock) {
    comPorts_.fill(-1);
}

SerialLink::~SerialLink() {
    CloseLink();
    // A close put off inside the worker's box: the worker ends when the box
    // closes, and must not outlive the link.
    waitForWorkerExit();
    worker_.join();
}

// --- waits -------------------------------------------------------------------

bool SerialLink::waitServing(WakeSignal& signal, int realMs, bool whileOpen) {
    const auto deadline = Steady::now() + std::chrono::milliseconds(realMs < 0 ? 0 : realMs);
    for (;;) {
        messages_.servePending();
        // A closed link has nothing more to wait for, whatever its worker
        // still signals on its way out.
        if (whileOpen && !isOpen()) return false;
        if (signal.take()) return true;
        int left = -1;
        if (realMs >= 0) {
            const auto rest =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Steady::now()).count();
            if (rest <= 0) return false;
            left = static_cast<int>(rest);
        }
        if (signal.fd() < 0) left = left < 0 ? kNoSignalLimitMs : std::min(left, kNoSignalLimitMs);
        const int fds[] = {signal.fd(), messages_.pendingFd()};
        pollDescriptors(fds, 2, left);
    }
}

bool SerialLink::waitUntilIdle() {
    for (;;) {
        // Taken before the flags are looked at: an exchange that ends from
        // now on signals again.
        s_.exchangeEnded.take();
        if (!inExchange()) return true;
        // Called from inside a worker message's box (a timer firing in its
        // event loop): the exchange cannot end before that box closes, so
        // waiting here would never return. Give up instead.
        if (messages_.servingWorkerMessage()) return false;
        const int fds[] = {s_.exchangeEnded.fd(), messages_.pendingFd()};
        pollDescriptors(fds, 2, s_.exchangeEnded.fd() < 0 ? kNoSignalLimitMs : -1);
        messages_.servePending();
    }
}

bool SerialLink::waitLinkEvent() {
    return waitServing(s_.linkEvent, -1, true);
}

bool SerialLink::waitLinkEventFor(uint32_t realMs) {
    return waitServing(s_.linkEvent, static_cast<int>(std::min<uint32_t>(realMs, INT32_MAX)),
                       false);
}

uint32_t SerialLink::waitForStatus(uint32_t ends) {
    s_.wakeBits.store(ends);
    uint32_t seen = 0;
    for (;;) {
        seen |= fetchAndClearStatus();
        if ((seen & ends) != 0) break;
        if (!waitLinkEvent()) {
            seen |= fetchAndClearStatus();
            break;
        }
    }
    s_.wakeBits.store(0);
    // Bits that came in while only `ends` woke the caller are signalled now,
    // so that the next waiter finds the event as it would have.
    if (peekStatus() != 0) s_.linkEvent.signal();
    return seen;
}

// --- callers' side -----------------------------------------------------------

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
    std::lock_guard lock(s_.mutex);
    if (s_.isOpen.load() == 0) {
        refusals.push_back(errorBox("PORT isn't open.", "Port ERROR"));
        return 1;
    }
    if (text.empty()) return 1;

    const CommandTextCheck check = checkCommandText(text);
    for (int i = 0; i < check.badCharacters; ++i) {
        refusals.push_back(errorBox("Character error.", "Command ERROR"));
    }
    if (check.badCharacters > 0) return 1;

    s_.answerExpected = expectsAnswer(check.upper[0]) ? 1 : 0;
    if (check.length < 4) {
        refusals.push_back(errorBox("Command Length error.", "Command ERROR"));
        return 1;
    }
    if (s_.awaitingAck.load() != 0) return 1;

    s_.commandFrame = buildCommandFrame(check.upper);
    s_.framePending.store(1);
    s_.workerWake.signal();
    return 0;
}

AnswerBytes SerialLink::TakeAnswer(const AnswerBytes& fallback) {
    std::lock_guard lock(s_.mutex);
    return s_.ring.take(fallback);
}

void SerialLink::clearStatus() {
    std::lock_guard lock(s_.mutex);
    s_.status = 0;
}

uint32_t SerialLink::fetchAndClearStatus() {
    std::lock_guard lock(s_.mutex);
    const uint32_t copy = s_.status;
    s_.status = 0;
    return copy;
}

uint32_t SerialLink::peekStatus() {
    std::lock_guard lock(s_.mutex);
    return s_.status;
}

int SerialLink::answerCount() const {
    std::lock_guard lock(s_.mutex);
    return s_.ring.count();
}

int SerialLink::ringIndex() const {
    std::lock_guard lock(s_.mutex);
    return s_.ring.index();
}

// --- transports ----------------------------------------------------------------

bool SerialLink::startOnComDevice(int fd) {
    if (isOpen() || fd < 0) return false;
    std::unique_ptr<LinkTransport> transport = std::make_unique<ComTransport>(fd);
    return startWorker(transport);
}

// The maker's library port and the common library's port differ only in how
// they were opened; the worker uses both alike.
bool SerialLink::startOnBoardPort(const ClSerialFunctions& functions, void* serialRef) {
    if (isOpen() || !functions.serialRead || !functions.serialWrite) return false;
    std::unique_ptr<LinkTransport> transport =
        std::make_unique<ClSerialTransport>(functions, serialRef);
    return startWorker(transport);
}

bool SerialLink::startOnTransport(std::unique_ptr<LinkTransport>& transport) {
    if (isOpen() || !transport) return false;
    return startWorker(transport);
}

bool SerialLink::startWorker(std::unique_ptr<LinkTransport>& transport) {
    // Dropping the transport on a refusal leaves its port open: it stays
    // the caller's.
    if (!reapClosedWorker()) return false;
    s_.linkEvent.take();
    s_.exchangeEnded.take();
    s_.workerWake.take();
    // The status display speaks of this port only.
    s_.acks.store(0);
    s_.silentAt.store(0);
    s_.isOpen.store(1);
    if (!worker_.start(transport)) {
        s_.isOpen.store(0);
        return false;
    }
    return true;
}

bool SerialLink::reapClosedWorker() {
    if (!worker_.started()) return true;
    // Held by its own box, the worker cannot end before that box closes.
    if (!worker_.exited() && messages_.servingWorkerMessage()) return false;
    waitForWorkerExit();
    worker_.join();
    return true;
}

void SerialLink::waitForWorkerExit() {
    // The worker ends at the end of its pass, which lasts as long as a
    // message box it shows: serve those while waiting.
    while (worker_.started() && !worker_.exited()) {
        messages_.servePending();
        const int fds[] = {worker_.exitedFd(), messages_.pendingFd()};
        pollDescriptors(fds, 2, worker_.exitedFd() < 0 ? kNoSignalLimitMs : -1);
    }
}

void SerialLink::CloseLink() {
    if (s_.isOpen.load() != 1) return;
    s_.isOpen.store(0);
    s_.workerWake.signal();
    if (messages_.servingWorkerMessage()) {
        // The worker waits for the box this call runs inside of: it ends, and
        // closes its port, once the box closes. The link is closed for its
        // callers now, and their waits end.
        worker_.closePortWhenEnded();
        clearExchange();
        s_.linkEvent.signal();
        s_.exchangeEnded.signal();
        return;
    }
    waitForWorkerExit();
    worker_.join();
    clearExchange();
}

void SerialLink::clearExchange() {
    clearWaitingFlags();
    // A frame queued but never written would otherwise block every later
    // SendCommand, or go out unasked after the next opening.
    s_.framePending.store(0);
}

void SerialLink::clearWaitingFlags() {
    s_.awaitingAck.store(0);
    s_.awaitingAnswer.store(0);
}

}  // namespace zr
