#include "panel/CZR_K880TM_ControlDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QMenuBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <functional>
#include <initializer_list>

#include "adjust/CAdjust.h"
#include "panel/CAboutDlg.h"
#include "panel/ConnectionStatusLine.h"
#include "panel/PanelControlIds.h"
#include "panel/PanelControls.h"
#include "panel/PanelIcon.h"
#include "panel/PanelMenu.h"
#include "panel/PanelServices.h"
#include "panel/SettingsFileCommands.h"
#include "panel/ToolWindowSlots.h"
#include "setup/SerialPortCommand.h"
#include "tools/CLinkTrace.h"
#include "tools/CLookUpTable.h"
#include "tools/CManualCommand.h"
#include "tools/CWhiteSpot.h"
#include "ui_CZR_K880TM_ControlDlg.h"
#include "widgets/ControlMap.h"
#include "widgets/DialogUnits.h"

using namespace zr::panel;
using namespace zr::widgets;

namespace {

// The memory box's entries, in selection index order.
const char* const kMemoryNames[] = {"DEFAULT", "FILE 1", "FILE 2", "FILE 3", "FILE 4"};

}  // namespace

struct CZR_K880TM_ControlDlg::Impl {
    explicit Impl(CZR_K880TM_ControlDlg* panel)
        : services(panel),
          tools(panel),
          settingsFiles(panel, services.params, services.bulk, services.relay,
                        [this](const QString& note) {
                            if (status) status->showNote(note);
                        }) {}
    PanelServices services;
    ToolWindowSlots tools;
    SettingsFileCommands settingsFiles;

    Ui::PanelTemplate ui;
    QWidget* client = nullptr;
    PanelMenu* menu = nullptr;
    ConnectionStatusLine* status = nullptr;
    ControlMap controls;
    QHash<int, std::function<void()>> commands;    // by command or control id
    std::unique_ptr<PanelControls> panelControls;  // listens to the table: goes first
};

CZR_K880TM_ControlDlg::CZR_K880TM_ControlDlg(QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this)) {
    buildWindow();
    d->panelControls = std::make_unique<PanelControls>(this, d->controls, d->services.params);
    bindCommands();
    initialiseControls();
}

CZR_K880TM_ControlDlg::~CZR_K880TM_ControlDlg() {
    d->services.closeConversation();
    // The tool windows use the link and the table: they go first.
    d->tools.destroyAll();
}

zr::ParamAccess& CZR_K880TM_ControlDlg::params() {
    return d->services.params;
}
zr::BulkOperations& CZR_K880TM_ControlDlg::bulk() {
    return d->services.bulk;
}
zr::SerialLink& CZR_K880TM_ControlDlg::link() {
    return d->services.link;
}
zr::MessageRelay& CZR_K880TM_ControlDlg::messages() {
    return d->services.relay;
}
zr::TraceQueue& CZR_K880TM_ControlDlg::traceQueue() {
    return d->services.traceQueue;
}
zr::CameraParamTable& CZR_K880TM_ControlDlg::table() {
    return d->services.params.table();
}

SettingsFileCommands& CZR_K880TM_ControlDlg::settingsFiles() {
    return d->settingsFiles;
}

zr::SetupContext CZR_K880TM_ControlDlg::setupContext() {
    return {this, &d->services.link, &d->services.bulk, &d->services.relay, &port};
}

zr::widgets::ToolContext CZR_K880TM_ControlDlg::toolContext() {
    return {&d->services.params, &d->services.link, &d->services.relay,
            static_cast<const QWidget*>(this)};
}

// --- building the window ----------------------------------------------------

void CZR_K880TM_ControlDlg::buildWindow() {
    setWindowTitle(QStringLiteral("ZR_K880TM Control"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(panelIcon());

    const QFont dialogFont = templateFont();
    setFont(dialogFont);

    d->client = new QWidget(this);
    d->ui.setupUi(d->client);
    DialogUnits(dialogFont).applyToTemplate(d->client);
    d->controls.addTemplate(d->client);

    d->menu = new PanelMenu(this);
    d->menu->menuBar()->setFont(QApplication::font(d->menu->menuBar()));
    connect(d->menu, &PanelMenu::command, this, &CZR_K880TM_ControlDlg::OnCommand);

    // The controls keep their places: the client area has a fixed size and
    // stays in the top left corner however the window is sized.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(d->menu->menuBar());
    layout->addWidget(d->client, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    d->status = new ConnectionStatusLine(d->services.link, port, this);
    layout->addWidget(d->status);

    const struct {
        int key;
        int command;
    } accelerators[] = {
        {Qt::Key_L, ID_ACCEL_SERIAL_PORT},
        {Qt::Key_M, ID_ACCEL_MANUAL_COMMAND},
        {Qt::Key_R, ID_ACCEL_READ},
        {Qt::Key_W, ID_ACCEL_WRITE},
    };
    for (const auto& accelerator : accelerators) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | accelerator.key), this);
        const int command = accelerator.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { OnCommand(command); });
    }
}

void CZR_K880TM_ControlDlg::bindCommands() {
    // What each menu item, accelerator key and push button runs, by its id.
    zr::panel::PanelServices& s = d->services;
    ToolWindowSlots& tools = d->tools;
    SettingsFileCommands& files = d->settingsFiles;
    const struct {
        std::initializer_list<int> ids;
        std::function<void()> run;
    } commands[] = {
        {{ID_READ_FROM_CAMERA, ID_ACCEL_READ}, [&s] { s.bulk.ReadFromCamera(); }},
        {{ID_WRITE_TO_CAMERA, ID_ACCEL_WRITE}, [&s] { s.bulk.WriteToCamera(); }},
        {{ID_MANUAL_COMMAND, ID_ACCEL_MANUAL_COMMAND}, [this] { OpenManualCommand(); }},
        {{ID_SERIAL_PORT, ID_ACCEL_SERIAL_PORT},
         [this] { zr::SerialPortCommand::run(setupContext()); }},
        {{ID_SAVE_SETTINGS_FILE}, [&files] { files.save(); }},
        {{ID_LOAD_SETTINGS_FILE}, [&files] { files.load(); }},
        {{ID_COMPARE_SETTINGS_FILE}, [&files] { files.compare(); }},
        {{ID_APP_ABOUT}, [this] { showAbout(); }},
        {{ID_FACTORY_SETTING}, [&s] { s.bulk.FactorySetting(); }},
        {{ID_ALL_INITIALIZE}, [&s] { s.bulk.AllInitialize(); }},
        {{IDC_WB_ADJUST}, [&s] { s.params.WriteParam(zr::ROW_WHITE_BALANCE, 3); }},
        {{IDC_WSHADING_ADJUST}, [&s] { s.params.WriteParam(zr::ROW_WHITE_SHADING_ADJUST, 1); }},
        {{IDC_LUT_TABLE}, [&tools] { tools.openLookUpTable(); }},
        {{IDC_WSPOT_DETECT}, [this] { OpenWhiteSpot(); }},
        {{IDC_ADJUST}, [this] { OpenAdjust(); }},
        {{ID_LINK_TRACE}, [&s, &tools] { tools.openLinkTrace(s.traceQueue); }},
        {{IDC_MEMORY_LOAD}, [this, &s] { s.bulk.LoadMemory(selectedMemory()); }},
        {{IDC_MEMORY_SAVE}, [this, &s] { s.bulk.SaveMemory(selectedMemory()); }},
        {{IDCANCEL}, [this] { reject(); }},
    };
    for (const auto& command : commands) {
        for (int id : command.ids) d->commands.insert(id, command.run);
    }

    const int commandButtons[] = {
        IDC_WB_ADJUST, IDC_WSHADING_ADJUST, IDC_LUT_TABLE,   IDC_WSPOT_DETECT,
        IDC_ADJUST,    IDC_MEMORY_LOAD,     IDC_MEMORY_SAVE, IDCANCEL};
    for (int id : commandButtons) {
        connect(d->controls.button(id), &QAbstractButton::clicked, this,
                [this, id] { OnCommand(id); });
    }

    QComboBox* memory = d->controls.comboBox(IDC_MEMORY_SELECT);
    connect(memory, &QComboBox::currentIndexChanged, this,
            [this](int index) { d->controls.setEnabled(IDC_MEMORY_SAVE, index != 0); });
}

void CZR_K880TM_ControlDlg::initialiseControls() {
    QComboBox* memory = d->controls.comboBox(IDC_MEMORY_SELECT);
    for (const char* name : kMemoryNames) memory->addItem(QString::fromLatin1(name));
    memory->setCurrentIndex(0);
    d->controls.setEnabled(IDC_MEMORY_SAVE, false);

    d->menu->removeCommand(ID_ALL_INITIALIZE);

    // Hidden in the template already; nothing shows them again, their
    // handlers stay in place.
    for (int id : {IDC_ADJUST, IDC_SMEAR_GROUP, IDC_SMEAR_OFF, IDC_SMEAR_ON}) {
        d->controls.widget(id)->hide();
    }
}

void CZR_K880TM_ControlDlg::startSession() {
    zr::SerialPortCommand::run(setupContext());
}

// --- handlers ---------------------------------------------------------------

void CZR_K880TM_ControlDlg::OnRadioClicked(int id) {
    d->panelControls->OnRadioClicked(id);
}

void CZR_K880TM_ControlDlg::OnHScroll(int code, int position, int scrollId) {
    d->panelControls->OnHScroll(code, position, scrollId);
}

void CZR_K880TM_ControlDlg::OnCommand(int id) {
    const auto command = d->commands.constFind(id);
    if (command != d->commands.constEnd()) (*command)();
}

void CZR_K880TM_ControlDlg::OnSysCommand(int id) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) showAbout();
}

bool CZR_K880TM_ControlDlg::onUserMessage(int wParam) {
    if (wParam == kCloseLinkRequest) d->services.link.CloseLink();
    return true;
}

int CZR_K880TM_ControlDlg::selectedMemory() const {
    const QComboBox* memory = d->controls.comboBox(IDC_MEMORY_SELECT);
    const int index = memory->currentIndex();
    if (index >= 0 && memory->currentText() != memory->itemText(index)) return -1;
    return index;
}

void CZR_K880TM_ControlDlg::showAbout() {
    CAboutDlg about(this);
    about.exec();
}

// --- read-outs and states ---------------------------------------------------

void CZR_K880TM_ControlDlg::RefreshPanel() {
    d->panelControls->RefreshPanel();
}

void CZR_K880TM_ControlDlg::ShowScrollValue(int scrollId, int readoutId, int position) {
    d->panelControls->ShowScrollValue(scrollId, readoutId, position);
}

void CZR_K880TM_ControlDlg::UpdateControlStates(int id) {
    d->panelControls->UpdateControlStates(id);
}

// --- tool windows and closing -------------------------------------------------

void CZR_K880TM_ControlDlg::OpenWhiteSpot() {
    d->tools.openWhiteSpot();
}
void CZR_K880TM_ControlDlg::OpenManualCommand() {
    d->tools.openManualCommand();
}
void CZR_K880TM_ControlDlg::OpenAdjust() {
    d->tools.openAdjust();
}
CLookUpTable* CZR_K880TM_ControlDlg::lookUpTableWindow() const {
    return d->tools.lookUpTable();
}
CLinkTrace* CZR_K880TM_ControlDlg::linkTraceWindow() const {
    return d->tools.linkTrace();
}
CWhiteSpot* CZR_K880TM_ControlDlg::whiteSpotWindow() const {
    return d->tools.whiteSpot();
}
CManualCommand* CZR_K880TM_ControlDlg::manualCommandWindow() const {
    return d->tools.manualCommand();
}
CAdjust* CZR_K880TM_ControlDlg::adjustWindow() const {
    return d->tools.adjust();
}

QWidget* CZR_K880TM_ControlDlg::control(int id) const {
    return d->controls.widget(id);
}
QMenuBar* CZR_K880TM_ControlDlg::menuBar() const {
    return d->menu->menuBar();
}
QAction* CZR_K880TM_ControlDlg::menuAction(int commandId) const {
    return d->menu->action(commandId);
}

void CZR_K880TM_ControlDlg::reject() {
    d->services.closeConversation();
    d->tools.closeAll();
    QDialog::reject();
}
