#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "link/AnswerParser.h"
#include "link/Clock.h"
#include "link/LinkShared.h"
#include "link/LinkTransport.h"
#include "link/MessageRelay.h"
#include "link/TraceEvent.h"
#include "link/WakeSignal.h"

namespace zr {

// The link's worker thread: it alone reads and writes the port. It writes
// the queued frame, waits for ACK, resends, times out, replies to answer
// frames and posts status bits. Between passes it sleeps until something can
// happen: input on the port, a queued frame or a close (the wake signal), or
// the next deadline of the exchange in flight. A Camera Link library has no
// descriptor: there the library's read, with its own short time-out, is the
// wait.
class LinkWorker {
  public:
    using TraceHook = std::function<void(const TraceEvent& event)>;

    LinkWorker(LinkShared& shared, MessageRelay& messages, Clock& clock, const TraceHook& trace)
        : s_(shared), messages_(messages), clock_(clock), trace_(trace) {}
    ~LinkWorker();  // the owner stops and joins the thread first
    LinkWorker(const LinkWorker&) = delete;
    LinkWorker& operator=(const LinkWorker&) = delete;

    // Runs the thread over `transport` (isOpen must already be 1). False,
    // with the transport handed back untouched, when no thread could be had.
    bool start(std::unique_ptr<LinkTransport>& transport);
    // A thread runs or has run and was not joined yet.
    bool started() const { return thread_.joinable(); }
    bool exited() const { return exited_.load(); }
    // Readable once the thread has ended.
    int exitedFd() const { return exitedSignal_.fd(); }
    // Joins the ended thread and closes its port, unless it closed it itself.
    void join();
    // For a close asked for while the thread is held by its own message box:
    // it ends when the box closes and then closes its port itself.
    void closePortWhenEnded() { closePortOnExit_.store(true); }

    // Consumes received bytes; 0 good answer completed, -1 bad checksum, 1
    // otherwise. Called by the thread with the lock held; a test or fuzzer
    // may call it directly only while no thread runs.
    int ParseReceived(const uint8_t* data, size_t count);
    const AnswerParser& parser() const { return parser_; }

  private:
    void run();
    void runPasses(uint8_t* buffer, uint32_t size);
    // How long the thread may sleep after a pass: 0 when a frame waits,
    // up to the next resend or time-out, kForever when nothing is in flight.
    uint32_t msToNextDeadline();
    void setStatusBits(uint32_t bits);  // under the lock, also eventPending
    void endPass();
    uint32_t readTransport(uint8_t* buffer, uint32_t count);
    void writeTransport(const uint8_t* data, uint32_t count, uint32_t timeoutMs);
    void showWorkerMessage(const char* text);
    void trace(TraceEvent::Kind kind, const uint8_t* data = nullptr, size_t count = 0,
               int number = 0);

    LinkShared& s_;
    MessageRelay& messages_;
    Clock& clock_;
    const TraceHook& trace_;

    std::unique_ptr<LinkTransport> transport_;
    std::thread thread_;
    std::atomic<bool> exited_{false};
    std::atomic<bool> closePortOnExit_{false};
    WakeSignal exitedSignal_;

    // The thread's own state.
    uint8_t resendsLeft_ = 0;
    uint32_t lastSendTick_ = 0;
    AnswerParser parser_;
    int eventPending_ = 0;
    bool busyBefore_ = false;
    // The port's descriptor hung up (a pulled adapter): waits leave it out,
    // so that it cannot wake every wait at once.
    bool inputBroken_ = false;
};

}  // namespace zr
