#include <QAction>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>

#include "LutEditorFixture.h"
#include "panel/PanelControlIds.h"
#include "tools/CLinkTrace.h"
#include "tools/LutProgressDialog.h"

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
    bool progressOverBox = false;
    editor->progressDelayMs = 60000;
    sink.onShow([&](const zr::test::RecordedMessage&) {
        waitCursorUp.push_back(QApplication::overrideCursor() != nullptr);
        // A real box runs an event loop: past the toolkit's own 4 s, its
        // timers must not bring the progress up over the box and block it.
        if (waitCursorUp.size() == 1) QTest::qWait(1200);
        auto* progress = editor->findChild<LutProgressDialog*>();
        progressOverBox |= progress && progress->isVisible();
    });
    button(CLookUpTable::IDC_READ)->click();
    camera.setFrameObserver(nullptr);
    EXPECT_FALSE(progressOverBox);

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

// Cancel during READ or WRITE, by the button or by closing the dialog: the
// walk stops after the exchange in flight, so exactly `cancelAt` entries
// crossed the wire; a READ keeps what it read; a box gives the count.
TEST_F(LutTransferTest, CancelStopsAfterTheExchangeInFlightAndSaysHowFarItGot) {
    struct Case {
        bool read;
        bool byButton;
        int hidden;  // channel hidden before a WRITE, -1 none
        int cancelAt;
        const char* label;  // the dialog's label when the cancel comes
        const char* box;
    };
    const Case cases[] = {
        {true, true, -1, 1, "Red entry 1 of 4 (1 of 12)",
         "LUT read cancelled: 1 of 12 entries were read (Red 0); the others are as before."},
        {true, false, -1, 6, "Green entry 2 of 4 (6 of 12)",
         "LUT read cancelled: 6 of 12 entries were read (Red 0 to 3, Green 0 to 1); the others "
         "are as before."},
        {true, true, -1, 11, "Blue entry 3 of 4 (11 of 12)",
         "LUT read cancelled: 11 of 12 entries were read (Red 0 to 3, Green 0 to 3, Blue 0 to "
         "2); the others are as before."},
        {false, true, -1, 5, "Green entry 1 of 4 (5 of 12)",
         "LUT write cancelled: 5 of 12 entries were written."},
        {false, false, 0, 5, "Blue entry 1 of 4 (5 of 8)",
         "LUT write cancelled: 5 of 8 entries were written."},
    };
    editor->walkEntries = 4;
    editor->progressDelayMs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        cameraHolds(c.read ? pattern() : zr::identityLut());
        editor->entries = c.read ? zr::identityLut() : pattern();
        for (int ch = 0; ch < 3; ++ch) editor->showChannel[ch] = ch != c.hidden;
        clearSent();
        sink.clear();

        std::vector<int> seen;
        QString label;
        bool shown = false;
        auto hook = QObject::connect(editor, &CLookUpTable::transferAdvanced, [&](int done, int) {
            seen.push_back(done);
            auto* dialog = editor->findChild<LutProgressDialog*>();
            ASSERT_NE(dialog, nullptr);
            if (done != c.cancelAt) return;
            label = dialog->labelText();
            shown = dialog->isVisible() && dialog->isModal();
            if (c.byButton) {
                dialog->findChild<QPushButton*>()->click();
            } else {
                dialog->reject();
            }
        });
        button(c.read ? CLookUpTable::IDC_READ : CLookUpTable::IDC_WRITE)->click();
        QObject::disconnect(hook);

        EXPECT_EQ(label.toStdString(), c.label);
        EXPECT_TRUE(shown);
        EXPECT_EQ(seen.size(), static_cast<size_t>(c.cancelAt));
        EXPECT_EQ(sink.texts(), std::vector<std::string>{c.box});
        const auto texts = sent();
        ASSERT_EQ(texts.size(), static_cast<size_t>(c.cancelAt));
        const zr::LutTable wanted = pattern();
        int done = 0;
        for (int ch = 0; ch < 3; ++ch) {
            if (ch == c.hidden) continue;
            for (int i = 0; i < 4; ++i, ++done) {
                if (c.read) {
                    // Read entries replaced, the rest as they were.
                    EXPECT_EQ(editor->entries[ch][i], done < c.cancelAt ? wanted[ch][i] : i);
                    if (done < c.cancelAt) {
                        EXPECT_EQ(texts[done],
                                  zr::test::hex2(0xA0 + ch) + zr::test::hex2(i) + "000000");
                    }
                } else if (done < c.cancelAt) {
                    EXPECT_EQ(texts[done], lutWriteText(ch, i, wanted[ch][i]));
                }
            }
        }
        EXPECT_EQ(editor->findChild<LutProgressDialog*>(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

}  // namespace

// At full speed, some 3,000 lines: the open trace window stays on the newest.
TEST_F(LutEditorTest, TheTraceFollowsAFullSpeedRead) {
    ASSERT_TRUE(openLink());
    panel.menuAction(zr::panel::ID_LINK_TRACE)->trigger();
    auto* trace = panel.findChild<CLinkTrace*>();
    ASSERT_NE(trace, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(trace));
    button(CLookUpTable::IDC_READ)->click();
    sent();
    trace->poll();
    trace->poll();
    ASSERT_GT(trace->lines().size(), 3000u);
    const QScrollBar* bar = trace->findChild<QPlainTextEdit*>("traceView")->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
}
