#pragma once

#include <QPointer>

class CAdjust;
class CLinkTrace;
class CLookUpTable;
class CManualCommand;
class CWhiteSpot;
class CZR_K880TM_ControlDlg;

namespace zr {
class TraceQueue;
}  // namespace zr

namespace zr::panel {

// The panel's four tool window slots: at most one window of each kind, owned
// and deleted by the panel. A visible window only gets the focus again; a
// hidden look-up table editor is shown again (it keeps its curves), a hidden
// window of the other kinds is deleted and made anew.
class ToolWindowSlots {
  public:
    explicit ToolWindowSlots(CZR_K880TM_ControlDlg* panel) : panel_(panel) {}
    ~ToolWindowSlots();
    ToolWindowSlots(const ToolWindowSlots&) = delete;
    ToolWindowSlots& operator=(const ToolWindowSlots&) = delete;

    void openLookUpTable();
    void openWhiteSpot();
    void openManualCommand();
    void openAdjust();
    // The link trace window, reading the panel's trace queue; made anew when hidden.
    void openLinkTrace(zr::TraceQueue& queue);

    // Deletes every window that exists: white spot detection, look-up table
    // editor, manual command, adjustment, link trace, in that order.
    void destroyAll();
    // The same for a panel that closes, except while a box or a walk may
    // still be running a tool window's code (a close that reaches the panel
    // from inside their event loops): then the windows only go out of sight,
    // and are deleted with the panel, once that code has returned.
    void closeAll();

    const QPointer<CLookUpTable>& lookUpTable() const { return lookUpTable_; }
    const QPointer<CWhiteSpot>& whiteSpot() const { return whiteSpot_; }
    const QPointer<CManualCommand>& manualCommand() const { return manualCommand_; }
    const QPointer<CAdjust>& adjust() const { return adjust_; }
    const QPointer<CLinkTrace>& linkTrace() const { return linkTrace_; }

  private:
    // Calls `action` with each window's slot, in the order destroyAll names.
    template <typename Action>
    void forEachSlot(Action action) {
        action(whiteSpot_);
        action(lookUpTable_);
        action(manualCommand_);
        action(adjust_);
        action(linkTrace_);
    }

    CZR_K880TM_ControlDlg* panel_;
    QPointer<CLookUpTable> lookUpTable_;
    QPointer<CWhiteSpot> whiteSpot_;
    QPointer<CManualCommand> manualCommand_;
    QPointer<CAdjust> adjust_;
    QPointer<CLinkTrace> linkTrace_;
};

}  // namespace zr::panel
