#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "link/AnswerRing.h"
#include "link/WakeSignal.h"

namespace zr {

// What the callers' side of the link (SerialLink) and its worker
// (LinkWorker) share: the exchange flags, the status word, the answer ring
// and the signals each side sleeps on.
struct LinkShared {
    std::atomic<int> isOpen{0};

    // Written by SendCommand only while no exchange runs; the worker reads
    // them only while one runs. The seq_cst flags order the two.
    std::array<uint8_t, 18> commandFrame{};
    int answerExpected = 0;
    std::atomic<int> framePending{0};
    std::atomic<int> awaitingAck{0};
    std::atomic<int> awaitingAnswer{0};

    // For a status display that polls; both start afresh at each opening.
    std::atomic<uint64_t> acks{0};
    std::atomic<uint64_t> silentAt{0};  // acks + 1 at the last time-out, 0 none

    // Guards status and ring; re-entrant because the worker holds it across
    // ParseReceived, which takes it again for each status update.
    mutable std::recursive_mutex mutex;
    uint32_t status = 0;
    AnswerRing ring;

    // The link event: signalled by the worker after status changes, taken by
    // the waiting caller. A caller that waits for some bits only sets them
    // here, so that the worker does not wake it for every byte received;
    // 0 wakes it for any change.
    WakeSignal linkEvent;
    std::atomic<uint32_t> wakeBits{0};
    // Signalled by the worker when an exchange has ended.
    WakeSignal exchangeEnded;
    // Wakes the worker: a frame was queued or the link is closing.
    WakeSignal workerWake;

    // True while an exchange runs: a frame is queued, or its ACK or answer is
    // awaited. framePending is read first: the worker raises awaitingAck
    // before it drops framePending, so an exchange in flight never reads as
    // idle.
    bool inExchange() const {
        return framePending.load() != 0 || awaitingAck.load() != 0 || awaitingAnswer.load() != 0;
    }
};

}  // namespace zr
