// The window as it looks in adjust mode after a read; saved as a picture when
// ZR_ADJUST_SCREENSHOT names a file (scripts/screenshot.sh adjust).
#include <QImage>
#include <QPixmap>
#include <cstdlib>

#include "AdjustTestSupport.h"
#include "adjust/AdjustTemplate.h"

using namespace adjust_id;

class AdjustScreenshot : public adjust_test::AdjustWindowTest {};

TEST_F(AdjustScreenshot, WindowInAdjustModeAfterRead) {
    click(ADJUST_MODE_ON);
    ASSERT_EQ(text(VENDOR), "CAMSIM");
    adjust_test::waitFor([] { return false; }, std::chrono::milliseconds(200));

    // Fixed size: the template's 320 x 404 units, as wide as tall in proportion.
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const double ratio = double(window->height()) / window->width();
    EXPECT_GT(ratio, 1.0);
    EXPECT_LT(ratio, 2.0);
    // Every visible control lies inside the window.
    for (const auto& c : adjust_template::controls()) {
        if (c.id == adjust_template::NoId || (c.options & zr::widgets::Hidden) != 0) continue;
        EXPECT_TRUE(window->rect().contains(window->control(c.id)->geometry())) << c.id;
    }

    const QPixmap picture = window->grab();
    ASSERT_FALSE(picture.isNull());
    if (const char* out = std::getenv("ZR_ADJUST_SCREENSHOT")) {
        ASSERT_TRUE(picture.toImage().save(QString::fromLocal8Bit(out), "PNG")) << out;
    }
}
