#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "model/CameraModel.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "support/RecordingSink.h"
#include "support/SimLinkFixture.h"

class QAbstractButton;
class QLabel;
class QScrollBar;

namespace zr::test {

// A panel whose own link runs on the in-process simulated camera, with every
// message box recorded instead of shown. Nothing is sent until a test acts.
class PanelTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    bool openLink();
    // Waits until the link has finished its exchange: every frame sent so far
    // has reached the camera and been answered.
    void settle();
    // Command texts the camera received since the last clearSent().
    std::vector<std::string> sent();
    void clearSent();

    // Puts a table row's value into the camera's register, as the camera
    // would hold it, for a later read.
    void setCameraRow(int row, int value) { zr::test::setCameraRow(*camera, row, value); }
    // Reads rows 0..52 from the camera and refreshes the panel.
    void readFromCamera();

    QAbstractButton* button(int id) const;
    QScrollBar* scrollBar(int id) const;
    QString text(int id) const;
    bool enabled(int id) const;
    bool checked(int id) const;

    RecordingSink sink;
    std::unique_ptr<sim::CameraModel> camera;
    std::unique_ptr<CZR_K880TM_ControlDlg> panel;
};

// The text of a write to row `row` as it must appear on the line.
std::string expectedWrite(int row, int value);

}  // namespace zr::test
