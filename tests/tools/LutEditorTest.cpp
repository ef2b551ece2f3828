#include <QCheckBox>
#include <QGroupBox>
#include <QPaintEvent>
#include <QPointer>
#include <QRadioButton>

#include "LutEditorFixture.h"
#include "panel/PanelControlIds.h"

namespace {

TEST_F(LutEditorTest, FreshEditorShowsTheIdentityWithStep16AndAllChannels) {
    EXPECT_EQ(editor->windowTitle(), " LOOK UP TABLE");
    EXPECT_EQ(CLookUpTable::IDD, 130);
    EXPECT_EQ(editor->entries, zr::identityLut());
    EXPECT_EQ(editor->step, 16);
    EXPECT_EQ(editor->stepIndex, 0);
    EXPECT_EQ(editor->selectedIndex, 256);
    EXPECT_EQ(editor->dragging, 0);
    EXPECT_EQ(editor->context.params, &panel.params());
    EXPECT_EQ(editor->parentWidget(), &panel);
    EXPECT_FALSE(editor->isModal());
    for (int id = CLookUpTable::IDC_STEP_16; id <= CLookUpTable::IDC_STEP_256; ++id) {
        EXPECT_EQ(button(id)->isChecked(), id == CLookUpTable::IDC_STEP_16) << id;
    }
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(editor->showChannel[c], 1);
        EXPECT_TRUE(button(CLookUpTable::IDC_SHOW_R + c)->isChecked());
    }
}

TEST_F(LutEditorTest, ControlsCarryTheirCaptions) {
    const std::pair<int, QString> captions[] = {
        {1028, "16"},
        {1029, "32"},
        {1030, "64"},
        {1031, "128"},
        {1032, "256"},
        {1025, "R"},
        {1026, "G"},
        {1027, "B"},
        {1023, "OPEN"},
        {1024, "SAVE"},
        {2, "CLOSE"},
        {1033, QString::fromUtf8("\u03B3=0.45")},
        {1034, QString::fromUtf8("\u03B3=1.0")},
        {1039, "READ"},
        {1035, "WRITE"},
    };
    for (const auto& [id, caption] : captions) {
        ASSERT_NE(button(id), nullptr) << id;
        EXPECT_EQ(button(id)->text(), caption) << id;
    }
    QStringList groups;
    for (auto* box : editor->findChildren<QGroupBox*>()) groups << box->title();
    groups.sort();
    EXPECT_EQ(groups, QStringList({"COLOR", "CSV DATA", "PRESET", "STEP"}));
}

TEST_F(LutEditorTest, ControlsSitBelowThePlotInsideTheirGroups) {
    const QRect plot(10, 10, 320, 290);
    const QRect client = editor->rect();
    EXPECT_TRUE(client.contains(plot));
    auto group = [&](const QString& title) {
        for (auto* box : editor->findChildren<QGroupBox*>()) {
            if (box->title() == title) return box->geometry();
        }
        return QRect();
    };
    const std::pair<QString, std::vector<int>> members[] = {
        {"STEP", {1028, 1029, 1030, 1031, 1032}},
        {"COLOR", {1025, 1026, 1027}},
        {"CSV DATA", {1023, 1024}},
        {"PRESET", {1033, 1034}},
    };
    for (const auto& [title, ids] : members) {
        int lastLeft = -1;
        for (int id : ids) {
            const QRect r = editor->control(id)->geometry();
            EXPECT_TRUE(group(title).contains(r)) << title.toStdString() << " " << id;
            EXPECT_GT(r.left(), lastLeft) << id;
            lastLeft = r.left();
        }
    }
    for (auto* w : editor->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(client.contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_FALSE(plot.intersects(w->geometry())) << w->objectName().toStdString();
    }
    EXPECT_LT(editor->control(1039)->geometry().right(), editor->control(1035)->geometry().left());
}

TEST_F(LutEditorTest, StepRadiosSetTheStep) {
    const std::pair<int, int> steps[] = {{1029, 8}, {1030, 4}, {1031, 2}, {1032, 1}, {1028, 16}};
    for (const auto& [id, step] : steps) {
        button(id)->click();
        EXPECT_EQ(editor->step, step) << id;
        EXPECT_EQ(editor->stepIndex, id - 1028);
    }
}

TEST_F(LutEditorTest, GammaPresetFillsAllChannelsAndSendsNothing) {
    ASSERT_TRUE(openLink());
    button(CLookUpTable::IDC_SHOW_B)->click();  // hidden channels change too
    button(CLookUpTable::IDC_GAMMA_045)->click();
    const std::pair<int, int> samples[] = {{0, 0},     {1, 21},   {2, 28},    {4, 39},
                                           {16, 73},   {64, 136}, {128, 186}, {192, 224},
                                           {254, 254}, {255, 255}};
    for (int c = 0; c < 3; ++c) {
        for (const auto& [i, w] : samples) EXPECT_EQ(editor->entries[c][i], w) << c << " " << i;
    }
    button(CLookUpTable::IDC_GAMMA_10)->click();
    EXPECT_EQ(editor->entries, zr::identityLut());
    EXPECT_TRUE(sent().empty());
}

TEST_F(LutEditorTest, CloseEnterAndEscapeOnlyHide) {
    button(CLookUpTable::IDC_STEP_64)->click();
    editor->entries[1][7] = 99;
    QPointer<CLookUpTable> alive(editor);

    button(CLookUpTable::IDC_CLOSE)->click();
    EXPECT_FALSE(editor->isVisible());
    editor->show();
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor));
    editor->control(CLookUpTable::IDC_SHOW_R)->setFocus();
    QTest::keyClick(editor->control(CLookUpTable::IDC_SHOW_R), Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());

    QApplication::processEvents();
    ASSERT_FALSE(alive.isNull());
    EXPECT_EQ(editor->step, 4);
    EXPECT_EQ(editor->entries[1][7], 99);
    EXPECT_TRUE(button(CLookUpTable::IDC_STEP_64)->isChecked());
}

// Records the regions the editor repaints.
class PaintSpy : public QObject {
  public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST_F(LutEditorTest, ARedrawRepaintsOnlyThePlotRectangle) {
    QApplication::processEvents();
    PaintSpy spy;
    editor->installEventFilter(&spy);
    press(at(32, 32));
    move(at(32, 100));
    QTRY_VERIFY(!spy.painted.isEmpty());
    QApplication::processEvents();
    editor->removeEventFilter(&spy);
    EXPECT_EQ(spy.painted, QRegion(QRect(10, 10, 310, 280)));
    EXPECT_EQ(editor->entries[0][32], 100);
}

}  // namespace

namespace {

// Through the panel's "TABLE" button: one editor, hidden by CLOSE and shown
// again with its table, step and check boxes.
TEST(LutEditorOpening, TableShowsTheSameEditorAgainWithItsState) {
    zr::test::RecordingSink sink;
    CZR_K880TM_ControlDlg panel;
    panel.messages().setSink(sink);
    panel.OnCommand(zr::panel::IDC_LUT_TABLE);
    QPointer<CLookUpTable> editor = panel.lookUpTableWindow();
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->context.params, &panel.params());
    EXPECT_EQ(editor->parentWidget(), &panel);

    qobject_cast<QAbstractButton*>(editor->control(CLookUpTable::IDC_STEP_32))->click();
    qobject_cast<QAbstractButton*>(editor->control(CLookUpTable::IDC_SHOW_B))->click();
    qobject_cast<QAbstractButton*>(editor->control(CLookUpTable::IDC_GAMMA_045))->click();
    qobject_cast<QAbstractButton*>(editor->control(CLookUpTable::IDC_CLOSE))->click();
    EXPECT_FALSE(editor->isVisible());

    panel.OnCommand(zr::panel::IDC_LUT_TABLE);
    ASSERT_EQ(panel.lookUpTableWindow(), editor.data());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->step, 8);
    EXPECT_TRUE(
        qobject_cast<QAbstractButton*>(editor->control(CLookUpTable::IDC_STEP_32))->isChecked());
    EXPECT_FALSE(
        qobject_cast<QAbstractButton*>(editor->control(CLookUpTable::IDC_SHOW_B))->isChecked());
    EXPECT_EQ(editor->entries[2][1], 21);
}

}  // namespace
