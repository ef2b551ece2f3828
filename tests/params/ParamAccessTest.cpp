// The parameter operations over the real link and the simulated camera.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "params/ParamAccess.h"
#include "support/SimLinkFixture.h"
#include "support/WireText.h"

namespace zr {
namespace {

using test::expectedRead;
using test::expectedWrite;
using test::kClosedText;
using test::kPanelOwner;
using test::kRangeText;

class ParamAccessTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(f.open()); }

    std::vector<std::string> sentTexts() { return f.sentTexts(); }

    void expectRangeMessage(const Message& m) {
        EXPECT_EQ(m.text, kRangeText);
        EXPECT_EQ(m.caption, "Send error");
        EXPECT_EQ(m.icon, MsgIcon::Exclamation);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
        EXPECT_EQ(m.owner, kPanelOwner);
    }

    test::SimLinkFixture f;
    ParamAccess params{f.link, kPanelOwner};
};

TEST_F(ParamAccessTest, EveryRowSendsItsLimitsAndRefusesOnePastThem) {
    std::vector<std::string> expected;
    size_t refusals = 0;
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const CameraParam p = params.table()[row];
        for (int value : {p.minValue, p.maxValue}) {
            ASSERT_EQ(params.WriteParam(row, value), 0);
            EXPECT_EQ(params.table()[row].value, value);
            expected.push_back(expectedWrite(p, value));
        }
        for (int value : {p.minValue - 1, p.maxValue + 1}) {
            const int32_t before = params.table()[row].value;
            EXPECT_EQ(params.WriteParam(row, value), -1);
            EXPECT_EQ(params.table()[row].value, before);
            ++refusals;
        }
    }
    EXPECT_EQ(sentTexts(), expected);
    const auto shown = f.sink.messages();
    ASSERT_EQ(shown.size(), refusals);
    for (const auto& m : shown) expectRangeMessage(m.message);
}

struct WriteCase {
    int row;
    int value;
    const char* text;  // nullptr: refused by the range check
};

class WorkedWrite : public ParamAccessTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(WorkedWrite, SendsExactlyOrRefuses) {
    const WriteCase c = GetParam();
    const int32_t before = params.table()[c.row].value;
    if (c.text) {
        EXPECT_EQ(params.WriteParam(c.row, c.value), 0);
        EXPECT_EQ(sentTexts(), std::vector<std::string>{c.text});
        EXPECT_EQ(params.table()[c.row].value, c.value);
        EXPECT_EQ(f.sink.count(), 0u);
    } else {
        EXPECT_EQ(params.WriteParam(c.row, c.value), -1);
        EXPECT_TRUE(sentTexts().empty());
        EXPECT_EQ(params.table()[c.row].value, before);
        ASSERT_EQ(f.sink.count(), 1u);
        expectRangeMessage(f.sink.messages()[0].message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, WorkedWrite,
    testing::Values(WriteCase{6, 341, "010C015500"}, WriteCase{6, 342, nullptr},
                    WriteCase{4, 255, "0108FF0000"}, WriteCase{9, 834, "0111034200"},
                    WriteCase{0, 2, "0104020000"}, WriteCase{52, 1, "0145010000"},
                    WriteCase{54, 0x4A5C, "30004A5C00"}, WriteCase{60, 256, "301B010000"},
                    WriteCase{51, 0, nullptr}, WriteCase{52, 0, nullptr},
                    WriteCase{57, 99, nullptr}, WriteCase{63, 3, nullptr}));

TEST_F(ParamAccessTest, RangeMessageBelongsToTheCurrentOwner) {
    const char other = 0;
    params.setOwner(&other);
    params.WriteParam(4, 256);
    ASSERT_EQ(f.sink.count(), 1u);
    EXPECT_EQ(f.sink.messages()[0].message.owner, &other);
}

TEST_F(ParamAccessTest, RowsOutsideTheTableAreRefusedWithoutSending) {
    int32_t value = 7;
    EXPECT_EQ(params.WriteParam(-1, 0), -1);
    EXPECT_EQ(params.WriteParam(102, 0), -1);
    EXPECT_EQ(params.ReadParam(102, value), -2);
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(sentTexts().empty());
}

TEST_F(ParamAccessTest, ReadOfRow9SendsItsReadText) {
    int32_t value = 0;
    EXPECT_EQ(params.ReadParam(9, value), 0);
    EXPECT_EQ(f.camera.commandTexts(), std::vector<std::string>{"8111000000"});
}

struct ReadCase {
    int row;
    uint32_t cameraBytes;  // the register as the camera holds it, 0xD1D2D3
    int value;
};

class ReadDecoding : public ParamAccessTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadDecoding, StoresWhatTheCameraSent) {
    const ReadCase c = GetParam();
    const CameraParam& p = params.table()[c.row];
    f.camera.setReg(p.writeArea, p.address, c.cameraBytes);
    int32_t value = -5;
    EXPECT_EQ(params.ReadParam(c.row, value), 0);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(params.table()[c.row].value, c.value);
    EXPECT_EQ(f.camera.commandTexts(), std::vector<std::string>{expectedRead(p)});
    EXPECT_EQ(f.sink.count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Answers, ReadDecoding,
                         testing::Values(ReadCase{9, 0x060000, 1536},  // 2-byte row
                                         ReadCase{4, 0x801234, 128},   // 1-byte row
                                         ReadCase{4, 0x090000, 9},
                                         // Outside the row's range: kept, not clipped.
                                         ReadCase{0, 0x090000, 9}, ReadCase{6, 0x020000, 512},
                                         ReadCase{52, 0x000000, 0}));

TEST_F(ParamAccessTest, ReadRegisterHandsBackTheThreeAnswerBytes) {
    f.camera.setReg(0x01, 0x17, 0x12AB34);
    AnswerBytes answer{0xAA, 0xBB, 0xCC};
    EXPECT_EQ(params.ReadRegister("8117000000", answer), 1);
    EXPECT_EQ(answer, (AnswerBytes{0x12, 0xAB, 0x34}));
}

struct Failure {
    const char* name;
    void (*inject)(sim::FaultSettings&);
    const char* message;
};

void PrintTo(const Failure& failure, std::ostream* os) {
    *os << failure.name;
}

class ReadFailure : public ParamAccessTest, public testing::WithParamInterface<Failure> {};

TEST_P(ReadFailure, LeavesRowAndOutputsUntouched) {
    f.camera.setReg(0x01, 0x17, 0x200000);
    f.camera.updateFaults(GetParam().inject);
    params.table()[13].value = 77;
    int32_t value = 55;
    EXPECT_EQ(params.ReadParam(13, value), -2);
    EXPECT_EQ(value, 55);
    EXPECT_EQ(params.table()[13].value, 77);
    AnswerBytes answer{0xAA, 0xBB, 0xCC};
    EXPECT_EQ(params.ReadRegister("8117000000", answer), 0);
    EXPECT_EQ(answer, (AnswerBytes{0xAA, 0xBB, 0xCC}));
    // The answer time-out releases the reader before its box is closed; the
    // next exchange waits for the box, so one more read shows both.
    f.camera.setFaults({});
    f.sendAndWait("8117000000");
    EXPECT_EQ(f.sink.texts(), (std::vector<std::string>{GetParam().message, GetParam().message}));
}

INSTANTIATE_TEST_SUITE_P(
    Timeouts, ReadFailure,
    testing::Values(Failure{"NoAck", [](sim::FaultSettings& s) { s.silent = true; },
                            "There is no [ACK]"},
                    Failure{"BadAnswers", [](sim::FaultSettings& s) { s.corruptAllAnswers = true; },
                            "There is no [ANSWER DATA]"}),
    [](const testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

class ReadThroughNoise : public ParamAccessTest, public testing::WithParamInterface<Failure> {};

// Status bits other than the three final ones only make the reader wait on.
TEST_P(ReadThroughNoise, StillReadsTheValue) {
    f.camera.setReg(0x01, 0x11, 0x050600);
    f.camera.updateFaults(GetParam().inject);
    int32_t value = 0;
    EXPECT_EQ(params.ReadParam(9, value), 0);
    EXPECT_EQ(value, 0x0506);
    EXPECT_EQ(f.sink.count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Line, ReadThroughNoise,
    testing::Values(Failure{"BadAnswerThenGoodRepeat",
                            [](sim::FaultSettings& s) { s.corruptNextAnswers = 1; }, nullptr},
                    Failure{"Garbage", [](sim::FaultSettings& s) { s.garbage = "xy"; }, nullptr},
                    Failure{"SplitReads",
                            [](sim::FaultSettings& s) {
                                s.splitSizes = {1, 3};
                            },
                            nullptr},
                    Failure{"Merged", [](sim::FaultSettings& s) { s.mergeAckAndAnswer = true; },
                            nullptr}),
    [](const testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

TEST_F(ParamAccessTest, AnEarlierWritesTimeOutDoesNotEndTheNextRead) {
    f.camera.setReg(0x01, 0x17, 0x2A0000);
    // The write and its two resends go unanswered: LS_ACK_TIMEOUT is left set.
    f.camera.updateFaults([](sim::FaultSettings& s) { s.dropNextAcks = 3; });
    ASSERT_EQ(params.WriteParam(14, 1), 0);
    int32_t value = 0;
    EXPECT_EQ(params.ReadParam(13, value), 0);
    EXPECT_EQ(value, 0x2A);
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"There is no [ACK]"});
}

TEST_F(ParamAccessTest, WriteCommandTextSendsTheTextUnchangedAndTouchesNoRow) {
    EXPECT_EQ(params.WriteCommandText("3001FFFF00"), 0);
    EXPECT_EQ(sentTexts(), std::vector<std::string>{"3001FFFF00"});
    EXPECT_NE(params.WriteCommandText("30G1FFFF00"), 0);
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"Character error."});
    for (int row = 0; row < CameraParamTable::size(); ++row) {
        EXPECT_EQ(params.table()[row].value, CameraParamTable::defaults()[row].value);
    }
}

TEST(ParamAccessClosed, EveryOperationFailsWithTheLinksMessageAndChangesNothing) {
    test::SimLinkFixture f;  // never opened
    ParamAccess params{f.link, kPanelOwner};
    int32_t value = 3;
    AnswerBytes answer{1, 2, 3};
    EXPECT_EQ(params.WriteParam(13, 200), -1);
    EXPECT_EQ(params.table()[13].value, 128);
    EXPECT_EQ(params.ReadParam(13, value), -2);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(params.table()[13].value, 128);
    EXPECT_NE(params.WriteCommandText("3001FFFF00"), 0);
    EXPECT_EQ(params.ReadRegister("8117000000", answer), 0);
    EXPECT_EQ(answer, (AnswerBytes{1, 2, 3}));
    EXPECT_EQ(f.sink.countOf(kClosedText), 4u);
    EXPECT_EQ(f.sink.count(), 4u);
    EXPECT_TRUE(f.camera.frames().empty());
}

// The table's change notice: listeners told in the order they came, also when
// one of them ends its own or a later listening, or starts a new one, while
// the others are told (a refresh that opens or closes a window), and when a
// listening outlives its notice (a child widget of the window that owns it).
TEST(ChangeNoticeTest, ListenersComeAndGoWhileOthersAreTold) {
    ChangeNotice::Listening outliving;
    auto owned = std::make_unique<ChangeNotice>();
    ChangeNotice& changes = *owned;
    std::string told;
    ChangeNotice::Listening first, second, third, late;
    outliving = changes.listen([&] { told += "O"; });
    first = changes.listen([&] {
        told += "1";
        first.end();
        late = changes.listen([&] { told += "L"; });
    });
    second = changes.listen([&] {
        told += "2";
        third.end();
    });
    third = changes.listen([&] { told += "3"; });
    changes.notify();
    changes.notify();
    EXPECT_EQ(told, "O12O2L");
    { ChangeNotice::Listening moved = std::move(late); }
    changes.notify();
    EXPECT_EQ(told, "O12O2LO2");
    owned.reset();
    outliving.end();
}

}  // namespace
}  // namespace zr
