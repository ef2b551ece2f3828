// The four tool window slots: focus, show again, make anew, close order.
#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QPointer>

#include "PanelFixture.h"
#include "adjust/CAdjust.h"
#include "panel/PanelControlIds.h"
#include "tools/CLookUpTable.h"
#include "tools/CManualCommand.h"
#include "tools/CWhiteSpot.h"

using namespace zr::panel;

namespace zr::test {
namespace {

class ToolWindows : public PanelTest {};

TEST_F(ToolWindows, DetectTwiceKeepsTheWindowAndAfterClosingMakesANewOne) {
    panel->OnCommand(IDC_WSPOT_DETECT);
    QPointer<CWhiteSpot> first = panel->whiteSpotWindow();
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    panel->OnCommand(IDC_WSPOT_DETECT);
    EXPECT_EQ(panel->whiteSpotWindow(), first.data());

    first->hide();
    panel->OnCommand(IDC_WSPOT_DETECT);
    EXPECT_TRUE(first.isNull());  // the hidden window was deleted
    ASSERT_NE(panel->whiteSpotWindow(), nullptr);
    EXPECT_TRUE(panel->whiteSpotWindow()->isVisible());
}

TEST_F(ToolWindows, ManualCommandAndAdjustAreMadeAnewWhenHidden) {
    panel->OnCommand(ID_MANUAL_COMMAND);
    QPointer<CManualCommand> manual = panel->manualCommandWindow();
    ASSERT_TRUE(manual);
    panel->OnCommand(ID_ACCEL_MANUAL_COMMAND);
    EXPECT_EQ(panel->manualCommandWindow(), manual.data());
    manual->hide();
    panel->OnCommand(ID_ACCEL_MANUAL_COMMAND);
    EXPECT_TRUE(manual.isNull());
    EXPECT_NE(panel->manualCommandWindow(), nullptr);

    panel->OnCommand(IDC_ADJUST);
    QPointer<CAdjust> adjust = panel->adjustWindow();
    ASSERT_TRUE(adjust);
    adjust->hide();
    panel->OnCommand(IDC_ADJUST);
    EXPECT_TRUE(adjust.isNull());
    EXPECT_NE(panel->adjustWindow(), nullptr);
}

// Notes whether the wait cursor is up when the editor first shows.
class ShowWatcher : public QObject {
  public:
    bool sawEditor = false;
    bool waitCursorAtShow = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<CLookUpTable*>(watched) && !sawEditor) {
            sawEditor = true;
            const QCursor* cursor = QApplication::overrideCursor();
            waitCursorAtShow = cursor != nullptr && cursor->shape() == Qt::WaitCursor;
        }
        return false;
    }
};

TEST_F(ToolWindows, TheLookUpTableEditorIsMadeOnceUnderTheWaitCursorAndShownAgain) {
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    panel->OnCommand(IDC_LUT_TABLE);
    qApp->removeEventFilter(&watcher);
    EXPECT_TRUE(watcher.sawEditor);
    EXPECT_TRUE(watcher.waitCursorAtShow);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QPointer<CLookUpTable> editor = panel->lookUpTableWindow();
    ASSERT_TRUE(editor);
    editor->hide();
    panel->OnCommand(IDC_LUT_TABLE);
    EXPECT_EQ(panel->lookUpTableWindow(), editor.data());
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(ToolWindows, EscapeClosesTheToolWindowsInOrderThenEndsThePanel) {
    panel->OnCommand(IDC_ADJUST);
    panel->OnCommand(ID_MANUAL_COMMAND);
    panel->OnCommand(IDC_LUT_TABLE);
    panel->OnCommand(IDC_WSPOT_DETECT);
    std::vector<std::string> order;
    const std::pair<QObject*, const char*> windows[] = {{panel->adjustWindow(), "adjust"},
                                                        {panel->manualCommandWindow(), "manual"},
                                                        {panel->lookUpTableWindow(), "table"},
                                                        {panel->whiteSpotWindow(), "spot"}};
    for (const auto& [window, name] : windows) {
        ASSERT_NE(window, nullptr);
        QObject::connect(window, &QObject::destroyed, [&order, n = name] { order.push_back(n); });
    }
    panel->show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(panel.get(), &escape);

    EXPECT_EQ(order, (std::vector<std::string>{"spot", "table", "manual", "adjust"}));
    EXPECT_EQ(panel->result(), QDialog::Rejected);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->whiteSpotWindow(), nullptr);
    EXPECT_EQ(panel->adjustWindow(), nullptr);
}

TEST_F(ToolWindows, EnterDoesNotEndThePanel) {
    panel->show();
    button(IDC_MEMORY_LOAD)->setFocus();
    for (QWidget* target : {static_cast<QWidget*>(panel.get()), panel->control(IDC_MEMORY_LOAD)}) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
    }
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(sent().empty());  // not even LOAD
}

}  // namespace
}  // namespace zr::test
