#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/SystemClock.h"
#include "model/CameraModel.h"
#include "model/SimClSerial.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "support/RecordingSink.h"
#include "support_qt/SimPanelPort.h"

// A real panel whose link runs to the simulated camera in-process, with every
// message box recorded. The tool windows are opened the way the panel opens
// them. The port is opened on start unless the test asks otherwise.
class SimPanelTest : public ::testing::Test {
  protected:
    static constexpr uint32_t kSerialIndex = 0;

    explicit SimPanelTest(bool openOnStart = true) : openOnStart_(openOnStart) {}

    void SetUp() override {
        panel.messages().setSink(sink);
        zr::sim::attachModel(kSerialIndex, &camera);
        if (openOnStart_) {
            ASSERT_TRUE(openLink());
        }
    }

    bool openLink() { return zr::test::openSimPort(panel); }

    void TearDown() override {
        panel.link().CloseLink();
        zr::sim::attachModel(kSerialIndex, nullptr);
    }

    // Command texts the camera received, once every exchange has ended. The
    // link's own messages are served meanwhile, as an idle window would.
    std::vector<std::string> sent() {
        EXPECT_TRUE(panel.link().waitUntilIdle());
        return camera.commandTexts();
    }
    void clearSent() {
        sent();
        camera.clearLog();
    }

    const bool openOnStart_;
    zr::test::RecordingSink sink;
    zr::sim::CameraModel camera{zr::SystemClock::instance()};
    CZR_K880TM_ControlDlg panel;
};
