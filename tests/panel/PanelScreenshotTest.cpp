// Takes the picture of the panel after a read from the simulated camera and
// checks it: the whole panel, with a value the read changed drawn anew. When
// ZR_PANEL_SCREENSHOT names a file the picture is saved there as well
// (scripts/screenshot.sh panel runs this under Xvfb).
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <cstdlib>

#include "PanelFixture.h"
#include "panel/PanelControlIds.h"

namespace zr::test {
namespace {

class PanelScreenshot : public PanelTest {
  protected:
    void paint() {
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
    }
    // The part of a picture of the panel that shows `control`.
    static QImage area(const QPixmap& picture, QWidget* panel, QWidget* control) {
        const qreal scale = picture.devicePixelRatio();
        const QPoint at = control->mapTo(panel, QPoint()) * scale;
        return picture.toImage().copy(QRect(at, control->size() * scale));
    }
};

TEST_F(PanelScreenshot, ShowsTheValuesRead) {
    panel->show();
    panel->raise();
    paint();
    QScrollBar* gain = scrollBar(panel::IDC_GAIN_SCROLL);
    ASSERT_NE(gain, nullptr);
    const QImage gainBefore = area(panel->grab(), panel.get(), gain);

    // A camera with most groups switched on, so that little is greyed out.
    const int rows[][2] = {{0, 4},   {1, 1},   {4, 255}, {5, 0},   {6, 170}, {9, 834},
                           {10, 1},  {14, 1},  {17, 1},  {23, 1},  {36, 1},  {37, 40},
                           {38, 52}, {39, 64}, {40, 1},  {41, 16}, {42, 80}, {50, 1}};
    for (const auto& row : rows) setCameraRow(row[0], row[1]);
    readFromCamera();
    ASSERT_EQ(sink.count(), 0u);
    // The fixture opens the port behind the command's back; name it as the
    // command would.
    panel->port.setConnection("CL ALL port 0");
    paint();

    const QPixmap picture = panel->grab();
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), panel->size());
    // The gain bar's thumb has moved from 0 to 170.
    EXPECT_NE(area(picture, panel.get(), gain), gainBefore);

    const char* path = std::getenv("ZR_PANEL_SCREENSHOT");
    if (path != nullptr && *path != '\0') {
        ASSERT_TRUE(picture.save(QString::fromLocal8Bit(path)));
    }
}

}  // namespace
}  // namespace zr::test
