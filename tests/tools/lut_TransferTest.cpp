#include "lut_EditorFixture.h"

namespace {

// READ and WRITE against the simulated camera.
class LutTransferTest : public LutEditorTest {
  protected:
    void SetUp() override {
        LutEditorTest::SetUp();
        ASSERT_TRUE(openLink());
    }

    static zr::LutTable pattern() {
        zr::LutTable table{};
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; ++i) table[c][i] = (i * 7 + 50 * c) % 256;
        }
        return table;
    }

    void cameraHolds(const zr::LutTable& table) {
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; ++i) {
                camera.setReg(static_cast<uint8_t>(0x20 + c), static_cast<uint8_t>(i),
                              static_cast<uint32_t>(table[c][i]) << 16);
            }
        }
    }
};

// WRITE with green hidden, then READ with red and blue hidden: WRITE skips
// the hidden channel, READ takes all three, and the camera keeps what it got.
TEST_F(LutTransferTest, WriteSkipsHiddenChannelsAndReadTakesThemAll) {
    editor->entries = pattern();
    button(CLookUpTable::IDC_SHOW_G)->click();
    button(CLookUpTable::IDC_WRITE)->click();
    auto texts = sent();
    ASSERT_EQ(texts.size(), 512u);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(texts[i], lutWriteText(0, i, pattern()[0][i]));
        ASSERT_EQ(texts[256 + i], lutWriteText(2, i, pattern()[2][i]));
    }

    camera.clearLog();
    button(CLookUpTable::IDC_GAMMA_045)->click();
    for (int id : {CLookUpTable::IDC_SHOW_R, CLookUpTable::IDC_SHOW_G, CLookUpTable::IDC_SHOW_B}) {
        button(id)->click();
    }
    button(CLookUpTable::IDC_READ)->click();
    EXPECT_EQ(editor->entries[0], pattern()[0]);
    EXPECT_EQ(editor->entries[1], zr::identityLut()[1]);
    EXPECT_EQ(editor->entries[2], pattern()[2]);
    texts = sent();
    ASSERT_EQ(texts.size(), 768u);
    EXPECT_EQ(texts[0], "A000000000");
    EXPECT_EQ(texts[256], "A100000000");
    EXPECT_EQ(texts[767], "A2FF000000");
    EXPECT_TRUE(sink.texts().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Long runs shorten the walk: READ and WRITE then take entries 0..n-1 only.
TEST_F(LutTransferTest, AShortenedWalkTakesTheFirstEntriesOfEachChannel) {
    cameraHolds(pattern());
    editor->walkEntries = 2;
    button(CLookUpTable::IDC_READ)->click();
    EXPECT_EQ(sent(), (std::vector<std::string>{"A000000000", "A001000000", "A100000000",
                                                "A101000000", "A200000000", "A201000000"}));
    EXPECT_EQ(editor->entries[1][1], pattern()[1][1]);
    EXPECT_EQ(editor->entries[1][2], 2);

    camera.clearLog();
    button(CLookUpTable::IDC_WRITE)->click();
    EXPECT_EQ(sent(), (std::vector<std::string>{lutWriteText(0, 0, 0), lutWriteText(0, 1, 7),
                                                lutWriteText(1, 0, 50), lutWriteText(1, 1, 57),
                                                lutWriteText(2, 0, 100), lutWriteText(2, 1, 107)}));
    EXPECT_TRUE(sink.texts().empty());
}

TEST_F(LutTransferTest, WriteWithEveryChannelHiddenSendsNothing) {
    for (int id : {CLookUpTable::IDC_SHOW_R, CLookUpTable::IDC_SHOW_G, CLookUpTable::IDC_SHOW_B}) {
        button(id)->click();
    }
    button(CLookUpTable::IDC_WRITE)->click();
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(sink.texts().empty());
}

TEST_F(LutTransferTest, WriteOnAClosedLinkStopsWithItsMessage) {
    panel.link().CloseLink();
    std::vector<bool> waitCursorUp;
    sink.onShow([&](const zr::test::RecordedMessage&) {
        waitCursorUp.push_back(QApplication::overrideCursor() != nullptr);
    });
    button(CLookUpTable::IDC_WRITE)->click();
    EXPECT_EQ(sink.texts(), (std::vector<std::string>{"PORT isn't open.", "Failed to write LUT"}));
    EXPECT_EQ(waitCursorUp, (std::vector<bool>{true, false}));
    const auto messages = sink.messages();
    EXPECT_EQ(messages[1].message.caption, QApplication::applicationName().toStdString());
    EXPECT_EQ(messages[1].message.owner, editor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The camera falls silent after answering the first 300 reads: red is read
// whole, green up to entry 43, and the link then times out (about 3 s).
TEST_F(LutTransferTest, ReadStopsWhenTheCameraFallsSilent) {
    cameraHolds(pattern());
    int frames = 0;
    camera.setFrameObserver([&](const zr::sim::ReceivedFrame&) {
        if (++frames == 300)
            camera.updateFaults([](zr::sim::FaultSettings& f) { f.silent = true; });
    });
    std::vector<bool> waitCursorUp;
    sink.onShow([&](const zr::test::RecordedMessage&) {
        waitCursorUp.push_back(QApplication::overrideCursor() != nullptr);
    });
    button(CLookUpTable::IDC_READ)->click();
    camera.setFrameObserver(nullptr);

    const auto texts = sink.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), "Failed to get LUT");
    EXPECT_EQ(waitCursorUp.back(), false);
    EXPECT_EQ(editor->entries[0], pattern()[0]);
    for (int i = 0; i < 44; ++i) EXPECT_EQ(editor->entries[1][i], pattern()[1][i]) << i;
    for (int i = 44; i < 256; ++i) EXPECT_EQ(editor->entries[1][i], i) << i;
    EXPECT_EQ(editor->entries[2], zr::identityLut()[2]);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
