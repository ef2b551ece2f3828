#include "panel/ToolWindowSlots.h"

#include <QApplication>

#include "adjust/CAdjust.h"
#include "panel/CZR_K880TM_ControlDlg.h"
#include "tools/CLinkTrace.h"
#include "tools/CLookUpTable.h"
#include "tools/CManualCommand.h"
#include "tools/CWhiteSpot.h"
#include "widgets/WaitCursor.h"

namespace zr::panel {

using widgets::WaitCursor;

namespace {

void giveFocus(QWidget* window) {
    window->raise();
    window->activateWindow();
}

template <typename Window>
void destroy(QPointer<Window>& slot) {
    delete slot.data();
    slot = nullptr;
}

// Creates a window handing it the panel and shows it. A window that could
// not be created is deleted and the slot stays empty.
template <typename Window>
void create(QPointer<Window>& slot, CZR_K880TM_ControlDlg* panel) {
    auto* window = new Window(panel);
    if (!window->CreateModeless(panel->toolContext())) {
        delete window;
        return;
    }
    slot = window;
    window->show();
}

// The rule of the windows that are made anew when hidden.
template <typename Window>
void openFresh(QPointer<Window>& slot, CZR_K880TM_ControlDlg* panel) {
    if (slot && slot->isVisible()) {
        giveFocus(slot.data());
        return;
    }
    if (slot) destroy(slot);
    create(slot, panel);
}

}  // namespace

ToolWindowSlots::~ToolWindowSlots() {
    destroyAll();
}

void ToolWindowSlots::openLookUpTable() {
    if (lookUpTable_ && lookUpTable_->isVisible()) {
        giveFocus(lookUpTable_.data());
        return;
    }
    if (lookUpTable_) {
        lookUpTable_->show();
        return;
    }
    const WaitCursor wait;
    create(lookUpTable_, panel_);
}

void ToolWindowSlots::openWhiteSpot() {
    openFresh(whiteSpot_, panel_);
}

void ToolWindowSlots::openManualCommand() {
    openFresh(manualCommand_, panel_);
}

void ToolWindowSlots::openAdjust() {
    openFresh(adjust_, panel_);
}

void ToolWindowSlots::openLinkTrace(zr::TraceQueue& queue) {
    if (linkTrace_ && linkTrace_->isVisible()) {
        giveFocus(linkTrace_.data());
        return;
    }
    if (linkTrace_) destroy(linkTrace_);
    auto* window = new CLinkTrace(queue, panel_);
    if (!window->CreateModeless(panel_->toolContext())) {
        delete window;
        return;
    }
    linkTrace_ = window;
    window->show();
}

void ToolWindowSlots::destroyAll() {
    forEachSlot([](auto& slot) { destroy(slot); });
}

void ToolWindowSlots::closeAll() {
    QWidget* modal = QApplication::activeModalWidget();
    const bool nested = (modal != nullptr && modal != panel_) || widgets::ToolWindow::walkRunning();
    if (!nested) {
        destroyAll();
        return;
    }
    // Their code may still be running below (a walk lets Qt run between
    // entries, at this very loop level): out of sight now, deleted with the
    // panel.
    forEachSlot([](auto& slot) {
        if (slot) slot->hide();
    });
}

}  // namespace zr::panel
