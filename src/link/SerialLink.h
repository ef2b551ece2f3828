#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>
#include <thread>

#include "link/AutoResetEvent.h"
#include "link/ClSerialApi.h"
#include "link/Clock.h"
#include "link/MessageRelay.h"

namespace zr {

using AnswerBytes = std::array<uint8_t, 3>;

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
    void clearStatus();             // under linkMutex: status = 0
    uint32_t fetchAndClearStatus();  // under linkMutex: copy status, set it to 0
    // Waits on linkEvent without a time-out, serving worker messages meanwhile.
    void waitLinkEvent();
    std::recursive_mutex& linkMutex() { return linkMutex_; }
    bool isOpen() const { return isOpen_.load(); }

    // --- transports ------------------------------------------------------
    // Start the worker over one transport. Refused (false) while the link is
    // open, so one link never runs two workers. The transport stays owned by
    // the caller until CloseLink, which closes the fd or calls clSerialClose.
    bool startOnComDevice(int fd);
    bool startOnBoardPort(const ClSerialFunctions& functions, void* serialRef);
    bool startOnClPort(const ClSerialFunctions& functions, void* serialRef);
    void CloseLink();
    // Clear the two waiting flags, as every open operation ends by doing.
    void clearWaitingFlags();

    std::array<int, 255>& comPorts() { return comPorts_; }
    MessageRelay& messages() { return messages_; }
    Clock& clock() { return clock_; }

    // --- engine internals, public for tests and the fuzzer -----------------
    // Worker only: consumes received bytes; 0 good answer completed, -1 bad
    // checksum, 1 otherwise.
    int ParseReceived(const uint8_t* data, size_t count);
    const std::array<uint8_t, 18>& commandFrame() const { return commandFrame_; }
    int answerPos() const { return answerPos_; }
    bool inAnswerFrame() const { return inAnswerFrame_ != 0; }
    int answerCount() const { return answerCount_; }
    int ringIndex() const { return ringIndex_; }
    bool framePending() const { return framePending_.load() != 0; }
    bool awaitingAck() const { return awaitingAck_.load() != 0; }
    bool awaitingAnswer() const { return awaitingAnswer_.load() != 0; }
    bool answerExpected() const { return answerExpected_ != 0; }
    uint32_t peekStatus();

private:
    void LinkWorker();
    void DecodeAnswer();
    bool startWorker();
    void setStatusBits(uint32_t bits);  // under the lock, also eventPending
    void readTransport(uint8_t* buffer, uint32_t& count);
    void writeTransport(const uint8_t* data, uint32_t count, uint32_t timeoutMs);
    void serveWhileWaiting();

    MessageRelay& messages_;
    Clock& clock_;

    std::atomic<int> isOpen_{0};
    void* boardPort_ = nullptr;
    void* clPort_ = nullptr;
    int comHandle_ = -1;
    ClSerialFunctions boardFns_{};
    ClSerialFunctions clFns_{};
    std::thread worker_;
    std::atomic<bool> workerEnded_{true};
    std::array<int, 255> comPorts_{};

    std::array<AnswerBytes, 10> ring_{};
    int answerCount_ = 0;
    int ringIndex_ = 0;

    std::array<uint8_t, 18> commandFrame_{};
    std::atomic<int> framePending_{0};
    std::atomic<int> awaitingAck_{0};
    std::atomic<int> awaitingAnswer_{0};
    int answerExpected_ = 0;
    uint8_t resendsLeft_ = 0;
    uint32_t lastSendTick_ = 0;

    int inAnswerFrame_ = 0;
    int answerPos_ = 0;
    std::array<uint8_t, 7> answerChars_{};
    std::array<uint8_t, 2> answerSum_{};

    uint32_t status_ = 0;
    int eventPending_ = 0;
    std::recursive_mutex linkMutex_;
    AutoResetEvent linkEvent_;
};

}  // namespace zr
