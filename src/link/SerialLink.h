#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "link/AnswerParser.h"
#include "link/ClSerialApi.h"
#include "link/Clock.h"
#include "link/LinkShared.h"
#include "link/LinkTransport.h"
#include "link/LinkWorker.h"
#include "link/MessageRelay.h"
#include "link/TraceEvent.h"

namespace zr {

// The one serial link to the camera, as its callers see it: SendCommand
// frames a command text and queues it for the worker (LinkWorker), the
// status word and link event tell what happened, TakeAnswer hands over the
// answer, and the start and close calls run the worker over a port.
//
// These calls run on the thread that serves the user interface. Every wait
// among them sleeps until its event, and serves the worker's message boxes
// meanwhile; each also ends when the link closes.
class SerialLink {
  public:
    explicit SerialLink(MessageRelay& messages, Clock& clock);
    ~SerialLink();  // closes the link: the worker never outlives it
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    // --- callers' side -------------------------------------------------
    // 0: frame built and queued for the worker; 1: refused (messages shown).
    int SendCommand(std::string_view text);
    // The next unread answer, or fallback when none is unread.
    AnswerBytes TakeAnswer(const AnswerBytes& fallback);
    void clearStatus();              // under linkMutex: status = 0
    uint32_t fetchAndClearStatus();  // under linkMutex: copy status, set it to 0
    // Waits until no exchange runs, serving worker messages meanwhile, and is
    // woken by the worker when one ends. False, at once, when called inside a
    // worker message's box, where the exchange cannot end.
    bool waitUntilIdle();
    // True while an exchange runs: a frame is queued, or its ACK or answer is
    // awaited. Ask this rather than combining the three flags.
    bool inExchange() const { return s_.inExchange(); }
    // Waits on linkEvent without a time-out, serving worker messages
    // meanwhile: true when it was signalled (and is thereby reset), false at
    // once when the link is closed.
    bool waitLinkEvent();
    // The reading caller's wait: waits on linkEvent and takes the status
    // (copied and cleared under linkMutex) until it holds one of `ends`, and
    // returns every bit seen. The worker wakes it only for those bits. Ends
    // early, with what was seen, when the link closes.
    uint32_t waitForStatus(uint32_t ends);
    std::recursive_mutex& linkMutex() { return s_.mutex; }
    bool isOpen() const { return s_.isOpen.load() != 0; }
    // For a status display that polls: ACKs received since the port was
    // opened, and whether a time-out box came after the last of them. Cheap;
    // no lock.
    uint64_t acknowledgedExchanges() const { return s_.acks.load(std::memory_order_relaxed); }
    bool silentSinceLastAck() const { return s_.silentAt.load() == s_.acks.load() + 1; }

    // --- transports ------------------------------------------------------
    // Start the worker over one transport (linkEvent reset, isOpen 1). Refused
    // (false) while the link is open or a closed link's worker still waits
    // for its box, so one link never runs two workers, and for a negative fd
    // or a table without read or write; the transport then stays the
    // caller's. Once started the link owns it: CloseLink closes the fd or
    // calls clSerialClose. A null serial reference is a valid port.
    bool startOnComDevice(int fd);
    // A Camera Link serial port, of a maker's library or the common one.
    bool startOnBoardPort(const ClSerialFunctions& functions, void* serialRef);
    // Any other port (a network serial port, say); refused, it stays in
    // `transport`.
    bool startOnTransport(std::unique_ptr<LinkTransport>& transport);
    // Ends the worker and closes the port. Asked for inside the worker's own
    // box (whose event loop runs timers and posted messages) it cannot wait
    // for the worker: the link closes at once for its callers, and the
    // worker ends and closes the port when the box closes.
    void CloseLink();
    // Clear the two waiting flags, as every open operation ends by doing.
    void clearWaitingFlags();

    // Sees every byte the worker writes or reads (Sent, Received) and what it
    // made of them, on the worker thread; it must not block. Set it while the
    // link is closed.
    using TraceHook = LinkWorker::TraceHook;
    void setTrace(TraceHook hook) { trace_ = std::move(hook); }

    std::array<int, 255>& comPorts() { return comPorts_; }
    MessageRelay& messages() { return messages_; }
    Clock& clock() { return clock_; }

    // --- engine internals, public for tests and the fuzzer -----------------
    // Consumes received bytes as the worker does; only while no worker runs.
    int ParseReceived(const uint8_t* data, size_t count) {
        return worker_.ParseReceived(data, count);
    }
    const std::array<uint8_t, 18>& commandFrame() const { return s_.commandFrame; }
    // The parser state below is the worker's: read it only while no worker runs.
    int answerPos() const { return worker_.parser().position(); }
    bool inAnswerFrame() const { return worker_.parser().inFrame(); }
    int answerCount() const;  // under linkMutex
    int ringIndex() const;    // under linkMutex
    bool framePending() const { return s_.framePending.load() != 0; }
    bool awaitingAck() const { return s_.awaitingAck.load() != 0; }
    bool awaitingAnswer() const { return s_.awaitingAnswer.load() != 0; }
    bool answerExpected() const { return s_.answerExpected != 0; }
    uint32_t peekStatus();
    // Waits on linkEvent at most `realMs` milliseconds of real time, serving
    // worker messages meanwhile; true when the event was signalled (and is
    // thereby reset). With 0 it only looks.
    bool waitLinkEventFor(uint32_t realMs);

  private:
    // SendCommand's checks and frame build under linkMutex; the messages of a
    // refusal are collected, not shown.
    int queueFrame(std::string_view text, std::vector<Message>& refusals);
    bool startWorker(std::unique_ptr<LinkTransport>& transport);
    // Sleeps until `signal` is set (taking it: true), the time is up or, when
    // `whileOpen`, the link has closed (false), serving worker messages.
    bool waitServing(WakeSignal& signal, int realMs, bool whileOpen);
    // Joins a worker whose close was put off until its box closed, waiting
    // for it to end; false, at once, inside that box.
    bool reapClosedWorker();
    void waitForWorkerExit();
    void clearExchange();

    MessageRelay& messages_;
    Clock& clock_;
    TraceHook trace_;
    LinkShared s_;
    LinkWorker worker_{s_, messages_, clock_, trace_};
    std::array<int, 255> comPorts_{};
};

}  // namespace zr
