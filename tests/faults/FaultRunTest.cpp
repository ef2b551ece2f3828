#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <functional>
#include <map>
#include <random>
#include <thread>

#include "ExchangeReview.h"
#include "link/LinkStatus.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "support/FaultSchedule.h"
#include "support/PassClock.h"
#include "support/SimLinkFixture.h"
#include "support/WireText.h"

namespace zr::test {
namespace {

constexpr int kFaultRate = 40;  // percent of frames that meet a fault
constexpr int kLutFaultRate = 8;
constexpr int kLoadMemory = 2;
constexpr Fault kEveryFault[] = {
    Fault::DropAck,         Fault::Nak,          Fault::CorruptAnswer,
    Fault::Split,           Fault::Merge,        Fault::Garbage,
    Fault::AckDelayUnder,   Fault::AckDelayOver, Fault::AnswerDelayUnder,
    Fault::AnswerDelayOver,
};

// Every fault equally likely, rates in percent.
FaultMix everyFaultAlike() {
    FaultMix mix;
    for (const Fault fault : kEveryFault) mix.weights.push_back({fault, 1});
    return mix;
}

using Register = std::pair<int, int>;  // area, address

int hexAt(const std::string& text, size_t pos) {
    return std::stoi(text.substr(pos, 2), nullptr, 16);
}

// ReadFromCamera, WriteToCamera, LOAD and a look-up table WRITE over the real
// link while the simulated camera misbehaves from a seeded random schedule.
class FaultRun : public ::testing::TestWithParam<uint32_t> {
  protected:
    FaultRun()
        : f(&clock),
          params(f.link),
          bulk(params),
          schedule(f.camera, GetParam(), everyFaultAlike()) {
        clock.setStep([this] { return step(); });
    }

    // Time moves only during an exchange (or a drain), one tick a pass while
    // a reply is due, else straight on to the next moment something can
    // happen: a delayed reply falls due, or a time-out of the last frame
    // expires. So a 3 s time-out costs a few passes, not 3000.
    uint32_t step() {
        if (!draining.load() && !busy()) return 0;
        if (f.link.framePending()) return 1;  // written in the next pass
        const uint32_t now = clock.tickMs();
        uint32_t next = UINT32_MAX;
        if (f.camera.replyPending()) next = f.camera.msUntilReplyDue();
        if (f.link.awaitingAck() || f.link.awaitingAnswer()) {
            const uint32_t sent = schedule.lastFrameTick();
            for (const uint32_t expiry : {sent + kAckTimeoutMs + 1, sent + kAnswerTimeoutMs + 1}) {
                const uint32_t wait = expiry - now;
                if (static_cast<int32_t>(wait) > 0) next = std::min(next, wait);
            }
        }
        return next == UINT32_MAX ? 1 : std::max<uint32_t>(next, 1);
    }

    bool busy() { return f.link.inExchange(); }

    // Lets the worker run until the exchange is over and every reply the
    // camera still holds (late ones after a time-out) has come and gone.
    void drain() {
        draining = true;
        while (busy() || f.camera.replyPending()) {
            f.relay.servePending();
            std::this_thread::yield();
        }
        f.relay.servePending();
        draining = false;
    }

    // Runs one operation and checks every exchange against the protocol.
    ExchangeReview run(const std::function<void()>& operation, bool walk) {
        schedule.takeRecords();
        f.sink.clear();
        operation();
        drain();
        const std::vector<FrameRecord> frames = schedule.takeRecords();
        for (const FrameRecord& frame : frames) ++faultsMet[frame.fault];
        ExchangeReview review(frames, f.sink.messages(), walk);
        for (const std::string& p : review.problems()) ADD_FAILURE() << p;
        return review;
    }

    AnswerBytes cameraBytes(const CameraParam& row) {
        const uint32_t reg = f.camera.reg(row.readArea & 0x7F, row.address);
        return {uint8_t(reg >> 16), uint8_t(reg >> 8), uint8_t(reg)};
    }

    // Read walk from `first` on: rows read before the failure hold the
    // camera's values, the failed row and those after it what they held.
    void checkReadWalk(const ExchangeReview& review, size_t first,
                       const std::vector<int32_t>& before) {
        const auto& x = review.exchanges();
        ASSERT_LE(x.size() - first, static_cast<size_t>(UserParamCount));
        for (int row = 0; row < UserParamCount; ++row) {
            const size_t i = first + static_cast<size_t>(row);
            const CameraParam& p = params.table()[row];
            if (i < x.size()) {
                EXPECT_EQ(x[i].text, ParamAccess::readText(p)) << "row " << row;
            }
            if (i < x.size() && x[i].succeeded) {
                EXPECT_EQ(p.value, ParamAccess::valueFromAnswer(p, cameraBytes(p)))
                    << "row " << row;
            } else {
                EXPECT_EQ(p.value, before[static_cast<size_t>(row)]) << "row " << row;
            }
        }
        if (x.size() - first < static_cast<size_t>(UserParamCount)) {
            EXPECT_FALSE(x.back().succeeded) << "the walk stopped without a failure";
        }
    }

    // Every register written holds the data of the last frame the camera
    // acted on, or, if it acted on none, what it held before.
    void checkWrites(const ExchangeReview& review, const std::map<Register, uint32_t>& before) {
        std::map<Register, uint32_t> expected = before;
        for (const ReviewedExchange& x : review.exchanges()) {
            if (x.read || !x.carriedOut) continue;
            expected[{hexAt(x.text, 0), hexAt(x.text, 2)}] = static_cast<uint32_t>(
                hexAt(x.text, 4) << 16 | hexAt(x.text, 6) << 8 | hexAt(x.text, 8));
        }
        for (const auto& [reg, data] : expected) {
            EXPECT_EQ(f.camera.reg(uint8_t(reg.first), uint8_t(reg.second)), data)
                << "register " << reg.first << "/" << reg.second;
        }
    }

    std::vector<int32_t> tableValues() {
        std::vector<int32_t> values;
        for (int row = 0; row < CameraParamRows; ++row) values.push_back(params.table()[row].value);
        return values;
    }

    std::map<Register, uint32_t> settingRegisters() {
        std::map<Register, uint32_t> regs;
        for (int row = 0; row <= 49; ++row) {
            const CameraParam& p = params.table()[row];
            regs[{p.writeArea, p.address}] = f.camera.reg(p.writeArea, p.address);
        }
        return regs;
    }

    // Fresh values in range for the settings; the detection command stays off.
    void randomSettings(std::mt19937& random) {
        for (int row = 0; row <= 49; ++row) {
            CameraParam& p = params.table()[row];
            p.value =
                row == ROW_WHITE_SPOT_DETECT
                    ? 0
                    : p.minValue + static_cast<int32_t>(random() % (p.maxValue - p.minValue + 1));
        }
    }

    PassClock clock;
    SimLinkFixture f;
    ParamAccess params;
    BulkOperations bulk;
    FaultSchedule schedule;
    std::atomic<bool> draining{false};
    std::map<Fault, int> faultsMet;
};

TEST_P(FaultRun, EveryExchangeEndsAsTheProtocolSaysAndTheLinkStillWorks) {
    std::mt19937 random(GetParam());
    ASSERT_TRUE(f.open());

    // Without faults: FILE 2 holds one set of settings, the camera another.
    randomSettings(random);
    bulk.WriteToCamera();
    bulk.SaveMemory(kLoadMemory);
    randomSettings(random);
    bulk.WriteToCamera();
    drain();
    ASSERT_EQ(f.sink.count(), 0u);

    schedule.setRate(kFaultRate);
    {
        SCOPED_TRACE("ReadFromCamera");
        const auto before = tableValues();
        const ExchangeReview review = run([&] { bulk.ReadFromCamera(); }, true);
        checkReadWalk(review, 0, before);
    }
    {
        SCOPED_TRACE("WriteToCamera");
        randomSettings(random);
        const auto before = settingRegisters();
        const ExchangeReview review = run([&] { bulk.WriteToCamera(); }, false);
        EXPECT_EQ(review.exchanges().size(), 50u);  // a failed write does not stop the walk
        checkWrites(review, before);
    }
    {
        SCOPED_TRACE("LOAD");
        auto before = tableValues();
        before[ROW_MEMORY_LOAD] = kLoadMemory;  // stored by the write, not read
        const ExchangeReview review = run([&] { bulk.LoadMemory(kLoadMemory); }, true);
        ASSERT_GE(review.exchanges().size(), 1u);
        EXPECT_EQ(review.exchanges()[0].text, "0102020000");
        if (review.exchanges()[0].carriedOut) {
            EXPECT_EQ(f.camera.currentMemory(), kLoadMemory);
        }
        checkReadWalk(review, 1, before);
    }
    {
        SCOPED_TRACE("look-up table WRITE");
        schedule.setRate(kLutFaultRate);
        std::map<Register, uint32_t> before;
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < 256; ++i)
                before[{0x20 + c, i}] = f.camera.reg(uint8_t(0x20 + c), uint8_t(i));
        const ExchangeReview review = run(
            [&] {
                for (int c = 0; c < 3; ++c)
                    for (int i = 0; i < 256; ++i)
                        EXPECT_EQ(params.WriteCommandText(lutWriteText(c, i, (i * 7 + c) & 0xFF)),
                                  0);
            },
            false);
        EXPECT_EQ(review.exchanges().size(), 768u);
        checkWrites(review, before);
    }

    // The schedule met the camera with every kind of fault.
    for (const Fault fault : kEveryFault) EXPECT_GT(faultsMet[fault], 0) << faultName(fault);

    // Faults off: the link works as if nothing had happened.
    schedule.setRate(0);
    {
        SCOPED_TRACE("afterwards");
        const ExchangeReview review = run([&] { bulk.ReadFromCamera(); }, true);
        EXPECT_EQ(review.exchanges().size(), 53u);
        checkReadWalk(review, 0, tableValues());
        EXPECT_EQ(f.sink.count(), 0u);
        EXPECT_EQ(params.WriteParam(ROW_SHUTTER_SPEED, 77), 0);
        int32_t value = 0;
        EXPECT_EQ(params.ReadParam(ROW_SHUTTER_SPEED, value), 0);
        EXPECT_EQ(value, 77);
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, FaultRun, ::testing::Values(1u, 7u, 2024u, 31337u));

}  // namespace
}  // namespace zr::test
