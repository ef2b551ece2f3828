#include <QCursor>
#include <QMouseEvent>

#include "LutEditorFixture.h"

namespace {

// Client coordinates of a drag: entry i sits at x = 50 + i, value v at y = 281 - v.
class LutDragTest : public LutEditorTest {
  protected:
    void SetUp() override {
        LutEditorTest::SetUp();
        ASSERT_TRUE(openLink());
    }

    void drag(int index, int fromValue, int toValue) {
        press(at(index, fromValue));
        move(at(index, toValue));
        release(at(index, toValue));
    }

    // The entry indices of one channel's commands, in order.
    static std::vector<int> indices(const std::vector<std::string>& texts, int channel) {
        std::vector<int> result;
        for (const auto& t : texts) {
            if (std::stoi(t.substr(0, 2), nullptr, 16) == 0x20 + channel) {
                result.push_back(std::stoi(t.substr(2, 2), nullptr, 16));
            }
        }
        return result;
    }
};

TEST_F(LutDragTest, PressPicksTheNearestPointAndMoveChangesOnlyIt) {
    press(at(32, 32) + QPoint(1, -1));
    EXPECT_EQ(editor->dragging, 1);
    EXPECT_EQ(editor->selectedIndex, 32);
    move(at(32, 100) + QPoint(7, 0));  // x does not matter
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(editor->entries[c][32], 100);
        EXPECT_EQ(editor->entries[c][31], 31);
        EXPECT_EQ(editor->entries[c][33], 33);
    }
    EXPECT_TRUE(sent().empty()) << "nothing is sent while dragging";
}

TEST_F(LutDragTest, PressAwayFromEveryPointPicksNothing) {
    // Also after a press on point 32 whose release a modal box swallowed; a
    // move with only another button down then ends that drag.
    for (bool releaseLost : {false, true}) {
        SCOPED_TRACE(releaseLost ? "after a lost release" : "fresh");
        if (releaseLost) {
            press(at(32, 32));
            QMouseEvent rightDrag(QEvent::MouseMove, at(32, 200), editor->mapToGlobal(at(32, 200)),
                                  Qt::NoButton, Qt::RightButton, Qt::NoModifier);
            QApplication::sendEvent(editor, &rightDrag);
            EXPECT_EQ(editor->dragging, 0);
            EXPECT_EQ(editor->entries, zr::identityLut());
        }
        press(at(40, 40));  // between the points 32 and 48
        EXPECT_EQ(editor->dragging, 1);
        EXPECT_EQ(editor->selectedIndex, 256);
        move(at(40, 200));
        release(at(40, 200));
        EXPECT_EQ(editor->entries, zr::identityLut());
        EXPECT_TRUE(sent().empty());
    }
}

TEST_F(LutDragTest, ReleaseAppliesThePointInterpolatingOutward) {
    drag(32, 32, 100);
    EXPECT_EQ(editor->dragging, 0);
    EXPECT_EQ(editor->selectedIndex, 256);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    const auto texts = sent();
    ASSERT_EQ(texts.size(), 3u * 31u);
    std::vector<int> expectedOrder{32};
    for (int j = 1; j <= 15; ++j) {
        expectedOrder.push_back(32 - j);
        expectedOrder.push_back(32 + j);
    }
    for (int c = 0; c < 3; ++c) EXPECT_EQ(indices(texts, c), expectedOrder) << c;
    // Red first, then green, then blue.
    EXPECT_EQ(texts[0], "2020640000");
    EXPECT_EQ(texts[31], "2120640000");
    EXPECT_EQ(texts[62], "2220640000");
    // Left: 100 - 84 * j / 16; right: 100 - 52 * j / 16, truncated.
    EXPECT_EQ(texts[1], "201F5F0000");   // 31 <- 95
    EXPECT_EQ(texts[2], "2021610000");   // 33 <- 97
    EXPECT_EQ(texts[29], "2011160000");  // 17 <- 22
    EXPECT_EQ(texts[30], "202F340000");  // 47 <- 100 - 48 = 52
}

TEST_F(LutDragTest, InterpolationTruncatesTowardZero) {
    drag(32, 32, 10);  // both neighbours lie above: negative differences
    const auto texts = sent();
    ASSERT_EQ(texts.size(), 93u);
    EXPECT_EQ(texts[1], "201F0A0000");   // 31 <- 10 - (-6 * 1 / 16) = 10
    EXPECT_EQ(texts[2], "20210C0000");   // 33 <- 10 - (-38 * 1 / 16) = 12
    EXPECT_EQ(texts[29], "20110F0000");  // 17 <- 10 - (-90 / 16) = 15
    EXPECT_EQ(texts[30], "202F2D0000");  // 47 <- 10 - (-570 / 16) = 45
    EXPECT_EQ(editor->entries[2][17], 15);
    EXPECT_EQ(editor->entries[2][47], 45);
}

struct EdgePoint {
    int index;
    int value;
    std::vector<int> order;                    // entry indices of one channel's commands
    std::vector<std::pair<int, int>> entries;  // (index, value) afterwards
};

class LutDragEdges : public LutDragTest, public ::testing::WithParamInterface<EdgePoint> {};

TEST_P(LutDragEdges, SendsAndInterpolatesAsExpected) {
    const EdgePoint& p = GetParam();
    drag(p.index, p.index, p.value);
    const auto texts = sent();
    ASSERT_EQ(texts.size(), 3 * p.order.size());
    for (int c = 0; c < 3; ++c) EXPECT_EQ(indices(texts, c), p.order) << c;
    for (const auto& [i, w] : p.entries) {
        for (int c = 0; c < 3; ++c) EXPECT_EQ(editor->entries[c][i], w) << c << " " << i;
    }
    EXPECT_EQ(editor->entries[0][255], p.index == 255 ? p.value : 255);
}

std::vector<int> range(int first, int last) {
    std::vector<int> v;
    for (int i = first; first <= last ? i <= last : i >= last; i += first <= last ? 1 : -1) {
        v.push_back(i);
    }
    return v;
}

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Points, LutDragEdges,
    ::testing::Values(
        // Point 0 interpolates to the right only: 50 - 34 * j / 16.
        EdgePoint{0, 50, range(0, 15), {{0, 50}, {1, 48}, {15, 19}, {16, 16}}},
        // Point 240 reaches entry 255 over 15 entries: 200 + 55 * j / 15; entry
        // 255 is never rewritten.
        EdgePoint{240,
                  200,
                  {240, 239, 241, 238, 242, 237, 243, 236, 244, 235, 245, 234, 246, 233, 247,
                   232, 248, 231, 249, 230, 250, 229, 251, 228, 252, 227, 253, 226, 254, 225},
                  {{241, 203}, {254, 251}, {239, 201}, {225, 222}, {224, 224}}},
        // Point 255 interpolates toward entry 239 and rewrites point 240.
        EdgePoint{255, 128, concat({255}, range(254, 240)), {{254, 134}, {240, 232}, {239, 239}}}),
    [](const ::testing::TestParamInfo<EdgePoint>& info) {
        return "Point" + std::to_string(info.param.index);
    });

TEST_F(LutDragTest, StepOneSendsOneCommandPerChannel) {
    button(CLookUpTable::IDC_STEP_256)->click();
    drag(100, 100, 140);
    EXPECT_EQ(sent(), (std::vector<std::string>{"20648C0000", "21648C0000", "22648C0000"}));
}

TEST_F(LutDragTest, ReleaseOutsideTheValueRangeSendsNothing) {
    press(at(32, 32));
    move(at(32, 100));
    move(QPoint(82, 290));  // below value 0: ignored
    release(QPoint(82, 290));
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(editor->dragging, 0);
    EXPECT_EQ(editor->selectedIndex, 256);
    EXPECT_EQ(editor->entries[1][32], 100);
    EXPECT_EQ(editor->entries[1][31], 31);

    press(at(32, 100));
    release(QPoint(82, 25));  // above value 255
    EXPECT_TRUE(sent().empty());
}

TEST_F(LutDragTest, HiddenChannelsAreNeitherChangedNorSent) {
    button(CLookUpTable::IDC_SHOW_G)->click();
    drag(64, 64, 80);
    const auto texts = sent();
    EXPECT_EQ(texts.size(), 62u);
    EXPECT_TRUE(indices(texts, 1).empty());
    EXPECT_EQ(editor->entries[1][64], 64);
    EXPECT_EQ(editor->entries[1][63], 63);
    EXPECT_EQ(editor->entries[0][64], 80);
    EXPECT_EQ(editor->entries[2][64], 80);
}

TEST_F(LutDragTest, APointOfAHiddenCurveCanBePicked) {
    editor->entries[0][32] = 200;
    button(CLookUpTable::IDC_SHOW_R)->click();
    press(at(32, 200));
    EXPECT_EQ(editor->selectedIndex, 32);
    move(at(32, 180));
    EXPECT_EQ(editor->entries[0][32], 200);
    EXPECT_EQ(editor->entries[1][32], 180);
    EXPECT_EQ(editor->entries[2][32], 180);
}

TEST_F(LutDragTest, WithEveryChannelHiddenADragDoesNothing) {
    for (int id : {CLookUpTable::IDC_SHOW_R, CLookUpTable::IDC_SHOW_G, CLookUpTable::IDC_SHOW_B}) {
        button(id)->click();
    }
    drag(32, 32, 100);
    EXPECT_EQ(editor->entries, zr::identityLut());
    EXPECT_TRUE(sent().empty());
}

TEST_F(LutDragTest, EqualDistancesGoToTheLowerIndex) {
    button(CLookUpTable::IDC_STEP_128)->click();
    press(at(101, 101));  // squared distance 2 from both 100 and 102
    EXPECT_EQ(editor->selectedIndex, 100);
}

TEST_F(LutDragTest, AnEndEntryCanBeReplacedByALaterNearerPoint) {
    // The end entry's distance does not lower the best one: red's entry 255,
    // right under the pointer, gives way to green's point 254 one pixel off.
    button(CLookUpTable::IDC_STEP_128)->click();
    for (auto& channel : editor->entries) channel.fill(0);
    editor->entries[0][255] = 100;
    editor->entries[1][254] = 100;
    press(at(255, 100));
    EXPECT_EQ(editor->selectedIndex, 254);

    release(QPoint(305, 300));  // outside: nothing applied

    editor->entries[1][254] = 0;  // without the green point the end entry stays
    press(at(255, 100));
    EXPECT_EQ(editor->selectedIndex, 255);
}

TEST_F(LutDragTest, ARefusedSendStopsThePointSilently) {
    press(at(32, 32));
    move(at(32, 100));
    panel.link().CloseLink();
    bool waitCursorUp = false;
    sink.onShow([&](const zr::test::RecordedMessage&) {
        waitCursorUp = QApplication::overrideCursor() != nullptr;
    });
    release(at(32, 100));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{"PORT isn't open."});
    EXPECT_TRUE(waitCursorUp) << "the point is applied under the wait cursor";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(editor->entries[0][32], 100);
    EXPECT_EQ(editor->entries[0][31], 31);
    EXPECT_EQ(editor->entries[0][33], 33);
    EXPECT_EQ(editor->entries[2][31], 31);
}

}  // namespace

namespace {

TEST_F(LutDragTest, HidingTheWindowMidDragDropsTheDrag) {
    press(at(32, 32));
    move(at(32, 100));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->dragging, 0);
    EXPECT_EQ(editor->selectedIndex, 256);
    editor->show();
    move(at(32, 150));
    EXPECT_EQ(editor->entries[0][32], 100);
    EXPECT_TRUE(sent().empty());
}

}  // namespace
