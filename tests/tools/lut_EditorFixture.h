#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "link/SystemClock.h"
#include "model/CameraModel.h"
#include "model/SimClSerial.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "support/RecordingSink.h"
#include "tools/CLookUpTable.h"

// A real panel whose link runs to the simulated camera in-process, and the
// look-up table editor opened on it the way the panel opens it. Messages go
// to a recording sink.
class LutEditorTest : public ::testing::Test {
  protected:
    static constexpr uint32_t kSerialIndex = 0;

    void SetUp() override {
        panel.messages().setSink(sink);
        zr::sim::attachModel(kSerialIndex, &camera);
        editor = new CLookUpTable(&panel);
        ASSERT_TRUE(editor->CreateModeless(panel.toolContext()));
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
    }

    void TearDown() override {
        panel.link().CloseLink();
        zr::sim::attachModel(kSerialIndex, nullptr);
        delete editor;
    }

    bool openLink() {
        const zr::ClSerialFunctions& fns = zr::sim::inProcessClFunctions();
        void* ref = nullptr;
        if (fns.serialInit(kSerialIndex, &ref) != 0) return false;
        if (!panel.link().startOnBoardPort(fns, ref)) return false;
        panel.link().clearWaitingFlags();
        panel.portOpen = 1;
        return true;
    }

    // Waits until the link has finished its exchange, so that every command
    // accepted so far has reached the camera.
    void settle() {
        zr::SerialLink& link = panel.link();
        for (int i = 0; i < 5000; ++i) {
            if (!link.inExchange()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ADD_FAILURE() << "the link did not become idle";
    }

    std::vector<std::string> sent() {
        settle();
        return camera.commandTexts();
    }

    // Client point of entry i with value v.
    static QPoint at(int i, int v) { return QPoint(50 + i, 281 - v); }

    void press(QPoint p) { QTest::mousePress(editor, Qt::LeftButton, Qt::NoModifier, p); }
    void move(QPoint p) { QTest::mouseMove(editor, p); }
    void release(QPoint p) { QTest::mouseRelease(editor, Qt::LeftButton, Qt::NoModifier, p); }

    QAbstractButton* button(int id) { return qobject_cast<QAbstractButton*>(editor->control(id)); }

    zr::test::RecordingSink sink;
    zr::sim::CameraModel camera{zr::SystemClock::instance()};
    CZR_K880TM_ControlDlg panel;
    CLookUpTable* editor = nullptr;
};

// "%02X%02X%02X0000" as the editor sends an entry.
inline std::string lutWrite(int channel, int index, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X%02X0000", 0x20 + channel, index, value);
    return text;
}
