#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "adjust/AdjustControlIds.h"
#include "adjust/CAdjust.h"
#include "model/CameraModel.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "support/RecordingSink.h"
#include "support/SimLinkFixture.h"

namespace adjust_test {

using zr::test::setCameraRow;

// Key press and release, as the keyboard delivers them to the focus widget.
void pressKey(QWidget* widget, int key, const QString& text = {});
void typeText(QWidget* widget, const QString& text);

// Runs the event loop until `done` holds or the real-time limit passes.
bool waitFor(const std::function<bool()>& done,
             std::chrono::milliseconds limit = std::chrono::seconds(10));

// The adjustment window on a real panel whose link drives the simulated
// camera in-process, in real time, with the panel's messages recorded.
class AdjustWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    void openLink();
    void closeLink();
    // Waits until the link has finished its last exchange, so the camera has
    // seen every command handed over so far.
    void settle();
    // The command texts the camera received since the last call.
    std::vector<std::string> takeSent();

    void click(int id);
    QString text(int id);
    bool enabled(int id);
    // ADJUST MODE ON (which reads everything back), then the step's radio.
    void enterAdjustMode(int stepId);

    zr::test::RecordingSink sink;
    std::unique_ptr<zr::sim::CameraModel> camera;
    std::unique_ptr<CZR_K880TM_ControlDlg> panel;
    std::unique_ptr<CAdjust> window;
};

}  // namespace adjust_test
