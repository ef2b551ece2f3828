#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "link/AnswerParser.h"
#include "link/AutoResetEvent.h"
#include "link/ClSerialApi.h"
#include "link/Clock.h"
#include "link/LinkTransport.h"
#include "link/MessageRelay.h"
#include "link/TraceEvent.h"
#include "link/WakeSignal.h"

namespace zr {

// The one serial link to the camera: framing, the worker thread that writes,
// waits for ACK, resends, times out and collects answers, and the status word
// and event through which callers learn what happened.
//
// GUI-side calls (SendCommand, TakeAnswer, the status calls, waitLinkEvent,
// the start and close calls) run on the thread that serves the user interface;
// every wait among them serves pending worker messages.
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
    // awaited. framePending is read first: the worker raises awaitingAck
    // before it drops framePending, so an exchange in flight never reads as
    // idle. Ask this rather than combining the three flags.
    bool inExchange() const {
        return framePending_.load() != 0 || awaitingAck_.load() != 0 || awaitingAnswer_.load() != 0;
    }
    // Waits on linkEvent without a time-out, serving worker messages meanwhile.
    void waitLinkEvent();
    std::recursive_mutex& linkMutex() { return linkMutex_; }
    bool isOpen() const { return isOpen_.load(); }
    // For a status display that polls: ACKs received so far, and whether a
    // time-out box came after the last of them. Cheap; no lock.
    uint64_t acknowledgedExchanges() const { return acks_.load(std::memory_order_relaxed); }
    bool silentSinceLastAck() const { return silentAt_.load() == acks_.load() + 1; }

    // --- transports ------------------------------------------------------
    // Start the worker over one transport (linkEvent reset, isOpen 1). Refused
    // (false) while the link is open, so one link never runs two workers, and
    // for a negative fd or a table without read or write; the transport then
    // stays the caller's. Once started the link owns it: CloseLink closes the
    // fd or calls clSerialClose. A null serial reference is a valid port.
    bool startOnComDevice(int fd);
    // A Camera Link serial port, of a maker's library or the common one.
    bool startOnBoardPort(const ClSerialFunctions& functions, void* serialRef);
    void CloseLink();
    // Clear the two waiting flags, as every open operation ends by doing.
    void clearWaitingFlags();

    // Sees every byte the worker writes or reads (Sent, Received) and what it
    // made of them, on the worker thread; it must not block. Set it while the
    // link is closed.
    using TraceHook = std::function<void(const TraceEvent& event)>;
    void setTrace(TraceHook hook) { trace_ = std::move(hook); }

    std::array<int, 255>& comPorts() { return comPorts_; }
    MessageRelay& messages() { return messages_; }
    Clock& clock() { return clock_; }

    // --- engine internals, public for tests and the fuzzer -----------------
    // Consumes received bytes; 0 good answer completed, -1 bad checksum, 1
    // otherwise. Called by the worker with linkMutex held; a test or fuzzer
    // may call it directly only while no worker runs.
    int ParseReceived(const uint8_t* data, size_t count);
    const std::array<uint8_t, 18>& commandFrame() const { return commandFrame_; }
    // The parser state below is the worker's: read it only while no worker runs.
    int answerPos() const { return parser_.position(); }
    bool inAnswerFrame() const { return parser_.inFrame(); }
    int answerCount() const;  // under linkMutex
    int ringIndex() const;    // under linkMutex
    bool framePending() const { return framePending_.load() != 0; }
    bool awaitingAck() const { return awaitingAck_.load() != 0; }
    bool awaitingAnswer() const { return awaitingAnswer_.load() != 0; }
    bool answerExpected() const { return answerExpected_ != 0; }
    uint32_t peekStatus();
    // Waits on linkEvent at most `realMs` milliseconds of real time, serving
    // worker messages meanwhile; true when the event was signalled (and is
    // thereby reset). With 0 it only looks.
    bool waitLinkEventFor(uint32_t realMs);

  private:
    void LinkWorker();
    // SendCommand's checks and frame build under linkMutex; the messages of a
    // refusal are collected, not shown.
    int queueFrame(std::string_view text, std::vector<Message>& refusals);
    bool startWorker(std::unique_ptr<LinkTransport> transport);
    void setStatusBits(uint32_t bits);  // under the lock, also eventPending
    uint32_t readTransport(uint8_t* buffer, uint32_t count);
    void writeTransport(const uint8_t* data, uint32_t count, uint32_t timeoutMs);
    void showWorkerMessage(const char* text);
    void trace(TraceEvent::Kind kind, const uint8_t* data = nullptr, size_t count = 0,
               int number = 0);

    MessageRelay& messages_;
    TraceHook trace_;
    Clock& clock_;

    std::atomic<int> isOpen_{0};
    // The port the worker reads and writes, null while the link is closed.
    // Written only while no worker runs.
    std::unique_ptr<LinkTransport> transport_;
    std::thread worker_;
    AutoResetEvent workerExited_;
    std::array<int, 255> comPorts_{};

    // AnswerRing, under linkMutex.
    std::array<AnswerBytes, 10> ring_{};
    int answerCount_ = 0;
    int ringIndex_ = 0;

    // Written by SendCommand only while no exchange runs; the worker reads
    // them only while one runs. The seq_cst flags order the two.
    std::array<uint8_t, 18> commandFrame_{};
    int answerExpected_ = 0;
    std::atomic<int> framePending_{0};
    std::atomic<int> awaitingAck_{0};
    std::atomic<int> awaitingAnswer_{0};
    std::atomic<uint64_t> acks_{0};
    std::atomic<uint64_t> silentAt_{0};  // acks_ + 1 at the last time-out, 0 none

    // Worker only.
    uint8_t resendsLeft_ = 0;
    uint32_t lastSendTick_ = 0;
    AnswerParser parser_;
    int eventPending_ = 0;

    uint32_t status_ = 0;  // under linkMutex
    mutable std::recursive_mutex linkMutex_;
    AutoResetEvent linkEvent_;
    // Wake the worker when a frame is queued, and a waiting SendCommand when
    // an exchange has ended, instead of letting each sleep out its 1 ms.
    WakeSignal frameQueued_;
    WakeSignal exchangeEnded_;
};

}  // namespace zr
