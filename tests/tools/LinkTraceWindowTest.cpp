#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cstdlib>
#include <memory>

#include "SimPanelTest.h"
#include "link/FrameCodec.h"
#include "link/TraceQueue.h"
#include "params/FileErrorText.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "tools/CLinkTrace.h"

namespace {

using Kind = zr::TraceEvent::Kind;

// The trace window on a queue of its own, fed by the test instead of a link.
class LinkTraceWindowTest : public SimPanelTest {
  protected:
    LinkTraceWindowTest() : SimPanelTest(false) {}

    void SetUp() override {
        SimPanelTest::SetUp();
        window = std::make_unique<CLinkTrace>(queue, &panel);
        ASSERT_TRUE(window->CreateModeless(panel.toolContext()));
        window->show();
    }
    void TearDown() override {
        window.reset();
        SimPanelTest::TearDown();
    }

    // `n` one-byte writes at ticks from..from+n-1, taken in by the window.
    void sendBytes(uint32_t from, int n) {
        for (int i = 0; i < n; ++i) {
            const uint8_t b = 0x06;
            queue.push({Kind::Sent, from + static_cast<uint32_t>(i), &b, 1, 0});
            if (i % 1000 == 999) window->poll();
        }
        window->poll();
    }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
    int viewLines() {
        return window->findChild<QPlainTextEdit*>("traceView")->document()->blockCount();
    }

    zr::TraceQueue queue;
    std::unique_ptr<CLinkTrace> window;
};

TEST_F(LinkTraceWindowTest, KeepsTheLastTenThousandLinesPausesAndClears) {
    ASSERT_TRUE(queue.listening());
    sendBytes(0, 10005);
    ASSERT_EQ(window->lines().size(), CLinkTrace::kMaxLines);
    EXPECT_EQ(window->lines().front().ms, 5u);
    EXPECT_EQ(window->lines().back().ms, 10004u);
    EXPECT_EQ(viewLines(), 10000);
    EXPECT_TRUE(window->viewText().endsWith(QStringLiteral("     10004 ms  ->  06  |.|  ACK")));

    // Paused: the view stands still, the lines are still kept.
    button("pauseButton")->click();
    ASSERT_TRUE(window->paused());
    const QString frozen = window->viewText();
    sendBytes(20000, 2);
    EXPECT_EQ(window->lines().back().ms, 20001u);
    EXPECT_EQ(window->viewText(), frozen);
    button("pauseButton")->click();
    EXPECT_TRUE(window->viewText().endsWith(QStringLiteral("     20001 ms  ->  06  |.|  ACK")));
    EXPECT_EQ(viewLines(), 10000);

    button("clearButton")->click();
    EXPECT_TRUE(window->lines().empty());
    EXPECT_TRUE(window->viewText().isEmpty());
    // Closing the window stops the queue taking events.
    window->hide();
    EXPECT_FALSE(queue.listening());
}

// A fast walk at the window's own size: a dozen lines a poll.
TEST_F(LinkTraceWindowTest, FollowsTheNewestLineUntilTheUserScrollsAway) {
    QScrollBar* bar = window->findChild<QPlainTextEdit*>("traceView")->verticalScrollBar();
    uint32_t tick = 0;
    auto walk = [&](int polls) {
        for (int i = 0; i < polls; ++i) {
            const int n = 1 + (i * 7) % 40;
            sendBytes(tick, n);
            tick += n;
            if (bar->value() != bar->maximum()) return false;
        }
        return true;
    };
    EXPECT_TRUE(walk(256));
    EXPECT_GT(bar->maximum(), 0);
    // Scrolled up: the view stays where the user put it.
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    const int reading = bar->value();
    sendBytes(tick, 12);
    tick += 12;
    EXPECT_EQ(bar->value(), reading);
    // Back at the end: it follows again.
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_TRUE(walk(20));
}

// A received line waits for what the link makes of it; hiding the window
// must not lose it.
TEST_F(LinkTraceWindowTest, HidingKeepsTheLineHeldBackForItsMeanings) {
    const uint8_t ack = 0x06;
    queue.push({Kind::Received, 10, &ack, 1, 0});
    window->poll();
    queue.push({Kind::Ack, 11, nullptr, 0, 0});
    window->hide();
    ASSERT_EQ(window->lines().size(), 1u);
    EXPECT_EQ(window->lines().back().meaning, "ACK");
    EXPECT_EQ(window->lines().back().direction, "<-");
}

TEST_F(LinkTraceWindowTest, EventsTheQueueCouldNotKeepShowAsALine) {
    window.reset();
    zr::TraceQueue small(2);
    window = std::make_unique<CLinkTrace>(small, &panel);
    ASSERT_TRUE(window->CreateModeless(panel.toolContext()));
    window->show();
    const uint8_t b = 0x15;
    for (uint32_t t = 0; t < 5; ++t) small.push({Kind::Sent, t, &b, 1, 0});
    window->poll();
    ASSERT_EQ(window->lines().size(), 3u);
    EXPECT_EQ(window->lines()[2].meaning, "3 events lost: the trace fell behind");
    window.reset();
}

TEST_F(LinkTraceWindowTest, SavesCsvSafelyAndReportsFileErrors) {
    const uint8_t chunk[] = {0x06, '"'};
    queue.push({Kind::Received, 12, chunk, 2, 0});
    queue.push({Kind::Ack, 12, nullptr, 0, 0});
    window->poll();
    window->poll();
    ASSERT_EQ(window->lines().size(), 1u);

    zr::test::TempDir dir;
    const std::string path = dir.file("trace.csv");
    zr::test::writeFile(path, "old");
    window->setChooser([&] { return QString::fromStdString(path); });
    button("saveButton")->click();
    EXPECT_EQ(zr::test::readFile(path),
              "ms,direction,hex,text,meaning,round_trip_ms\n"
              "12,\"<-\",\"06 22\",\".\"\"\",\"ACK\",\n");
    EXPECT_EQ(dir.entries(), 1u);
    EXPECT_EQ(sink.count(), 0u);

    const std::string bad = dir.file("missing/trace.csv");
    EXPECT_FALSE(window->saveCsv(QString::fromStdString(bad)));
    ASSERT_EQ(sink.count(), 1u);
    const zr::Message m = sink.messages()[0].message;
    EXPECT_EQ(m.text, zr::fileErrorMessage(zr::FileErrorCause::BadPath, bad));
    EXPECT_EQ(m.caption, QCoreApplication::applicationName().toStdString());
    EXPECT_EQ(m.icon, zr::MsgIcon::Error);
    EXPECT_EQ(zr::test::readFile(path).substr(0, 3), "ms,");
}

// A write, a read with its answer, a resend and a time-out, as the window
// shows them. Saved as trace.png into $ZR_SCREENSHOT_DIR when that is set
// (scripts/screenshot.sh trace).
TEST_F(LinkTraceWindowTest, ScreenshotOfExchanges) {
    auto frame = [](const char* text) {
        return zr::buildCommandFrame(zr::checkCommandText(text).upper);
    };
    const auto write = frame("010C015500");
    const auto read = frame("8117000000");
    const auto readSpot = frame("814C000000");
    const auto readLut = frame("A00C000000");
    const uint8_t lutAnswer[] = {0x02, '4', 'E', '5', 'A', 'A', '5', 0x03, 'E', 'B'};
    const uint8_t lutValue[] = {0x4E, 0x5A, 0xA5};
    const uint8_t ack = 0x06;
    const uint8_t answer[] = {0x02, '8', '0', '0', '0', '0', '0', 0x03, 'D', '2'};
    const uint8_t value[] = {0x80, 0x00, 0x00};
    const zr::TraceEvent events[] = {
        {Kind::Opened, 1000, nullptr, 0, 0},        {Kind::Sent, 1210, write.data(), 18, 0},
        {Kind::Received, 1214, &ack, 1, 0},         {Kind::Ack, 1214, nullptr, 0, 0},
        {Kind::Sent, 1500, read.data(), 18, 0},     {Kind::Received, 1503, &ack, 1, 0},
        {Kind::Ack, 1503, nullptr, 0, 0},           {Kind::Received, 1509, answer, 10, 0},
        {Kind::Answer, 1509, value, 3, 0},          {Kind::Sent, 1509, &ack, 1, 0},
        {Kind::Sent, 1800, write.data(), 18, 0},    {Kind::Resend, 2801, nullptr, 0, 1},
        {Kind::Sent, 2801, write.data(), 18, 0},    {Kind::Resend, 3802, nullptr, 0, 2},
        {Kind::Sent, 3802, write.data(), 18, 0},    {Kind::AckTimeout, 4803, nullptr, 0, 0},
        {Kind::Sent, 5000, readSpot.data(), 18, 0}, {Kind::Received, 5003, &ack, 1, 0},
        {Kind::Ack, 5003, nullptr, 0, 0},           {Kind::AnswerTimeout, 8003, nullptr, 0, 0},
        {Kind::Sent, 8100, readLut.data(), 18, 0},  {Kind::Received, 8103, &ack, 1, 0},
        {Kind::Ack, 8103, nullptr, 0, 0},           {Kind::Received, 8109, lutAnswer, 10, 0},
        {Kind::Answer, 8109, lutValue, 3, 0},       {Kind::Sent, 8109, &ack, 1, 0},
    };
    for (const zr::TraceEvent& e : events) queue.push(e);
    window->poll();
    window->poll();
    ASSERT_EQ(window->lines().size(), 20u);
    EXPECT_EQ(window->lines()[5].meaning, "answer 80 00 00: brightness_level = 128");
    EXPECT_EQ(window->lines()[6].direction, "->");  // the program's own ACK of the answer
    EXPECT_EQ(window->lines()[16].meaning, "read LUT red[12]");
    EXPECT_EQ(window->lines()[18].meaning, "answer: LUT red[12] = 78");
    // At the window's own size every line is whole, its meaning too.
    QCoreApplication::processEvents();
    EXPECT_EQ(window->findChild<QPlainTextEdit*>("traceView")->horizontalScrollBar()->maximum(), 0);

    const QImage image = window->grab().toImage();
    ASSERT_FALSE(image.isNull());
    if (const char* dir = std::getenv("ZR_SCREENSHOT_DIR")) {
        ASSERT_TRUE(QDir().mkpath(dir));
        EXPECT_TRUE(image.save(QDir(dir).filePath("trace.png")));
    }
}

}  // namespace
