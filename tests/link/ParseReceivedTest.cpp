#include <gtest/gtest.h>

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

TEST_F(ParseReceivedTest, BadChecksumBeforeAnyAnswerLeavesNothingToTake) {
    EXPECT_EQ(feed(kBad), -1);
    EXPECT_EQ(link.TakeAnswer(fallback), fallback);
}

TEST_F(ParseReceivedTest, AnUntakenAnswerIsReplacedByTheNext) {
    ASSERT_EQ(feed(cat(answerFrame("111111"), answerFrame("222222"))), 0);
    EXPECT_EQ(link.answerCount(), 1);
    EXPECT_EQ(link.ringIndex(), 0);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x22, 0x22, 0x22}));
    EXPECT_EQ(link.TakeAnswer(fallback), fallback);
}

TEST_F(ParseReceivedTest, ResultIsThatOfTheLastFrameCompletedInTheBytes) {
    EXPECT_EQ(feed(cat(kGood, kBad)), -1);
    EXPECT_EQ(feed(cat(kBad, kGood)), 0);
    EXPECT_EQ(feed({0x06}), 1);
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

TEST_F(ParseReceivedTest, InsideAFrameAckAndStxAreData) {
    // STX, then ACK, STX, '0'.. as answer characters: no LS_ACK, no restart.
    Bytes frame{0x02, 0x06, 0x02, '0', '0', '0', '0', 0x03};
    unsigned sum = 0;
    for (uint8_t b : frame) sum += b;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", ~sum & 0xFF);
    frame.push_back(static_cast<uint8_t>(digits[0]));
    frame.push_back(static_cast<uint8_t>(digits[1]));
    EXPECT_EQ(feed(frame), 0);
    EXPECT_EQ(link.peekStatus(), LS_ANSWER_DONE);
    // 0x06 and 0x02 decode by the unchecked rule: (6-0x30)*16 + (2-0x30).
    EXPECT_EQ(link.TakeAnswer(fallback)[0],
              static_cast<uint8_t>((0x06 - 0x30) * 16 + (0x02 - 0x30)));
}

TEST_F(ParseReceivedTest, EndByteIsSummedButNotTested) {
    Bytes frame{0x02, '1', '2', 'A', 'B', '0', '0', 0x7E};
    unsigned sum = 0;
    for (uint8_t b : frame) sum += b;
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", ~sum & 0xFF);
    frame.push_back(static_cast<uint8_t>(digits[0]));
    frame.push_back(static_cast<uint8_t>(digits[1]));
    EXPECT_EQ(feed(frame), 0);
}

TEST_F(ParseReceivedTest, GarbageBeforeTheFrameIsIgnored) {
    EXPECT_EQ(feed(cat({'x', 0x03, 0x41, 0xFF}, kGood)), 0);
    EXPECT_EQ(link.TakeAnswer(fallback), (AnswerBytes{0x12, 0xAB, 0x00}));
}

TEST_F(ParseReceivedTest, AckAndAnswerInOneRead) {
    EXPECT_EQ(feed(cat({0x06}, kGood)), 0);
    EXPECT_EQ(link.peekStatus(), LS_ACK | LS_ANSWER_DONE);
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

TEST_F(ParseReceivedTest, LowerCaseDigitsDecodeByTheRuleNotAsHex) {
    // 'a' stands for 0x61 - 0x37 = 42; its checksum is built the same way.
    EXPECT_EQ(feed(answerFrame("1a0000")), 0);
    EXPECT_EQ(link.TakeAnswer(fallback)[0], static_cast<uint8_t>(1 * 16 + 42));
}

TEST_F(ParseReceivedTest, ChecksumDigitsDecodeByTheSameRule) {
    // kGood's checksum 0xB4 written with ';' (0x3B -> 11) for 'B' is accepted.
    Bytes odd = kGood;
    odd[8] = ';';
    EXPECT_EQ(feed(odd), 0);
}

}  // namespace
}  // namespace zr::test
