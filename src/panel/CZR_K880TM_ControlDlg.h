#pragma once

#include <QDialog>
#include <memory>

#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "setup/SetupContext.h"
#include "widgets/ScrollRequest.h"
#include "widgets/ToolContext.h"

class CAdjust;
class CLinkTrace;
class CLookUpTable;
class CManualCommand;
class CWhiteSpot;
class QMenuBar;
class QWidget;

namespace zr {
class TraceQueue;
}  // namespace zr
namespace zr::panel {
class SettingsFileCommands;
}

// The main control panel's window: its menu, keys and buttons run the
// program's commands. It owns the session (PanelServices: the link, the
// table, the boxes) and its port state; its controls show the table
// (PanelControls); its tool windows reach the camera through the context it
// hands them (toolContext()), never through the panel itself.
//
// Constructing the panel builds its window and sends nothing. The application
// calls startSession(), which runs the Serial Port command, and then shows it.
class CZR_K880TM_ControlDlg : public QDialog {
    Q_OBJECT
  public:
    // Scroll notification codes, as the scroll bar handler understands them.
    using enum zr::widgets::ScrollCode;

    explicit CZR_K880TM_ControlDlg(QWidget* parent = nullptr);
    ~CZR_K880TM_ControlDlg() override;

    // --- what tool windows and the setup command use ------------------------
    zr::ParamAccess& params();
    zr::BulkOperations& bulk();
    zr::SerialLink& link();
    zr::MessageRelay& messages();
    // Where the link's trace hook puts its events for the trace window.
    zr::TraceQueue& traceQueue();
    zr::CameraParamTable& table();
    // What a tool window opened by the panel is handed.
    zr::widgets::ToolContext toolContext();
    // What the Serial Port command is handed.
    zr::SetupContext setupContext();

    // The panel's port state; portOpen is its flag that the port is open.
    zr::PortState port;
    int& portOpen = port.portOpen;

    // Runs the Serial Port command once, as the start of a session: the
    // application calls it before showing the panel.
    void startSession();

    // --- read-outs and control states (PanelControls does them) ---------------
    // Sets every control from the table and brings the enabled states up to
    // date. Sends nothing. Whatever changes the table runs it through the
    // table's change notice, as it shows the open tool windows' rows.
    void RefreshPanel();
    // Moves a scroll bar's thumb to `position` and rewrites its read-out.
    void ShowScrollValue(int scrollId, int readoutId, int position);
    // Applies the enabling rules triggered by control `id`; 0 applies them all.
    void UpdateControlStates(int id);

    // --- commands ---------------------------------------------------------
    // Menu items, accelerator keys and push buttons, by command or control id.
    void OnCommand(int id);
    // System commands: an id whose low four bits cleared give 16 opens the
    // About box; every other id is ignored.
    void OnSysCommand(int id);
    // The counterpart of the window message WM_USER: wParam 1025 closes the
    // link, any other wParam does nothing; the result is always true.
    // Nothing in the program calls it; it is there for an embedding host.
    bool onUserMessage(int wParam);
    // The radio button and scroll bar handlers (the widgets call them; tests
    // may too).
    void OnRadioClicked(int id);
    void OnHScroll(int code, int position, int scrollId);

    // The memory box's selection: 0 DEFAULT, 1..4 FILE n, -1 when nothing is
    // selected (also when the user typed a text of their own).
    int selectedMemory() const;

    // --- tool windows --------------------------------------------------------
    void OpenWhiteSpot();
    void OpenManualCommand();
    void OpenAdjust();
    CLookUpTable* lookUpTableWindow() const;
    CWhiteSpot* whiteSpotWindow() const;
    CManualCommand* manualCommandWindow() const;
    CAdjust* adjustWindow() const;
    CLinkTrace* linkTraceWindow() const;
    zr::panel::SettingsFileCommands& settingsFiles();

    // --- the window ----------------------------------------------------------
    QWidget* control(int id) const;  // nullptr for an unknown id
    QMenuBar* menuBar() const;
    QAction* menuAction(int commandId) const;

    // Closes the tool windows in their fixed order, then ends the panel. From
    // here on no box comes up: each is answered unseen (OK, No).
    void reject() override;

  private:
    void buildWindow();
    void bindCommands();
    void initialiseControls();
    void showAbout();

    struct Impl;
    std::unique_ptr<Impl> d;
};
