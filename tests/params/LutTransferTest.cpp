// The look-up table walks over the real link and the simulated camera: the
// exact texts, which channels are walked, where a walk stops and what a
// failed or stopped READ keeps.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "params/LutRegisters.h"
#include "params/LutTransfer.h"
#include "params/ParamAccess.h"
#include "support/SimLinkFixture.h"
#include "support/WireText.h"

namespace zr {
namespace {

using test::hex2;
using test::kClosedText;
using test::kPanelOwner;

// Computed here from the register layout, independently of the encoder.
std::string expectedReadText(int c, int i) {
    return hex2(0xA0 + c) + hex2(i) + "000000";
}

TEST(LutRegisters, TextsNameChannelEntryAndValue) {
    const struct {
        int channel, index, value;
        const char* write;
        const char* read;
    } cases[] = {
        {0, 0, 0, "2000000000", "A000000000"},       {0, 255, 255, "20FFFF0000", "A0FF000000"},
        {1, 0x0A, 0xB0, "210AB00000", "A10A000000"}, {2, 16, 1, "2210010000", "A210000000"},
        {2, 255, 0, "22FF000000", "A2FF000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(lutWriteText(c.channel, c.index, c.value), c.write);
        EXPECT_EQ(lutReadText(c.channel, c.index), c.read);
    }
}

constexpr const char* kSettle = "8104000000";

struct Call {
    int done, total, channel;
    bool operator==(const Call&) const = default;
};

// Random walks: READ or WRITE, any channel set, short and full lengths (and
// lengths outside 0..256, which are clamped), each either run to its end,
// stopped by the progress callback, or cut by the link closing under it.
TEST(LutTransfer, SeededWalksSendExactlyTheirTextsAndStopWhereTold) {
    std::mt19937 random(880);
    for (int run = 0; run < 60; ++run) {
        const bool read = run < 2 ? run == 0 : random() % 2 == 0;
        int entries = static_cast<int>(random() % 24);
        if (run < 2) entries = 256;  // one full walk each way
        if (run == 2) entries = 300;
        if (run == 3) entries = -4;
        const int count = std::clamp(entries, 0, 256);
        LutChannelSet channels = kAllLutChannels;
        if (!read) {
            for (bool& shown : channels) shown = random() % 3 != 0;
        }
        std::vector<int> walked;  // channels in walk order
        for (int c = 0; c < 3; ++c) {
            if (read || channels[c]) walked.push_back(c);
        }
        const int total = static_cast<int>(walked.size()) * count;
        enum Action { RunOut, Stop, Close } action = static_cast<Action>(random() % 3);
        const int at = total > 0 ? 1 + static_cast<int>(random() % total) : 0;
        if (total == 0 || run < 2) action = RunOut;
        SCOPED_TRACE("run " + std::to_string(run) + (read ? " read " : " write ") +
                     std::to_string(entries) + " entries, action " + std::to_string(action) +
                     " at " + std::to_string(at));

        test::SimLinkFixture f;
        ASSERT_TRUE(f.open());
        ParamAccess params{f.link, kPanelOwner};
        LutTable camera{}, table{};
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; ++i) {
                camera[c][i] = static_cast<int>(random() % 256);
                table[c][i] = static_cast<int>(random() % 256);
                f.camera.setReg(static_cast<uint8_t>(0x20 + c), static_cast<uint8_t>(i),
                                static_cast<uint32_t>(camera[c][i]) << 16);
            }
        }
        const LutTable before = table;

        std::vector<Call> calls;
        const LutProgress progress = [&](int done, int total, int channel) {
            calls.push_back({done, total, channel});
            if (done != at) return true;
            if (action == Close) {
                f.sendAndWait(kSettle);  // every text so far has reached the camera
                f.close();
            }
            return action != Stop;
        };
        const LutWalkResult result = read ? readLut(params, table, entries, progress)
                                          : writeLut(params, table, channels, entries, progress);
        const int done = action == RunOut ? total : at;
        if (action != Close) f.sendAndWait(kSettle);

        // The texts of the walk's first `done` entries, then the settle read.
        std::vector<std::string> expected;
        std::vector<Call> expectedCalls;
        for (int n = 0; n < done; ++n) {
            const int c = walked[n / count];
            const int i = n % count;
            expected.push_back(read ? expectedReadText(c, i)
                                    : test::lutWriteText(c, i, table[c][i]));
            expectedCalls.push_back({n + 1, total, c});
        }
        expected.push_back(kSettle);
        EXPECT_EQ(f.camera.commandTexts(), expected);
        EXPECT_EQ(calls, expectedCalls);
        EXPECT_EQ(result.done, done);
        EXPECT_EQ(result.total, total);
        const auto outcome = action == RunOut || done == total ? LutWalkResult::Outcome::Done
                             : action == Stop                  ? LutWalkResult::Outcome::Stopped
                                                               : LutWalkResult::Outcome::Failed;
        EXPECT_EQ(result.outcome, outcome);
        EXPECT_EQ(f.sink.texts(), action == Close && done < total
                                      ? std::vector<std::string>{kClosedText}
                                      : std::vector<std::string>{});

        // READ keeps what it read before it stopped; WRITE leaves the table alone.
        LutTable want = before;
        if (read) {
            for (int n = 0; n < done; ++n) {
                const int c = walked[n / count];
                want[c][n % count] = camera[c][n % count];
            }
        }
        EXPECT_EQ(table, want);
        if (!read && action != Close) {
            for (int n = 0; n < done; ++n) {
                const int c = walked[n / count];
                EXPECT_EQ(
                    f.camera.reg(static_cast<uint8_t>(0x20 + c), static_cast<uint8_t>(n % count)),
                    static_cast<uint32_t>(table[c][n % count]) << 16);
            }
        }
    }
}

// Without a callback a walk runs to its end, or to the first refusal.
TEST(LutTransfer, AClosedLinkFailsTheFirstExchangeAndChangesNothing) {
    test::SimLinkFixture f;  // never opened
    ParamAccess params{f.link, kPanelOwner};
    LutTable table = identityLut();
    const LutWalkResult r = readLut(params, table);
    EXPECT_EQ(r.outcome, LutWalkResult::Outcome::Failed);
    EXPECT_EQ(r.done, 0);
    EXPECT_EQ(r.total, 768);
    EXPECT_EQ(table, identityLut());
    const LutWalkResult w = writeLut(params, table, {false, true, true});
    EXPECT_EQ(w.outcome, LutWalkResult::Outcome::Failed);
    EXPECT_EQ(w.total, 512);
    EXPECT_EQ(f.sink.texts(), (std::vector<std::string>{kClosedText, kClosedText}));
    EXPECT_TRUE(f.camera.frames().empty());
}

}  // namespace
}  // namespace zr
