// Not a check: when ZR_PANEL_SCREENSHOT names a file, shows the panel after a
// read from the simulated camera and saves a picture of it there
// (scripts/screenshot.sh panel runs it under Xvfb).
#include <QApplication>
#include <QPixmap>
#include <cstdlib>

#include "PanelFixture.h"

namespace zr::test {
namespace {

class PanelScreenshot : public PanelTest {};

TEST_F(PanelScreenshot, SavesThePanelAfterARead) {
    const char* path = std::getenv("ZR_PANEL_SCREENSHOT");
    if (path == nullptr || *path == '\0') GTEST_SKIP() << "ZR_PANEL_SCREENSHOT not set";

    // A camera with most groups switched on, so that little is greyed out.
    const int rows[][2] = {{0, 4},   {1, 1},   {4, 255}, {5, 0},   {6, 170}, {9, 834},
                           {10, 1},  {14, 1},  {17, 1},  {23, 1},  {36, 1},  {37, 40},
                           {38, 52}, {39, 64}, {40, 1},  {41, 16}, {42, 80}, {50, 1}};
    for (const auto& row : rows) setCameraRow(row[0], row[1]);
    readFromCamera();
    ASSERT_EQ(sink.count(), 0u);
    // The fixture opens the port behind the command's back; name it as the
    // command would.
    panel->setupContext().connectionChanged("CL ALL port 0");

    panel->show();
    panel->raise();
    for (int i = 0; i < 20; ++i) QApplication::processEvents();
    ASSERT_TRUE(panel->grab().save(QString::fromLocal8Bit(path)));
}

}  // namespace
}  // namespace zr::test
