#include <gtest/gtest.h>

#include <random>

#include "ScriptedPort.h"
#include "link/LinkStatus.h"
#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "support/ManualClock.h"
#include "support/RecordingSink.h"

namespace zr::test {
namespace {

// The parser on its own: no worker runs, so the test thread may drive it.
class ParseReceivedTest : public ::testing::Test {
  protected:
    int feed(const Bytes& bytes) { return link.ParseReceived(bytes.data(), bytes.size()); }

    ManualClock clock;
    RecordingSink sink{&clock};
    MessageRelay relay{sink};
    SerialLink link{relay, clock};
    const AnswerBytes fallback{0xEE, 0xDD, 0xCC};
};

Bytes cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(ParseReceivedTest, GoodAnswerIsDecodedIntoTheRing) {
    EXPECT_EQ(feed(kGood), 0);
    EXPECT_EQ(link.peekStatus(), LS_ANSWER_DONE);
    EXPECT_EQ(link.answerCount(), 1);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
    // The last unread answer taken: the read position stays.
    EXPECT_EQ(link.answerCount(), 0);
    EXPECT_EQ(link.ringIndex(), 0);
    EXPECT_EQ(link.TakeAnswer(fallback), fallback);
    EXPECT_FALSE(link.inAnswerFrame());
}

TEST_F(ParseReceivedTest, TakeAnswerWithoutAnswerGivesTheFallback) {
    EXPECT_EQ(link.TakeAnswer(fallback), fallback);
    EXPECT_EQ(link.answerCount(), 0);
}

TEST_F(ParseReceivedTest, BadChecksumLeavesTheRingAndAGoodCopyIsStillTaken) {
    ASSERT_EQ(feed(answerFrame("010203")), 0);
    link.clearStatus();
    EXPECT_EQ(feed(kBad), -1);
    EXPECT_EQ(link.peekStatus(), LS_ANSWER_DONE);
    EXPECT_EQ(link.answerCount(), 1);
    EXPECT_EQ(feed(kGood), 0);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
}

TEST_F(ParseReceivedTest, AnUntakenAnswerIsReplacedByTheNext) {
    ASSERT_EQ(feed(cat(answerFrame("111111"), answerFrame("222222"))), 0);
    EXPECT_EQ(link.answerCount(), 1);
    EXPECT_EQ(link.ringIndex(), 0);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x22, 0x22, 0x22}));
    EXPECT_EQ(link.TakeAnswer(fallback), fallback);
}

TEST_F(ParseReceivedTest, SingleBytesOutsideAFrame) {
    struct Case {
        uint8_t byte;
        uint32_t status;
    };
    for (const Case& c :
         {Case{0x06, LS_ACK}, Case{0x15, 0u}, Case{0x41, 0u}, Case{0x03, 0u}, Case{0xFF, 0u}}) {
        link.clearStatus();
        EXPECT_EQ(feed({c.byte}), 1);
        EXPECT_EQ(link.peekStatus(), c.status) << int(c.byte);
        EXPECT_FALSE(link.inAnswerFrame());
    }
}

// Every way of cutting the answer into three reads assembles the same frame,
// and only the read that completes it reports it.
TEST_F(ParseReceivedTest, AnswerSplitOverThreeReadsAtEveryCut) {
    for (size_t a = 1; a < kGood.size(); ++a) {
        for (size_t b = a + 1; b < kGood.size(); ++b) {
            link.clearStatus();
            EXPECT_EQ(link.ParseReceived(kGood.data(), a), 1);
            EXPECT_TRUE(link.inAnswerFrame());
            EXPECT_EQ(link.answerPos(), static_cast<int>(a - 1));
            EXPECT_EQ(link.ParseReceived(kGood.data() + a, b - a), 1);
            EXPECT_EQ(link.ParseReceived(kGood.data() + b, kGood.size() - b), 0) << a << "," << b;
            EXPECT_EQ(link.peekStatus(), LS_ANSWER_DONE);
            EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
        }
    }
}

TEST_F(ParseReceivedTest, ChecksumDigitsDecodeByTheSameRule) {
    // kGood's checksum 0xB4 written with ';' (0x3B -> 11) for 'B' is accepted.
    Bytes odd = kGood;
    odd[8] = ';';
    EXPECT_EQ(feed(odd), 0);
}

// Seeded streams of ACKs, NAKs, noise and good and bad answer frames, cut into
// reads at random points: each read's result and status bits, the ACK or NAK
// written back for each frame, in order, and the answer left to take follow
// from the frames alone; the trace names what became of every byte, in order
// (A ACK, N NAK, G good answer, B bad checksum, d one dropped byte).
TEST_F(ParseReceivedTest, SeededStreamsCutIntoReadsAnywhere) {
    Bytes written;
    std::string meanings;
    link.setTrace([&](const TraceEvent& e) {
        using K = TraceEvent::Kind;
        if (e.kind == K::Sent) written.insert(written.end(), e.data, e.data + e.count);
        if (e.kind == K::Ack) meanings += 'A';
        if (e.kind == K::Nak) meanings += 'N';
        if (e.kind == K::Answer) meanings += 'G';
        if (e.kind == K::BadChecksum) meanings += 'B';
        if (e.kind == K::Dropped) meanings.append(e.count, 'd');
    });
    std::mt19937 rng(880);
    const char hex[] = "0123456789ABCDEF";
    const uint8_t noise[] = {'x', 0x03, 0x41, 0xFF, 0x00, '0', 0x80};
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        struct Frame {
            size_t end;  // index of the frame's last byte in the stream
            bool good;
            AnswerBytes bytes;
        };
        Bytes stream;
        std::vector<size_t> acks;
        std::vector<Frame> frames;
        std::string expectedMeanings;
        const int tokens = 1 + static_cast<int>(rng() % 8);
        for (int t = 0; t < tokens; ++t) {
            switch (rng() % 5) {
                case 0:
                    acks.push_back(stream.size());
                    stream.push_back(0x06);
                    expectedMeanings += 'A';
                    break;
                case 1:
                    stream.push_back(0x15);
                    expectedMeanings += 'N';
                    break;
                case 2:
                    stream.push_back(noise[rng() % sizeof noise]);
                    expectedMeanings += 'd';
                    break;
                default: {
                    char digits[7] = {};
                    for (int i = 0; i < 6; ++i) digits[i] = hex[rng() % 16];
                    const bool good = rng() % 3 != 0;
                    const Bytes frame =
                        answerFrame(digits, good ? 0 : 1 + static_cast<int>(rng() % 255));
                    stream.insert(stream.end(), frame.begin(), frame.end());
                    AnswerBytes bytes{};
                    for (int i = 0; i < 3; ++i) {
                        bytes[i] = static_cast<uint8_t>(
                            std::stoi(std::string(digits + 2 * i, 2), nullptr, 16));
                    }
                    frames.push_back({stream.size() - 1, good, bytes});
                    expectedMeanings += good ? 'G' : 'B';
                }
            }
        }
        written.clear();
        meanings.clear();
        link.TakeAnswer(fallback);
        size_t from = 0;
        while (from < stream.size()) {
            const size_t to = from + 1 + rng() % (stream.size() - from);
            int expected = 1;
            uint32_t status = 0;
            for (const Frame& f : frames) {
                if (f.end >= from && f.end < to) {
                    expected = f.good ? 0 : -1;
                    status |= LS_ANSWER_DONE;
                }
            }
            for (size_t a : acks) {
                if (a >= from && a < to) status |= LS_ACK;
            }
            link.clearStatus();
            EXPECT_EQ(link.ParseReceived(stream.data() + from, to - from), expected);
            EXPECT_EQ(link.peekStatus(), status);
            from = to;
        }
        Bytes replies;
        AnswerBytes last = fallback;
        for (const Frame& f : frames) {
            replies.push_back(f.good ? 0x06 : 0x15);
            if (f.good) last = f.bytes;
        }
        EXPECT_EQ(written, replies);
        EXPECT_EQ(meanings, expectedMeanings);
        EXPECT_FALSE(link.inAnswerFrame());
        EXPECT_EQ(link.TakeAnswer(fallback), last);
    }
}

}  // namespace
}  // namespace zr::test
