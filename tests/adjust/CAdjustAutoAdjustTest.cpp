// The camera's automatic gain adjustment as the window starts and polls it.
#include <QAbstractButton>
#include <QLabel>
#include <QSlider>
#include <algorithm>
#include <thread>

#include "AdjustTestSupport.h"

using namespace adjust_id;
using adjust_test::AdjustWindowTest;
using adjust_test::waitFor;

namespace {

constexpr const char* kStatusRead = "B01A000000";

size_t countOf(const std::vector<std::string>& texts, const std::string& text) {
    return static_cast<size_t>(std::count(texts.begin(), texts.end(), text));
}

}  // namespace

class AutoAdjustTest : public AdjustWindowTest {
  protected:
    void start(int polls, int result) {
        camera->updateBehaviour([&](zr::sim::BehaviourSettings& b) {
            b.agcPolls = polls;
            b.agcResult = result;
            b.agcGains = {180, 170, 190};
        });
        enterAdjustMode(STEP_GAIN);
        click(AUTO_ADJUST);
        EXPECT_TRUE(window->isTimerActive(CAdjust::AutoAdjustTimer));
    }
};

TEST_F(AutoAdjustTest, FinishesAfterSomePollsAndReadsTheGainsBack) {
    start(3, 0);
    ASSERT_TRUE(waitFor([&] { return sink.count() > 0; }));
    const auto messages = sink.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message.text, "Adjust is finished.");
    EXPECT_EQ(messages[0].message.caption, "Adjust");
    EXPECT_EQ(messages[0].message.buttons, zr::MsgButtons::Ok);

    const auto sent = takeSent();
    // Start, three answers of 1, the final 0, then the gains.
    ASSERT_EQ(sent.size(), 1u + 4u + 3u);
    EXPECT_EQ(sent[0], "301A010000");
    EXPECT_EQ(countOf(sent, kStatusRead), 4u);
    EXPECT_EQ(std::vector<std::string>(sent.end() - 3, sent.end()),
              (std::vector<std::string>{"B01B000000", "B01C000000", "B01D000000"}));

    EXPECT_EQ(text(GAIN_EDIT_R), "180");
    EXPECT_EQ(text(GAIN_EDIT_R + 1), "170");
    EXPECT_EQ(text(GAIN_EDIT_R + 2), "190");
    EXPECT_EQ(window->control<QSlider>(GAIN_SLIDER_R + 2)->value(), 190);
    EXPECT_EQ(text(AUTO_ADJUST_PROGRESS), "");
    EXPECT_FALSE(window->isTimerActive(CAdjust::AutoAdjustTimer));
}

TEST_F(AutoAdjustTest, ProgressTextAlternatesOnEveryPoll) {
    start(1000, 0);
    auto* label = window->control<QLabel>(AUTO_ADJUST_PROGRESS);
    std::vector<QString> seen;
    size_t reads = 0;
    ASSERT_TRUE(waitFor([&] {
        const size_t now = countOf(camera->commandTexts(), kStatusRead);
        if (now != reads) {
            reads = now;
            seen.push_back(label->text());
        }
        return seen.size() >= 4;
    }));
    click(CLOSE);
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_NE(seen[i], seen[i - 1]) << i;
}

TEST_F(AutoAdjustTest, ReportsAFailureAndStillReadsTheGainsBack) {
    adjust_test::setCameraRow(*camera, 60, 11);
    adjust_test::setCameraRow(*camera, 61, 22);
    adjust_test::setCameraRow(*camera, 62, 33);
    start(2, 2);
    ASSERT_TRUE(waitFor([&] { return sink.count() > 0; }));
    const auto messages = sink.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message.text, "Failed to adjust automaticaly. Please retly.");
    EXPECT_EQ(messages[0].message.caption, "error");
    EXPECT_EQ(messages[0].message.icon, zr::MsgIcon::Exclamation);
    const auto sent = takeSent();
    EXPECT_EQ(countOf(sent, kStatusRead), 3u);
    EXPECT_EQ(sent.back(), "B01D000000");
    EXPECT_EQ(text(GAIN_EDIT_R), "11");
    EXPECT_EQ(text(GAIN_EDIT_R + 2), "33");
}

TEST_F(AutoAdjustTest, ClosingDuringThePollStopsItForGood) {
    start(1000, 0);
    ASSERT_TRUE(waitFor([&] { return countOf(camera->commandTexts(), kStatusRead) >= 2; }));
    click(CLOSE);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->isTimerActive(CAdjust::AutoAdjustTimer));
    takeSent();
    // Let the camera finish: nobody asks any more, and no box appears.
    camera->updateBehaviour([](zr::sim::BehaviourSettings& b) { b.agcPolls = 0; });
    waitFor([] { return false; }, std::chrono::milliseconds(600));
    EXPECT_TRUE(takeSent().empty());
    EXPECT_EQ(sink.count(), 0u);
}

TEST_F(AutoAdjustTest, LeavingTheGainStepDoesNotStopThePoll) {
    start(3, 0);
    click(STEP_VSUB);
    EXPECT_FALSE(enabled(AUTO_ADJUST));
    ASSERT_TRUE(waitFor([&] { return sink.count() > 0; }));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"Adjust is finished."});
    EXPECT_EQ(text(GAIN_EDIT_R + 1), "170");
}

// A closed port cannot answer any poll: both window timers end quietly
// instead of putting up the link's refusal on every tick.
TEST_F(AutoAdjustTest, ClosingTheLinkEndsEveryPollQuietly) {
    enum Poll { Adjustment, Temperature };
    for (Poll poll : {Adjustment, Temperature}) {
        SCOPED_TRACE(poll);
        camera->clearLog();
        if (poll == Adjustment) {
            start(1000, 0);
            ASSERT_TRUE(waitFor([&] { return countOf(camera->commandTexts(), kStatusRead) >= 1; }));
        } else {
            openLink();
            click(CONTINUOUS);
            ASSERT_TRUE(window->isTimerActive(CAdjust::TemperatureTimer));
            ASSERT_TRUE(
                waitFor([&] { return countOf(camera->commandTexts(), "B07E000000") >= 1; }));
        }
        settle();
        closeLink();
        sink.clear();
        waitFor([] { return false; }, std::chrono::milliseconds(700));
        EXPECT_EQ(sink.count(), 0u);
        EXPECT_FALSE(window->isTimerActive(CAdjust::AutoAdjustTimer));
        EXPECT_FALSE(window->isTimerActive(CAdjust::TemperatureTimer));
        EXPECT_EQ(text(AUTO_ADJUST_PROGRESS), "");
        EXPECT_FALSE(window->control<QAbstractButton>(CONTINUOUS)->isChecked());
        EXPECT_TRUE(window->isVisible());
    }
}
