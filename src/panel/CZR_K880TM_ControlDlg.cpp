#include "panel/CZR_K880TM_ControlDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QMenuBar>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "adjust/CAdjust.h"
#include "link/TraceQueue.h"
#include "panel/CAboutDlg.h"
#include "panel/ClosedPanelSink.h"
#include "panel/ConnectionStatusLine.h"
#include "panel/ControlStates.h"
#include "panel/PanelBindings.h"
#include "panel/PanelClock.h"
#include "panel/PanelControlIds.h"
#include "panel/PanelIcon.h"
#include "panel/PanelMenu.h"
#include "panel/ReadoutText.h"
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
#include "widgets/QtMessageSink.h"
#include "widgets/ScrollInputFilter.h"

using namespace zr::panel;
using namespace zr::widgets;

namespace {

// The template's font is 8 point; its dialog units follow that font.

// The memory box's entries, in selection index order.
const char* const kMemoryNames[] = {"DEFAULT", "FILE 1", "FILE 2", "FILE 3", "FILE 4"};

// clang-format off
// Rows of the radio groups in the order the refresh walks them.
constexpr int kRadioRefreshRows[] = {
    zr::ROW_TRIGGER_MODE, zr::ROW_TRIGGER_POLARITY, zr::ROW_TRIGGER_SOURCE, zr::ROW_CL_DATA_BITS,
    zr::ROW_CL_VSYNC, zr::ROW_CL_HSYNC, zr::ROW_SHUTTER_SPEED, zr::ROW_KNEE_SWITCH, zr::ROW_ALC,
    zr::ROW_LUT_SWITCH, zr::ROW_WHITE_BALANCE, zr::ROW_GAMMA_SWITCH, zr::ROW_SHARPNESS_SWITCH,
    zr::ROW_MASKING_SWITCH, zr::ROW_PAINT_BLACK_SWITCH, zr::ROW_WHITE_SHADING_SWITCH,
    zr::ROW_WHITE_SPOT_CORRECTION, zr::ROW_SMEAR_SWITCH, zr::ROW_OUTPUT_SIGNAL,
    zr::ROW_OUTPUT_POLARITY};

// Scroll bar ids in the order their ranges are set at start.
constexpr int kScrollRangeOrder[] = {
    IDC_WB_RGAIN_SCROLL, IDC_WB_BGAIN_SCROLL, IDC_WB_GGAIN_SCROLL, IDC_GAIN_SCROLL,
    IDC_BRIGHT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_KNEE_POINT_SCROLL, IDC_KNEE_SLOPE_SCROLL,
    IDC_SAT_R_SCROLL, IDC_SAT_CY_SCROLL, IDC_SAT_G_SCROLL, IDC_SAT_MG_SCROLL,
    IDC_SAT_B_SCROLL, IDC_SAT_YE_SCROLL, IDC_HUE_R_SCROLL, IDC_HUE_CY_SCROLL,
    IDC_HUE_G_SCROLL, IDC_HUE_MG_SCROLL, IDC_HUE_B_SCROLL, IDC_HUE_YE_SCROLL,
    IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL, IDC_SHARP_SCROLL,
    IDC_VIDEO_SCROLL, IDC_GAMMA_SCROLL};

// Scroll bar ids in the order the refresh shows them.
constexpr int kScrollRefreshOrder[] = {
    IDC_GAIN_SCROLL, IDC_BRIGHT_SCROLL, IDC_VSHUTTER_SCROLL, IDC_KNEE_POINT_SCROLL,
    IDC_KNEE_SLOPE_SCROLL, IDC_SAT_R_SCROLL, IDC_SAT_CY_SCROLL, IDC_SAT_G_SCROLL,
    IDC_SAT_MG_SCROLL, IDC_SAT_B_SCROLL, IDC_SAT_YE_SCROLL, IDC_HUE_R_SCROLL,
    IDC_HUE_CY_SCROLL, IDC_HUE_G_SCROLL, IDC_HUE_MG_SCROLL, IDC_HUE_B_SCROLL,
    IDC_HUE_YE_SCROLL, IDC_WB_RGAIN_SCROLL, IDC_WB_BGAIN_SCROLL, IDC_WB_GGAIN_SCROLL,
    IDC_PB_RED_SCROLL, IDC_PB_GREEN_SCROLL, IDC_PB_BLUE_SCROLL, IDC_SHARP_SCROLL,
    IDC_VIDEO_SCROLL, IDC_GAMMA_SCROLL};
// clang-format on

}  // namespace

struct CZR_K880TM_ControlDlg::Impl {
    explicit Impl(CZR_K880TM_ControlDlg* panel)
        : relay(sink),
          link(relay, zr::panel::linkClock()),
          params(link, static_cast<const QWidget*>(panel)),
          bulk(params),
          tools(panel),
          settingsFiles(
              panel, params, bulk, relay, [panel] { panel->RefreshPanel(); },
              [this](const QString& note) {
                  if (status) status->showNote(note);
              }) {
        // Installed once, before any port opens; costs a load while nobody listens.
        link.setTrace([this](const zr::TraceEvent& e) { traceQueue.push(e); });
    }
    zr::QtMessageSink sink;
    ClosedPanelSink closedSink;  // outlives the link: its close may still answer
    zr::MessageRelay relay;
    zr::TraceQueue traceQueue;  // outlives the link's worker
    zr::SerialLink link;
    zr::ParamAccess params;
    zr::BulkOperations bulk;
    ToolWindowSlots tools;
    SettingsFileCommands settingsFiles;

    Ui::PanelTemplate ui;
    QWidget* client = nullptr;
    PanelMenu* menu = nullptr;
    ConnectionStatusLine* status = nullptr;
    ControlMap controls;
    QHash<int, QButtonGroup*> radioGroups;  // by table row
    QHash<int, int> shownRadio;             // by table row: the button the panel checked, 0 none
};

CZR_K880TM_ControlDlg::CZR_K880TM_ControlDlg(QWidget* parent)
    : QDialog(parent), d(std::make_unique<Impl>(this)) {
    d->bulk.setRefreshHook([this] { RefreshPanel(); });
    // Worker messages are shown when the user interface is idle; every wait
    // inside the link serves them too.
    d->relay.setWakeup([this] {
        QMetaObject::invokeMethod(
            this, [this] { d->relay.servePending(); }, Qt::QueuedConnection);
    });
    buildWindow();
    bindControls();
    initialiseControls();
}

CZR_K880TM_ControlDlg::~CZR_K880TM_ControlDlg() {
    closeConversation();
    // The tool windows use the link and the table: they go first.
    d->tools.destroyAll();
}

void CZR_K880TM_ControlDlg::closeConversation() {
    // No box after the window has gone: what the tool windows' teardown and
    // the link's close (a worker's time-out, say) still report is answered
    // unseen.
    d->relay.setSink(d->closedSink);
}

zr::ParamAccess& CZR_K880TM_ControlDlg::params() {
    return d->params;
}
zr::BulkOperations& CZR_K880TM_ControlDlg::bulk() {
    return d->bulk;
}
zr::SerialLink& CZR_K880TM_ControlDlg::link() {
    return d->link;
}
zr::MessageRelay& CZR_K880TM_ControlDlg::messages() {
    return d->relay;
}
zr::TraceQueue& CZR_K880TM_ControlDlg::traceQueue() {
    return d->traceQueue;
}
zr::CameraParamTable& CZR_K880TM_ControlDlg::table() {
    return d->params.table();
}

SettingsFileCommands& CZR_K880TM_ControlDlg::settingsFiles() {
    return d->settingsFiles;
}

zr::SetupContext CZR_K880TM_ControlDlg::setupContext() {
    return {this,      &d->link,
            &d->bulk,  &d->relay,
            &portOpen, [this](const QString& where) { d->status->setConnection(where); }};
}

zr::widgets::ToolContext CZR_K880TM_ControlDlg::toolContext() {
    return {&d->params, &d->link, &d->relay, [this] { RefreshPanel(); },
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
    d->status = new ConnectionStatusLine(d->link, this);
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

void CZR_K880TM_ControlDlg::bindControls() {
    for (const RadioBinding& binding : radioBindings()) {
        QAbstractButton* button = d->controls.button(binding.id);
        QButtonGroup*& group = d->radioGroups[binding.row];
        if (group == nullptr) group = new QButtonGroup(this);
        group->addButton(button, binding.id);
        const int id = binding.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnRadioClicked(id); });
    }

    for (const ScrollBinding& binding : scrollBindings()) {
        const int id = binding.id;
        new ScrollInputFilter(d->controls.scrollBar(id), [this, id](int code, int position) {
            OnHScroll(code, position, id);
        });
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
    const zr::CameraParamTable& rows = table();
    for (int id : kScrollRangeOrder) {
        const zr::CameraParam& row = rows[findScroll(id)->row];
        d->controls.scrollBar(id)->setRange(row.minValue, row.maxValue);
    }

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
    const RadioBinding* binding = findRadio(id);
    QAbstractButton* button = d->controls.button(id);
    if (binding == nullptr || button == nullptr || !button->isChecked()) return;
    if (d->params.WriteParam(binding->row, binding->value) == 0) {
        d->shownRadio[binding->row] = id;
        UpdateControlStates(id);
        return;
    }
    // Neither the camera nor the table changed: the group goes back to what
    // it showed before the click.
    showRadio(binding->row, d->shownRadio.value(binding->row, 0));
}

void CZR_K880TM_ControlDlg::OnHScroll(int code, int position, int scrollId) {
    const ScrollBinding* binding = findScroll(scrollId);
    QScrollBar* bar = d->controls.scrollBar(scrollId);
    if (binding == nullptr || bar == nullptr) return;

    const std::optional<int> target =
        zr::widgets::scrollTarget(code, bar->value(), position, bar->minimum(), bar->maximum());
    if (!target) return;
    const int next = *target;
    // A refused write leaves the thumb and the read-out where they were.
    if (d->params.WriteParam(binding->row, next) == 0)
        ShowScrollValue(scrollId, binding->readoutId, next);
}

void CZR_K880TM_ControlDlg::OnCommand(int id) {
    switch (id) {
        case ID_READ_FROM_CAMERA:
        case ID_ACCEL_READ:
            d->bulk.ReadFromCamera();
            break;
        case ID_WRITE_TO_CAMERA:
        case ID_ACCEL_WRITE:
            d->bulk.WriteToCamera();
            break;
        case ID_MANUAL_COMMAND:
        case ID_ACCEL_MANUAL_COMMAND:
            OpenManualCommand();
            break;
        case ID_SERIAL_PORT:
        case ID_ACCEL_SERIAL_PORT:
            zr::SerialPortCommand::run(setupContext());
            break;
        case ID_SAVE_SETTINGS_FILE:
            d->settingsFiles.save();
            break;
        case ID_LOAD_SETTINGS_FILE:
            d->settingsFiles.load();
            break;
        case ID_COMPARE_SETTINGS_FILE:
            d->settingsFiles.compare();
            break;
        case ID_APP_ABOUT:
            showAbout();
            break;
        case ID_FACTORY_SETTING:
            d->bulk.FactorySetting();
            break;
        case ID_ALL_INITIALIZE:
            d->bulk.AllInitialize();
            break;
        case IDC_WB_ADJUST:
            d->params.WriteParam(zr::ROW_WHITE_BALANCE, 3);
            break;
        case IDC_WSHADING_ADJUST:
            d->params.WriteParam(zr::ROW_WHITE_SHADING_ADJUST, 1);
            break;
        case IDC_LUT_TABLE:
            d->tools.openLookUpTable();
            break;
        case IDC_WSPOT_DETECT:
            OpenWhiteSpot();
            break;
        case IDC_ADJUST:
            OpenAdjust();
            break;
        case ID_LINK_TRACE:
            d->tools.openLinkTrace(d->traceQueue);
            break;
        case IDC_MEMORY_LOAD:
            d->bulk.LoadMemory(selectedMemory());
            break;
        case IDC_MEMORY_SAVE:
            d->bulk.SaveMemory(selectedMemory());
            break;
        case IDCANCEL:
            reject();
            break;
        default:
            break;
    }
}

void CZR_K880TM_ControlDlg::OnSysCommand(int id) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) showAbout();
}

bool CZR_K880TM_ControlDlg::onUserMessage(int wParam) {
    if (wParam == kCloseLinkRequest) d->link.CloseLink();
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
    const zr::CameraParamTable& rows = table();
    for (int row : kRadioRefreshRows) refreshRadioGroup(row);

    for (int id : kScrollRefreshOrder) {
        const ScrollBinding* binding = findScroll(id);
        ShowScrollValue(id, binding->readoutId, rows[binding->row].value);
    }

    const int memory = rows[zr::ROW_MEMORY_LOAD].value;
    d->controls.setText(IDC_MEMORY_CURRENT, memory == 0 ? QStringLiteral("DEFAULT")
                                                        : QStringLiteral("FILE %1").arg(memory));

    UpdateControlStates(0);
    d->tools.showTable(rows);
}

void CZR_K880TM_ControlDlg::refreshRadioGroup(int row) {
    const int value = table()[row].value;
    int checkedId = 0;  // a value without a button leaves every button unchecked
    for (const RadioBinding& binding : radioBindings()) {
        if (binding.row == row && binding.value == value) checkedId = binding.id;
    }
    // The shutter's fixed speeds 0..8 lie in id order and 9 lands on
    // VARIABLE, the id after them, as 255 does.
    if (row == zr::ROW_SHUTTER_SPEED && value == 9) checkedId = IDC_SHUTTER_VARIABLE;
    showRadio(row, checkedId);
}

void CZR_K880TM_ControlDlg::showRadio(int row, int checkedId) {
    QButtonGroup* group = d->radioGroups.value(row, nullptr);
    if (group == nullptr) return;
    // An exclusive group cannot be emptied by unchecking its button.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(group->id(button) == checkedId);
    }
    group->setExclusive(true);
    d->shownRadio[row] = checkedId;
}

void CZR_K880TM_ControlDlg::ShowScrollValue(int scrollId, int readoutId, int position) {
    if (QScrollBar* bar = d->controls.scrollBar(scrollId)) bar->setValue(position);
    d->controls.setText(readoutId, QString::fromStdString(readoutText(scrollId, position)));
    UpdateControlStates(scrollId);
}

void CZR_K880TM_ControlDlg::UpdateControlStates(int id) {
    QWidget* focused = focusWidget();
    updateControlStates(d->controls, id);
    parkFocusIfDisabled(focused);
}

void CZR_K880TM_ControlDlg::parkFocusIfDisabled(QWidget* focused) {
    // The toolkit hands the focus of a disabled control on to the next one,
    // where an arrow key would change a setting the user never touched. The
    // panel itself takes it instead: it ignores arrow keys, and a click or
    // Tab picks the next control.
    if (focused == nullptr || focused == this || focused->isEnabled()) return;
    setFocus(Qt::OtherFocusReason);
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
    closeConversation();
    d->tools.closeAll();
    QDialog::reject();
}
