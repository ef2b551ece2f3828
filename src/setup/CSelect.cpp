#include "setup/CSelect.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <algorithm>

#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/ComPortResolver.h"
#include "link/SerialLink.h"
#include "widgets/ApplicationNames.h"
#include "widgets/DialogUnits.h"

namespace {

enum class Kind { PushRadio, Radio, Button, DefaultButton, Edit, DropList, Text, Group };

enum Flag : unsigned {
    None = 0,
    Hidden = 1,
    Disabled = 2,
};

// One control of template 132: position and size in dialog units.
struct ControlSpec {
    int id;
    Kind kind;
    const char* caption;
    int x, y, w, h;
    unsigned flags;
};

// In tab order. Group boxes come last and are put beneath the rest.
constexpr ControlSpec kTemplate[] = {
    {1119, Kind::PushRadio, "COM 1", 11, 12, 28, 14, None},
    {1120, Kind::PushRadio, "COM 2", 41, 12, 28, 14, None},
    {1121, Kind::PushRadio, "COM 3", 71, 12, 28, 14, None},
    {1122, Kind::PushRadio, "COM 4", 101, 12, 28, 14, None},
    {1123, Kind::PushRadio, "COM 5", 131, 12, 28, 14, None},
    {1124, Kind::PushRadio, "COM 6", 11, 28, 28, 14, None},
    {1125, Kind::PushRadio, "COM 7", 41, 28, 28, 14, None},
    {1126, Kind::PushRadio, "COM 8", 71, 28, 28, 14, None},
    {1127, Kind::PushRadio, "COM 9", 101, 28, 28, 14, None},
    {1128, Kind::PushRadio, "COM 10", 131, 28, 28, 14, None},
    {1129, Kind::PushRadio, "COM 11-", 131, 28, 28, 14, Hidden},
    {1106, Kind::PushRadio, "Euresys", 181, 19, 40, 12, None},
    {1107, Kind::PushRadio, "Matrox", 224, 19, 40, 12, None},
    {1108, Kind::PushRadio, "Other Factory", 267, 19, 52, 12, None},
    {1110, Kind::PushRadio, "CL ALL", 181, 55, 34, 12, None},
    {1132, Kind::Radio, " 9600", 15, 58, 30, 10, None},
    {1133, Kind::Radio, "19200", 47, 58, 34, 10, Disabled},
    {1134, Kind::Radio, "38400", 83, 58, 34, 10, Disabled},
    {1135, Kind::Radio, "115200", 119, 58, 41, 10, None},
    {1270, Kind::DropList, "", 111, 28, 48, 12, Hidden},
    {1022, Kind::Radio, "OPEN", 15, 93, 40, 10, None},
    {1023, Kind::Radio, "CLOSE", 70, 93, 40, 10, None},
    {1, Kind::DefaultButton, "OK", 232, 89, 50, 14, None},
    {1112, Kind::Button, "CANCEL", 290, 89, 50, 14, None},
    {1109, Kind::Edit, "", 181, 33, 110, 11, Disabled},
    {2110, Kind::Button, "Browse", 309, 32, 27, 13, Disabled},
    {1268, Kind::DropList, "", 219, 55, 117, 12, Disabled},
    {1113, Kind::Text, ".dll", 293, 35, 14, 8, Disabled},
    {1131, Kind::Group, "Select Board Maker", 175, 10, 165, 37, None},
    {1118, Kind::Group, "RS-232C Setting", 5, 2, 160, 78, None},
    {1130, Kind::Group, "Baud Rate", 10, 46, 152, 28, None},
    {1117, Kind::Group, "Open Port", 5, 82, 160, 25, None},
    {-1, Kind::Group, "CameraLink Board", 170, 2, 175, 78, None},
    {1140, Kind::Group, "CameraLink V1.1", 175, 47, 165, 31, None},
    {1269, Kind::Text, "Manufacture:", 219, 68, 117, 8, None},
};

constexpr int kDialogWidthDlu = 350;
constexpr int kDialogHeightDlu = 110;

// The port group's buttons in radioChoice order (0..14).
constexpr int kPortButtons[] = {1119, 1120, 1121, 1122, 1123, 1124, 1125, 1126,
                                1127, 1128, 1129, 1106, 1107, 1108, 1110};

}  // namespace

CSelect::CSelect(const zr::SetupContext& context) : QDialog(context.window), context_(context) {
    setWindowTitle("Select Communication System");
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    createControls();
    openRequested = *context_.portOpen != 0 ? 1 : 0;
    OnInitDialog();
}

CSelect::~CSelect() = default;

QWidget* CSelect::control(int id) const {
    return controls_.widget(id);
}

int CSelect::loadSavedChoice() {
    QSettings profile(zr::kProfileOrganisation, zr::kApplicationName);
    bool ok = false;
    const int value = profile.value("Recent/ComPort", -1).toInt(&ok);
    if (!ok || value < ChoiceNone || value > ChoiceClAll) return ChoiceNone;
    return value;
}

void CSelect::saveChoice(int choice) {
    QSettings profile(zr::kProfileOrganisation, zr::kApplicationName);
    profile.setValue("Recent/ComPort", choice);
    profile.sync();
}

void CSelect::createControls() {
    const zr::widgets::DialogUnits du(font());
    setFixedSize(du.toPixelsX(kDialogWidthDlu), du.toPixelsY(kDialogHeightDlu));

    portGroup_ = new QButtonGroup(this);
    baudGroup_ = new QButtonGroup(this);
    openCloseGroup_ = new QButtonGroup(this);
    std::vector<QWidget*> groups;

    for (const ControlSpec& c : kTemplate) {
        QWidget* w = nullptr;
        const QString caption = QString::fromUtf8(c.caption);
        switch (c.kind) {
            case Kind::PushRadio: {
                auto* b = new QPushButton(caption, this);
                b->setCheckable(true);
                b->setAutoDefault(false);
                w = b;
                break;
            }
            case Kind::Radio:
                w = new QRadioButton(caption, this);
                break;
            case Kind::Button:
            case Kind::DefaultButton: {
                auto* b = new QPushButton(caption, this);
                b->setAutoDefault(false);
                b->setDefault(c.kind == Kind::DefaultButton);
                w = b;
                break;
            }
            case Kind::Edit:
                w = new QLineEdit(this);
                break;
            case Kind::DropList:
                w = new QComboBox(this);
                break;
            case Kind::Text:
                w = new QLabel(caption, this);
                break;
            case Kind::Group:
                w = new QGroupBox(caption, this);
                groups.push_back(w);
                break;
        }
        w->setGeometry(du.toPixels(QRect(c.x, c.y, c.w, c.h)));
        if (c.flags & Hidden) w->hide();
        if (c.flags & Disabled) w->setEnabled(false);
        if (c.id != IdStatic) {
            w->setObjectName(QString("control%1").arg(c.id));
            controls_.add(c.id, w);
        }
    }
    // Frames are drawn behind the buttons so they never take their clicks.
    for (QWidget* g : groups) g->lower();

    for (int choice = 0; choice < static_cast<int>(std::size(kPortButtons)); ++choice) {
        portGroup_->addButton(controls_.button(kPortButtons[choice]), choice);
    }
    for (int i = 0; i < 4; ++i) {
        baudGroup_->addButton(controls_.button(IdBaud9600 + i), i);
    }
    openCloseGroup_->addButton(controls_.button(IdOpen), 0);
    openCloseGroup_->addButton(controls_.button(IdClose), 1);

    // Handlers take user clicks only, never programmatic check changes.
    for (int id = IdCom1; id <= IdCom11Up; ++id) {
        connect(controls_.button(id), &QAbstractButton::clicked, this,
                [this, id] { OnComButton(id); });
    }
    auto onClick = [this](int id, void (CSelect::*handler)()) {
        connect(controls_.button(id), &QAbstractButton::clicked, this, handler);
    };
    onClick(IdEuresys, &CSelect::OnMakerButton);
    onClick(IdMatrox, &CSelect::OnMakerButton);
    onClick(IdOtherFactory, &CSelect::OnOtherFactory);
    onClick(IdClAll, &CSelect::OnClAll);
    onClick(IdBrowse, &CSelect::OnBrowse);
    onClick(IdOk, &CSelect::OnOK);
    onClick(IdCancel, &CSelect::OnCancel);
    connect(controls_.comboBox(IdClPortList), &QComboBox::currentIndexChanged, this,
            &CSelect::OnClPortSelChange);

    for (int n = 1; n <= 10; ++n) {
        const QString device = QString::fromStdString(zr::comPortDevice(n));
        control(IdCom1 + n - 1)->setToolTip(device);
    }
}

void CSelect::OnInitDialog() {
    showFields();
    const int saved = loadSavedChoice();

    if (openRequested == 1) {
        for (int id = IdCom1; id <= IdCom10; ++id) controls_.setEnabled(id, false);
    } else {
        zr::EnumerateComPorts(*context_.link);
        const auto& free = context_.link->comPorts();
        for (int i = 0; i < 10; ++i) {
            const bool isFree = std::find(free.begin(), free.end(), i + 1) != free.end();
            controls_.setEnabled(IdCom1 + i, isFree);
            if (isFree && (saved == ChoiceNone || saved == i)) {
                radioChoice = i;
                TransportKind = KindComPort;
            }
        }
        if (saved >= ChoiceEuresys) {
            radioChoice = saved;
            TransportKind = KindBoardLibrary;
            controls_.setEnabled({IdBaud9600, IdBaud115200, IdBaudGroup}, saved == ChoiceClAll);
            if (saved == ChoiceClAll) TransportKind = KindClAll;
        }
        if (radioChoice == ChoiceNone) {
            radioChoice = ChoiceEuresys;
            TransportKind = KindBoardLibrary;
            controls_.setEnabled({IdBaud9600, IdBaud115200, IdBaudGroup}, false);
        }
        showFields();
    }

    fillComList();
    listClPorts();
}

void CSelect::fillComList() {
    auto* list = controls_.comboBox(IdComList);
    list->setEnabled(false);
    list->clear();
    for (int n = 11; n <= 100; ++n) list->addItem(QString("COM %1").arg(n), n);
    list->setCurrentIndex(0);
}

void CSelect::listClPorts() {
    if (!zr::commonLibraryLoads()) controls_.setEnabled(IdClAll, false);

    clPortCount = 0;
    portInfo.clear();
    const std::optional<std::vector<zr::ClPortEntry>> ports = zr::commonLibraryPorts();
    if (ports) {
        clPortCount = static_cast<uint32_t>(ports->size());
        const size_t listed = std::min<size_t>(ports->size(), kMaxClPorts);
        for (size_t i = 0; i < listed; ++i) {
            portInfo.push_back({QString::fromLocal8Bit((*ports)[i].manufacturer),
                                QString::fromLocal8Bit((*ports)[i].portId), (*ports)[i].version});
        }
    }

    auto* list = controls_.comboBox(IdClPortList);
    const QSignalBlocker quiet(list);
    if (portInfo.empty()) {
        list->addItem("Not available");
        list->setEnabled(false);
        list->setCurrentIndex(0);
        controls_.setEnabled(IdClAll, false);
        return;
    }
    for (const PortInfo& port : portInfo) list->addItem(port.portId);
    list->setCurrentIndex(0);
    setManufacturer(QString("Manufacture: %1").arg(portInfo.front().manufacturer));
}

void CSelect::showFields() {
    portGroup_->setExclusive(false);
    for (QAbstractButton* b : portGroup_->buttons())
        b->setChecked(portGroup_->id(b) == radioChoice);
    portGroup_->setExclusive(true);
    if (QAbstractButton* b = baudGroup_->button(baudIndex)) b->setChecked(true);
    if (QAbstractButton* b = openCloseGroup_->button(openCloseIndex)) b->setChecked(true);
    static_cast<QLineEdit*>(control(IdDllPath))->setText(dllPath);
}

void CSelect::readControls() {
    radioChoice = portGroup_->checkedId();
    baudIndex = baudGroup_->checkedId();
    openCloseIndex = openCloseGroup_->checkedId();
    dllPath = static_cast<QLineEdit*>(control(IdDllPath))->text();
}

void CSelect::setManufacturer(const QString& text) {
    manufacturerText = text;
    controls_.label(IdManufacturer)->setText(text);
}

void CSelect::OnComButton(int) {
    controls_.setEnabled({IdBaud9600, IdBaud115200, IdBaudGroup}, true);
    controls_.setEnabled({IdDllPath, IdDllText, IdBrowse, IdClPortList}, false);
    TransportKind = KindComPort;
    readControls();
    comNumber = radioChoice + 1;
}

void CSelect::OnMakerButton() {
    controls_.setEnabled({IdBaud9600, IdBaud115200, IdBaudGroup}, false);
    controls_.setEnabled({IdDllPath, IdDllText, IdBrowse, IdClPortList}, false);
    TransportKind = KindBoardLibrary;
}

void CSelect::OnOtherFactory() {
    controls_.setEnabled({IdBaud9600, IdBaud115200, IdBaudGroup}, false);
    controls_.setEnabled({IdDllPath, IdDllText, IdBrowse}, true);
    controls_.setEnabled(IdClPortList, false);
    TransportKind = KindBoardLibrary;
}

void CSelect::OnClAll() {
    controls_.setEnabled({IdBaud9600, IdBaud115200, IdBaudGroup}, true);
    controls_.setEnabled({IdDllPath, IdDllText, IdBrowse}, false);
    controls_.setEnabled(IdClPortList, true);
    TransportKind = KindClAll;
}

void CSelect::OnClPortSelChange(int index) {
    if (index < 0 || index >= static_cast<int>(portInfo.size())) return;
    setManufacturer(QString("Manufacture:%1").arg(portInfo[index].manufacturer));
}

void CSelect::OnBrowse() {
    readControls();
    if (browseBusy == 1) return;
    browseBusy = 1;

    QFileDialog files(this, "OPEN DLL FILE");
    files.setAcceptMode(QFileDialog::AcceptOpen);
    files.setFileMode(QFileDialog::ExistingFile);
    files.setNameFilters({"dll file (*.dll *.so)", "all file (*.*)"});
    files.setDefaultSuffix("dll");
    if (files.exec() == QDialog::Accepted && !files.selectedFiles().isEmpty()) {
        dllPath = files.selectedFiles().constFirst();
    }

    browseBusy = 0;
    showFields();
}

void CSelect::OnOK() {
    readControls();
    if (openCloseIndex == 1) {
        openRequested = 0;
    } else {
        openRequested = 1;
        static constexpr int kRates[] = {9600, 19200, 38400, 115200};
        baudRate = kRates[std::clamp(baudIndex, 0, 3)];
        comNumber = radioChoice + 1;
        // With the port open no button is checked; keep the remembered port then.
        if (radioChoice != ChoiceNone) saveChoice(radioChoice);
    }
    accept();
}

void CSelect::OnCancel() {
    reject();
}
