#include <QAbstractButton>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <algorithm>

#include "SimPanelTest.h"
#include "panel/PanelControlIds.h"
#include "tools/CLookUpTable.h"
#include "tools/CWhiteSpot.h"

using zr::sim::Spot;

class WhiteSpotDetectTest : public SimPanelTest {
  protected:
    void SetUp() override {
        SimPanelTest::SetUp();
        panel.OpenWhiteSpot();
        w = panel.whiteSpotWindow();
        ASSERT_NE(w, nullptr);
        clearSent();
    }
    bool detectEnabled() const { return w->control(CWhiteSpot::IDC_DETECT)->isEnabled(); }
    // Polls as the timer would until a message comes up; false if none came.
    bool pollUntilMessage() {
        for (int i = 0; i < 20 && sink.count() == 0; ++i) {
            EXPECT_TRUE(w->detectTimerActive());
            sent();  // a period is long enough for the last exchange to end
            w->OnTimer(CWhiteSpot::kDetectTimerId);
        }
        return sink.count() > 0;
    }
    long countOf(const std::string& text) {
        const auto texts = sent();
        return std::count(texts.begin(), texts.end(), text);
    }
    void click(int id) { qobject_cast<QAbstractButton*>(w->control(id))->click(); }

    QPointer<CWhiteSpot> w;
};

TEST_F(WhiteSpotDetectTest, FinishedDetectionReportsThenListsThenEnablesDetect) {
    camera.updateBehaviour([](zr::sim::BehaviourSettings& b) {
        b.detectPolls = 2;
        b.detectResult = 0;
        b.detectedSpots = {std::vector<Spot>{{12, 345}, {1000, 2}}, {}, {{7, 65}}};
    });
    bool cursorAtMessage = true, listedBeforeClose = true, enabledAtMessage = true;
    sink.onShow([&](const zr::test::RecordedMessage&) {
        cursorAtMessage = QApplication::overrideCursor() != nullptr;
        listedBeforeClose = !w->spotListText().isEmpty();
        enabledAtMessage = detectEnabled();
    });
    click(CWhiteSpot::IDC_DETECT);
    EXPECT_EQ(sent(), std::vector<std::string>{"014D010000"});
    EXPECT_FALSE(detectEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // up only from the first poll

    w->OnTimer(CWhiteSpot::kDetectTimerId);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ASSERT_TRUE(pollUntilMessage());

    EXPECT_EQ(countOf("814D000000"), 3);
    const zr::Message m = sink.messages().at(0).message;
    EXPECT_EQ(m.text, "Detect is finished.");
    EXPECT_EQ(m.caption, "ZR_K880TM_Control");
    EXPECT_EQ(m.icon, zr::MsgIcon::None);
    EXPECT_FALSE(cursorAtMessage);
    EXPECT_FALSE(listedBeforeClose);
    EXPECT_FALSE(enabledAtMessage);
    const QString expected =
        "[RED]\tNo. 1: x =   12,  y =  345 \r\n"
        "[RED]\tNo. 2: x = 1000,  y =    2 \r\n"
        "[BLUE]\tNo. 1: x =    7,  y =   65 \r\n";
    EXPECT_EQ(w->spotListText(), expected);
    EXPECT_EQ(qobject_cast<QPlainTextEdit*>(w->control(1020))->toPlainText(),
              QString(expected).replace("\r\n", "\n"));
    EXPECT_TRUE(detectEnabled());
    EXPECT_FALSE(w->detectTimerActive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WhiteSpotDetectTest, OtherEndStatusesReportAndListNothing) {
    const struct {
        int status;
        const char* text;
    } cases[] = {{2, "Number of detect is over."}, {3, "Detetion is failed. Please retly."}};
    for (const auto& c : cases) {
        sink.clear();
        clearSent();
        camera.updateBehaviour([&](zr::sim::BehaviourSettings& b) {
            b.detectPolls = 1;
            b.detectResult = c.status;
            b.detectedSpots = {std::vector<Spot>{{1, 2}}, {}, {}};
        });
        click(CWhiteSpot::IDC_DETECT);
        ASSERT_TRUE(pollUntilMessage());
        EXPECT_EQ(sink.texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(sent().back(), "814D000000");  // no coordinate read
        EXPECT_TRUE(w->spotListText().isEmpty());
        EXPECT_TRUE(detectEnabled());
    }
}

TEST_F(WhiteSpotDetectTest, NoSpotInAnyColourReadsOneEndMarkerEach) {
    click(CWhiteSpot::IDC_READ);
    EXPECT_EQ(sent(), (std::vector<std::string>{"8C00000000", "8D00000000", "8E00000000"}));
    EXPECT_EQ(w->spotListText(), "There is no white spot.");
}

TEST_F(WhiteSpotDetectTest, SixtyFourSpotsListWithoutReadingAnEndMarker) {
    std::vector<Spot> spots;
    for (int n = 0; n < 64; ++n) spots.push_back({static_cast<uint16_t>(n), 500});
    camera.setHeldSpots(0, spots);
    click(CWhiteSpot::IDC_READ);
    const auto texts = sent();
    ASSERT_EQ(texts.size(), 130u);
    EXPECT_EQ(texts[127], "8C7F000000");
    EXPECT_EQ(texts[128], "8D00000000");
    const QStringList lines = w->spotListText().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 64);
    EXPECT_EQ(lines.first(), "[RED]\tNo. 1: x =    0,  y =  500 ");
    EXPECT_EQ(lines.last(), "[RED]\tNo.64: x =   63,  y =  500 ");
}

TEST_F(WhiteSpotDetectTest, CoordinateReadFailingHalfWayLeavesTheList) {
    camera.setHeldSpots(1, {{10, 20}});
    click(CWhiteSpot::IDC_READ);
    const QString before = w->spotListText();
    ASSERT_EQ(before, "[GREEN]\tNo. 1: x =   10,  y =   20 \r\n");

    camera.setHeldSpots(0, {{1, 1}, {2, 2}});
    // The camera refuses the frame after the first spot's y: the second x
    // never gets its answer.
    camera.setFrameObserver([this](const zr::sim::ReceivedFrame& frame) {
        if (frame.text == "8C01000000") camera.updateFaults([](auto& f) { f.nakNextFrames = 1; });
    });
    click(CWhiteSpot::IDC_READ);
    camera.setFrameObserver(nullptr);
    EXPECT_EQ(sent().back(), "8C02000000");
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ANSWER DATA]"});
    EXPECT_EQ(w->spotListText(), before);
}

TEST_F(WhiteSpotDetectTest, ReopeningAfterCloseMakesAFreshWindowAndEndsTheOldPoll) {
    camera.updateBehaviour([](zr::sim::BehaviourSettings& b) { b.detectPolls = 2; });
    click(CWhiteSpot::IDC_DETECT);
    sent();
    w->OnTimer(CWhiteSpot::kDetectTimerId);
    click(CWhiteSpot::IDC_CLOSE);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w->detectTimerActive());  // hidden, still polling

    panel.OpenWhiteSpot();
    EXPECT_TRUE(w.isNull());
    w = panel.whiteSpotWindow();
    EXPECT_TRUE(detectEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    clearSent();
    QTest::qWait(1200);  // several periods of the old timer
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(WhiteSpotDetectTest, HiddenWindowIsStillPolledAndReportsOnTheRealTimer) {
    camera.updateBehaviour([](zr::sim::BehaviourSettings& b) { b.detectPolls = 1; });
    click(CWhiteSpot::IDC_DETECT);
    click(CWhiteSpot::IDC_CLOSE);
    for (int i = 0; i < 100 && sink.count() == 0; ++i) QTest::qWait(50);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Detect is finished."});
    EXPECT_EQ(w->spotListText(), "There is no white spot.");
    EXPECT_FALSE(w->isVisible());
}

TEST_F(WhiteSpotDetectTest, ClosedLinkEndsTheDetectionInsteadOfPollingForever) {
    panel.link().CloseLink();
    click(CWhiteSpot::IDC_DETECT);
    w->OnTimer(CWhiteSpot::kDetectTimerId);
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"PORT isn't open."});
    EXPECT_FALSE(w->detectTimerActive());
    EXPECT_TRUE(detectEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WhiteSpotDetectTest, TickDuringALinkMessageWaitsForTheNextTick) {
    camera.updateFaults([](zr::sim::FaultSettings& f) { f.silent = true; });
    bool polled = true;
    // The tick arrives while the link's own message is up, as it would from
    // the message box's event loop.
    sink.onShow([&](const zr::test::RecordedMessage&) {
        camera.clearLog();
        w->OnTimer(CWhiteSpot::kDetectTimerId);
        polled = !camera.commandTexts().empty();
    });
    click(CWhiteSpot::IDC_DETECT);
    sent();
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    EXPECT_FALSE(polled);
    EXPECT_TRUE(w->detectTimerActive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The LUT walk's progress dialog lets Qt run between two entries; a detection
// tick that comes then waits for the walk instead of polling in between.
TEST_F(WhiteSpotDetectTest, TickDuringALutWalkWaitsForTheWalk) {
    click(CWhiteSpot::IDC_DETECT);
    clearSent();
    panel.OnCommand(zr::panel::IDC_LUT_TABLE);
    CLookUpTable* editor = panel.lookUpTableWindow();
    ASSERT_NE(editor, nullptr);
    editor->walkEntries = 2;
    editor->progressDelayMs = 0;
    bool ticked = false;
    QObject::connect(editor, &CLookUpTable::transferAdvanced, [&](int done, int) {
        if (done != 3) return;
        w->OnTimer(CWhiteSpot::kDetectTimerId);
        ticked = true;
    });
    editor->OnRead();
    ASSERT_TRUE(ticked);
    EXPECT_EQ(sent(), (std::vector<std::string>{"A000000000", "A001000000", "A100000000",
                                                "A101000000", "A200000000", "A201000000"}));
    EXPECT_TRUE(w->detectTimerActive());
}
