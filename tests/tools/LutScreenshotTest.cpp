#include <QDir>
#include <QProgressBar>
#include <cstdlib>

#include "LutEditorFixture.h"
#include "tools/LutProgressDialog.h"

namespace {

// The editor with the gamma 0.45 curve, green hidden and the point 128 being
// dragged down. Saved as lut.png into $ZR_SCREENSHOT_DIR when that is set
// (scripts/screenshot.sh lut).
TEST_F(LutEditorTest, ScreenshotWithGammaCurveAndADraggedPoint) {
    button(CLookUpTable::IDC_GAMMA_045)->click();
    button(CLookUpTable::IDC_SHOW_G)->click();
    press(at(128, 186));
    move(at(128, 150));
    ASSERT_EQ(editor->selectedIndex, 128);
    ASSERT_EQ(editor->entries[0][128], 150);

    const QImage window = editor->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The larger marker of the dragged point, in client coordinates (178, 131).
    EXPECT_EQ(window.pixel(178 + 3, 131), qRgb(0, 0, 255));
    EXPECT_EQ(window.pixel(178 + 2, 131), qRgb(255, 255, 255));

    if (const char* dir = std::getenv("ZR_SCREENSHOT_DIR")) {
        ASSERT_TRUE(QDir().mkpath(dir));
        EXPECT_TRUE(window.save(QDir(dir).filePath("lut.png")));
    }
    release(QPoint(178, 300));  // outside: nothing to apply
}

// The progress dialog of a READ on its 300th entry, then cancelled. Saved as
// progress.png into $ZR_SCREENSHOT_DIR when that is set
// (scripts/screenshot.sh progress).
TEST_F(LutEditorTest, ScreenshotOfReadProgress) {
    ASSERT_TRUE(openLink());
    editor->progressDelayMs = 0;
    QImage picture;
    QObject::connect(editor, &CLookUpTable::transferAdvanced, [&](int done, int) {
        if (done != 300) return;
        auto* dialog = editor->findChild<LutProgressDialog*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->labelText(), "Green entry 44 of 256 (300 of 768)");
        EXPECT_EQ(dialog->findChild<QProgressBar*>()->text(), "39%");
        picture = dialog->grab().toImage();
        dialog->cancel();
    });
    button(CLookUpTable::IDC_READ)->click();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(sink.texts(),
              std::vector<std::string>{"LUT read cancelled: 300 of 768 entries were read (Red 0 to "
                                       "255, Green 0 to 43); the others are as before."});
    if (const char* dir = std::getenv("ZR_SCREENSHOT_DIR")) {
        ASSERT_TRUE(QDir().mkpath(dir));
        EXPECT_TRUE(picture.save(QDir(dir).filePath("progress.png")));
    }
}

}  // namespace
