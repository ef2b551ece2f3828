// The bulk operations over the real link and the simulated camera: the exact
// commands, where they stop, the questions they ask and what they do to the
// camera.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "params/BulkOperations.h"
#include "support/SimLinkFixture.h"
#include "support/WireText.h"

namespace zr {
namespace {

using test::cameraValue;
using test::expectedFrame;
using test::expectedRead;
using test::expectedWrite;
using test::kClosedText;
using test::kPanelOwner;
using test::kRangeText;
using test::registerBytes;

const char* const kFactoryQuestion = "Do you want to execute Factory Setting?";
const char* const kInitQuestion = "Do you want to intialize all settings?";

std::vector<std::string> userRowReads(const CameraParamTable& table) {
    std::vector<std::string> texts;
    for (int row = 0; row < UserParamCount; ++row) texts.push_back(expectedRead(table[row]));
    return texts;
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class BulkTest : public testing::Test {
  protected:
    void SetUp() override {
        if (openLink) {
            ASSERT_TRUE(f.open());
        }
    }

    const CameraParamTable& table() { return params.table(); }

    // Puts cameraValue() into the camera's registers for rows 0..49.
    void giveCameraDistinctValues() {
        for (int row = 0; row < 50; ++row)
            test::setCameraRow(f.camera, row, cameraValue(table()[row]));
    }

    std::vector<std::string> sentTexts() { return f.sentTexts(); }

    void expectQuestion(const Message& m, const char* text) {
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.caption, "ZR-K880TM");
        EXPECT_EQ(m.icon, MsgIcon::Question);
        EXPECT_EQ(m.buttons, MsgButtons::YesNo);
        EXPECT_EQ(m.owner, kPanelOwner);
    }

    bool openLink = true;
    test::SimLinkFixture f;
    ParamAccess params{f.link, kPanelOwner};
    BulkOperations bulk{params};
    int refreshes = 0;
    ChangeNotice::Listening counting = params.changes().listen([this] { ++refreshes; });
};

TEST_F(BulkTest, ReadFromCameraReadsRows0To52InOrderWithTheExactFrames) {
    giveCameraDistinctValues();
    EXPECT_TRUE(bulk.ReadFromCamera());

    const auto reads = userRowReads(table());
    const auto frames = f.camera.frames();
    ASSERT_EQ(frames.size(), 53u);
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].bytes, expectedFrame(reads[i])) << "row " << i;
    }
    for (int row = 0; row < 50; ++row) {
        EXPECT_EQ(table()[row].value, cameraValue(table()[row])) << "row " << row;
    }
    EXPECT_EQ(table()[50].value, 0);  // the memory loaded last: DEFAULT
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(f.sink.count(), 0u);
}

TEST_F(BulkTest, ReadFromCameraStopsAtATimedOutRowAndStillRefreshes) {
    giveCameraDistinctValues();
    const std::string row9Read = expectedRead(table()[9]);
    // The camera falls silent once it has answered row 9.
    f.camera.setFrameObserver([&](const sim::ReceivedFrame& frame) {
        if (frame.text == row9Read) f.camera.updateFaults([](auto& s) { s.silent = true; });
    });
    const auto before = CameraParamTable::defaults();
    EXPECT_FALSE(bulk.ReadFromCamera());

    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(table()[row].value, cameraValue(table()[row])) << "row " << row;
    }
    for (int row = 10; row < UserParamCount; ++row) {
        EXPECT_EQ(table()[row].value, before[row].value) << "row " << row;
    }
    EXPECT_EQ(refreshes, 1);
    // Row 10's read went out three times and nothing after it.
    auto expected = userRowReads(table());
    expected.resize(11);
    expected.push_back(expected.back());
    expected.push_back(expected.back());
    EXPECT_EQ(f.camera.commandTexts(), expected);
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{"There is no [ACK]"});
}

TEST_F(BulkTest, WriteToCameraSendsRows0To49AndNoCommandRow) {
    for (int row = 0; row < 50; ++row) {
        params.table()[row].value = cameraValue(table()[row]);
    }
    bulk.WriteToCamera();

    std::vector<std::string> expected;
    for (int row = 0; row < 50; ++row) {
        expected.push_back(expectedWrite(table()[row], table()[row].value));
    }
    EXPECT_EQ(sentTexts(), expected);
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(f.camera.currentMemory(), 0);
    // The camera now holds the table's values.
    for (int row = 0; row < 50; ++row) {
        const CameraParam& p = table()[row];
        EXPECT_EQ(f.camera.reg(p.writeArea, p.address), registerBytes(p, p.value)) << row;
    }
}

TEST_F(BulkTest, WriteToCameraStopsAtAValueOutsideItsRange) {
    // The camera reported a trigger mode the range does not allow.
    f.camera.setReg(0x01, 0x0B, registerBytes(table()[5], 9));
    bulk.ReadFromCamera();
    ASSERT_EQ(table()[5].value, 9);
    f.camera.clearLog();

    bulk.WriteToCamera();
    std::vector<std::string> expected;
    for (int row = 0; row < 5; ++row) {
        expected.push_back(expectedWrite(table()[row], table()[row].value));
    }
    EXPECT_EQ(sentTexts(), expected);
    EXPECT_EQ(f.sink.texts(), std::vector<std::string>{kRangeText});
}

struct MemoryCase {
    int memory;
    const char* loadText;  // nullptr: refused
};

class LoadMemory : public BulkTest, public testing::WithParamInterface<MemoryCase> {};

TEST_P(LoadMemory, WritesRow50ThenRereadsAndRefreshes) {
    const MemoryCase c = GetParam();
    bulk.LoadMemory(c.memory);
    if (c.loadText) {
        EXPECT_EQ(f.camera.commandTexts(), concat({c.loadText}, userRowReads(table())));
        EXPECT_EQ(table()[50].value, c.memory);
        EXPECT_EQ(refreshes, 1);
        EXPECT_EQ(f.sink.count(), 0u);
    } else {
        EXPECT_TRUE(sentTexts().empty());
        EXPECT_EQ(refreshes, 0);
        EXPECT_EQ(f.sink.texts(), std::vector<std::string>{kRangeText});
    }
}

INSTANTIATE_TEST_SUITE_P(Selections, LoadMemory,
                         testing::Values(MemoryCase{0, "0102000000"}, MemoryCase{2, "0102020000"},
                                         MemoryCase{4, "0102040000"}, MemoryCase{-1, nullptr},
                                         MemoryCase{5, nullptr}));

class SaveMemory : public BulkTest, public testing::WithParamInterface<MemoryCase> {};

TEST_P(SaveMemory, WritesRow51Only) {
    const MemoryCase c = GetParam();
    bulk.SaveMemory(c.memory);
    if (c.loadText) {
        EXPECT_EQ(sentTexts(), std::vector<std::string>{c.loadText});
        EXPECT_EQ(f.sink.count(), 0u);
    } else {
        EXPECT_TRUE(sentTexts().empty());
        EXPECT_EQ(f.sink.texts(), std::vector<std::string>{kRangeText});
    }
    EXPECT_EQ(refreshes, 0);
}

INSTANTIATE_TEST_SUITE_P(Selections, SaveMemory,
                         testing::Values(MemoryCase{1, "0103010000"}, MemoryCase{3, "0103030000"},
                                         MemoryCase{0, nullptr}, MemoryCase{-1, nullptr}));

TEST_F(BulkTest, SavedSettingsComeBackWithLoad) {
    const std::vector<std::pair<int, int>> saved = {{6, 300}, {13, 40}, {20, 200}, {41, 32}};
    for (auto [row, value] : saved) ASSERT_EQ(params.WriteParam(row, value), 0);
    bulk.SaveMemory(3);
    for (auto [row, value] : saved) ASSERT_EQ(params.WriteParam(row, value - 1), 0);
    bulk.LoadMemory(1);  // FILE 1 still holds the defaults
    for (auto [row, value] : saved) EXPECT_EQ(table()[row].value, table()[row].defaultValue);

    bulk.LoadMemory(3);
    for (auto [row, value] : saved) EXPECT_EQ(table()[row].value, value) << "row " << row;
    EXPECT_EQ(table()[50].value, 3);
    EXPECT_EQ(refreshes, 2);
}

TEST_F(BulkTest, FactorySettingAsksThenWritesRow52AndRereads) {
    ASSERT_EQ(params.WriteParam(13, 40), 0);
    bulk.FactorySetting();

    ASSERT_EQ(f.sink.count(), 1u);
    expectQuestion(f.sink.messages()[0].message, kFactoryQuestion);
    EXPECT_EQ(f.camera.commandTexts(), concat({"0117280000", "0145010000"}, userRowReads(table())));
    EXPECT_EQ(table()[13].value, 128);  // the camera's default came back
    EXPECT_EQ(refreshes, 1);
}

TEST_F(BulkTest, AllInitializeAsksThenSendsTheKeyAndTheFixedText) {
    bulk.AllInitialize();

    ASSERT_EQ(f.sink.count(), 1u);
    expectQuestion(f.sink.messages()[0].message, kInitQuestion);
    EXPECT_EQ(sentTexts(), (std::vector<std::string>{"30004A5C00", "3001FFFF00"}));
    EXPECT_EQ(table()[54].value, AdjustAccessCode);
    EXPECT_TRUE(f.camera.adjustMode());  // the key stays set
    EXPECT_EQ(refreshes, 0);
}

struct Question {
    const char* name;
    void (BulkOperations::*operation)();
    const char* text;
};

class AnsweredNo : public BulkTest, public testing::WithParamInterface<Question> {};

TEST_P(AnsweredNo, SendsNothing) {
    f.sink.script({MsgResult::No});
    (bulk.*GetParam().operation)();
    ASSERT_EQ(f.sink.count(), 1u);
    expectQuestion(f.sink.messages()[0].message, GetParam().text);
    EXPECT_TRUE(sentTexts().empty());
    EXPECT_EQ(refreshes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Questions, AnsweredNo,
    testing::Values(Question{"Factory", &BulkOperations::FactorySetting, kFactoryQuestion},
                    Question{"Initialize", &BulkOperations::AllInitialize, kInitQuestion}),
    [](const testing::TestParamInfo<Question>& info) { return std::string(info.param.name); });

struct ClosedCase {
    const char* name;
    std::function<void(BulkOperations&)> run;
    size_t closedMessages;
    int refreshes;
};

class ClosedPort : public BulkTest, public testing::WithParamInterface<ClosedCase> {
  protected:
    ClosedPort() { openLink = false; }
};

TEST_P(ClosedPort, ShowsTheLinksMessageOncePerRefusedCommand) {
    params.table()[13].value = 40;
    GetParam().run(bulk);
    EXPECT_EQ(f.sink.countOf(kClosedText), GetParam().closedMessages);
    EXPECT_EQ(refreshes, GetParam().refreshes);
    EXPECT_EQ(table()[13].value, 40);
    EXPECT_TRUE(f.camera.frames().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Operations, ClosedPort,
    testing::Values(ClosedCase{"Read", [](BulkOperations& b) { b.ReadFromCamera(); }, 1, 1},
                    ClosedCase{"Write", [](BulkOperations& b) { b.WriteToCamera(); }, 1, 0},
                    ClosedCase{"Load", [](BulkOperations& b) { b.LoadMemory(1); }, 1, 0},
                    ClosedCase{"Save", [](BulkOperations& b) { b.SaveMemory(1); }, 1, 0},
                    // The refused write of row 52 does not stop the re-read.
                    ClosedCase{"Factory", [](BulkOperations& b) { b.FactorySetting(); }, 2, 1},
                    ClosedCase{"Initialize", [](BulkOperations& b) { b.AllInitialize(); }, 2, 0}),
    [](const testing::TestParamInfo<ClosedCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zr
