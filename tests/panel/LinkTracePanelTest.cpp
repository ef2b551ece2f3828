#include <gtest/gtest.h>

#include <QAction>
#include <memory>
#include <string>
#include <vector>

#include "model/CameraModel.h"
#include "model/SimClSerial.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "panel/PanelClock.h"
#include "panel/PanelControlIds.h"
#include "support/Eventually.h"
#include "support/ManualClock.h"
#include "support/RecordingSink.h"
#include "support_qt/SimPanelPort.h"
#include "tools/CLinkTrace.h"

namespace zr::test {
namespace {

// The panel on virtual time, its trace window open, against a camera that
// never replies.
class LinkTracePanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        panel::setLinkClock(&clock);
        camera = std::make_unique<sim::CameraModel>(clock);
        camera->updateFaults([](sim::FaultSettings& f) { f.silent = true; });
        sim::attachModel(0, camera.get());
        dialog = std::make_unique<CZR_K880TM_ControlDlg>();
        dialog->messages().setSink(sink);
    }
    void TearDown() override {
        clock.release();
        if (dialog) dialog->link().CloseLink();
        dialog.reset();
        sim::attachModel(0, nullptr);
        panel::setLinkClock(nullptr);
    }

    ManualClock clock{5000};
    RecordingSink sink;
    std::unique_ptr<sim::CameraModel> camera;
    std::unique_ptr<CZR_K880TM_ControlDlg> dialog;
};

TEST_F(LinkTracePanelTest, ShowsTheWriteItsResendsAndTheAckTimeOut) {
    dialog->menuAction(ID_LINK_TRACE)->trigger();
    dialog->menuAction(ID_LINK_TRACE)->trigger();
    ASSERT_EQ(dialog->findChildren<CLinkTrace*>().size(), 1);
    CLinkTrace* window = dialog->findChild<CLinkTrace*>();
    ASSERT_TRUE(window->isVisible());

    ASSERT_TRUE(openSimPort(*dialog));
    ASSERT_EQ(dialog->params().WriteParam(ROW_GAIN_LEVEL, 5), 0);
    // Waiting in real time, so that only the worker moves virtual time.
    ASSERT_TRUE(eventually([&] {
        dialog->messages().servePending();
        return !dialog->link().inExchange();
    }));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"There is no [ACK]"});
    window->poll();
    window->poll();

    const auto& lines = window->lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].ms, 0u);
    EXPECT_EQ(lines[0].meaning, "port opened");
    std::vector<std::string> got;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string s = std::to_string(lines[i].ms - lines[1].ms) + " " + lines[i].direction + " " +
                        lines[i].meaning;
        if (lines[i].roundTripMs >= 0) s += " [" + std::to_string(lines[i].roundTripMs) + "]";
        got.push_back(s);
    }
    EXPECT_EQ(
        got, (std::vector<std::string>{
                 "0 -> write gain_level = 5", "1001 -> resend 1", "1001 -> write gain_level = 5",
                 "2002 -> resend 2", "2002 -> write gain_level = 5", "3003  ACK time-out [3003]"}));
}

// The worker's time-out box waits for the user interface when the window
// closes: closing ends the conversation, the link's close shows nothing.
TEST_F(LinkTracePanelTest, NoBoxComesUpOnceThePanelIsClosed) {
    ASSERT_TRUE(openSimPort(*dialog));
    ASSERT_EQ(dialog->params().WriteParam(ROW_GAIN_LEVEL, 5), 0);
    ASSERT_TRUE(eventually([&] { return dialog->messages().hasPending(); }));
    dialog->reject();
    dialog->link().CloseLink();
    dialog.reset();
    EXPECT_EQ(sink.count(), 0u);
}

}  // namespace
}  // namespace zr::test
