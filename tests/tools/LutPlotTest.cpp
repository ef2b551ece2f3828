#include <gtest/gtest.h>

#include <QImage>

#include "LutEditorFixture.h"
#include "tools/LutPlot.h"

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);

QImage render(const zr::LutTable& table, int step, std::array<int, 3> shown = {1, 1, 1},
              bool dragging = false, int selected = 256) {
    LutPlotState state;
    state.entries = &table;
    state.showChannel = shown;
    state.step = step;
    state.dragging = dragging;
    state.selectedIndex = selected;
    return LutPlot::render(state);
}

// A marker is a ring, white inside: count the points of the curve that are
// white with the ring's colour two pixels to the left and right.
int markerCentres(const QImage& image, const zr::LutChannel& e, QRgb colour) {
    int count = 0;
    for (int i = 0; i < 256; ++i) {
        const int x = 40 + i;
        const int y = 271 - e[i];
        count += image.pixel(x, y) == kWhite && image.pixel(x - 2, y) == colour &&
                 image.pixel(x + 2, y) == colour;
    }
    return count;
}

TEST(LutPlot, ImageSizeAndFrame) {
    const auto table = zr::identityLut();
    const QImage image = render(table, 16, {0, 0, 0});  // the identity's markers cover two corners
    ASSERT_EQ(image.size(), QSize(320, 290));
    for (QPoint corner : {QPoint(40, 15), QPoint(296, 15), QPoint(296, 271), QPoint(40, 271)}) {
        EXPECT_EQ(image.pixel(corner), kBlack) << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(image.pixel(168, 15), kBlack);
    EXPECT_EQ(image.pixel(296, 140), kBlack);
    EXPECT_EQ(image.pixel(39, 15), kWhite);
    EXPECT_EQ(image.pixel(297, 271), kWhite);
    EXPECT_EQ(image.pixel(41, 14), kWhite);
    EXPECT_EQ(image.pixel(0, 0), kWhite);
    EXPECT_EQ(image.pixel(319, 289), kWhite);
}

TEST(LutPlot, BlueIsDrawnLastAndHiddenCurvesAreNot) {
    const auto table = zr::identityLut();
    const QPoint between(40 + 8, 271 - 8);  // on the curve, between two markers
    EXPECT_EQ(render(table, 16).pixel(between), kBlue);
    EXPECT_EQ(render(table, 16, {1, 1, 0}).pixel(between), kGreen);
    EXPECT_EQ(render(table, 16, {1, 0, 0}).pixel(between), kRed);
    EXPECT_EQ(render(table, 16, {0, 0, 0}).pixel(between), kWhite);
}

TEST(LutPlot, CurvePassesThroughTheEditingPointsOnly) {
    zr::LutTable table = zr::identityLut();
    table[2][8] = 200;  // not an editing point with step 16: not plotted
    const QImage image = render(table, 16, {0, 0, 1});
    EXPECT_EQ(image.pixel(48, 263), kBlue);
    EXPECT_EQ(image.pixel(48, 71), kWhite);
    EXPECT_EQ(render(table, 8, {0, 0, 1}).pixel(48, 71), kWhite) << "a marker's inside";
    EXPECT_EQ(render(table, 8, {0, 0, 1}).pixel(46, 71), kBlue) << "a marker's ring";
}

TEST(LutPlot, MarkerCountsPerStep) {
    const auto table = zr::identityLut();
    const std::pair<int, int> counts[] = {{16, 17}, {8, 33}, {4, 65}, {1, 0}};
    for (const auto& [step, markers] : counts) {
        EXPECT_EQ(markerCentres(render(table, step, {0, 0, 1}), table[2], kBlue), markers) << step;
    }
}

TEST(LutPlot, MarkerShapes) {
    const auto table = zr::identityLut();
    // Step 16: a ring from x - 2 to x + 2 around the point (56, 255).
    const QImage big = render(table, 16, {0, 0, 1});
    EXPECT_EQ(big.pixel(56, 255), kWhite);
    EXPECT_EQ(big.pixel(54, 255), kBlue);
    EXPECT_EQ(big.pixel(58, 255), kBlue);
    EXPECT_EQ(big.pixel(56, 253), kBlue);
    EXPECT_EQ(big.pixel(56, 257), kBlue);
    // Step 2: a mark one pixel wide just left of the point (56, 255).
    const QImage small = render(table, 2, {0, 0, 1});
    EXPECT_EQ(small.pixel(55, 254), kBlue);
    EXPECT_EQ(small.pixel(55, 256), kBlue);
    EXPECT_EQ(small.pixel(57, 256), kWhite);
}

TEST(LutPlot, TheDraggedPointGetsALargerMarker) {
    const auto table = zr::identityLut();
    const QImage still = render(table, 16, {1, 0, 0});
    const QImage dragged = render(table, 16, {1, 0, 0}, true, 32);
    // Point 32 sits at (72, 239).
    EXPECT_EQ(still.pixel(75, 239), kWhite);
    EXPECT_EQ(dragged.pixel(75, 239), kRed);
    EXPECT_EQ(dragged.pixel(69, 239), kRed);
    EXPECT_EQ(dragged.pixel(74, 239), kWhite);
    EXPECT_EQ(dragged.pixel(72, 239), kWhite);
    // Also with step 1, where no other point has a marker.
    EXPECT_EQ(render(table, 1, {1, 0, 0}, true, 32).pixel(75, 239), kRed);
}

TEST(LutPlot, LabelsAreGrey) {
    const QImage image = render(zr::identityLut(), 16, {0, 0, 0});
    auto hasGrey = [&](QRect area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixel(x, y) == qRgb(128, 128, 128)) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(hasGrey(QRect(16, 8, 20, 7)));      // "1.0" top left
    EXPECT_TRUE(hasGrey(QRect(16, 273, 20, 16)));   // "0.0"
    EXPECT_TRUE(hasGrey(QRect(286, 273, 20, 16)));  // "1.0" right
    EXPECT_FALSE(hasGrey(QRect(60, 30, 200, 200)));
}

// The editor paints the same image at (10, 10) of its client area.
TEST_F(LutEditorTest, TheEditorShowsThePlotAtTenTen) {
    editor->entries[0][64] = 200;
    editor->RedrawPlot();
    const QImage shown =
        editor->grab(QRect(10, 10, 320, 290)).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, editor->plotImage());
    EXPECT_EQ(shown.pixel(40, 15), kBlack);
}

}  // namespace
