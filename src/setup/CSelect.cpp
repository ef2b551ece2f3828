#include "setup/CSelect.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <utility>

#include "link/ClOpen.h"
#include "link/ComPort.h"
#include "link/ComPortResolver.h"
#include "link/SerialLink.h"
#include "setup/ClPortList.h"
#include "setup/SavedPortChoice.h"
#include "setup/SelectTemplate.h"
#include "widgets/DialogUnits.h"
#include "widgets/WindowBuilder.h"

namespace {

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
    openRequested = context_.port->portOpen != 0 ? 1 : 0;
    OnInitDialog();
}

CSelect::~CSelect() = default;

QWidget* CSelect::control(int id) const {
    return controls_.widget(id);
}

void CSelect::createControls() {
    zr::widgets::WindowBuilder(this, zr::widgets::DialogUnits(font())).build(zr::selectTemplate());
    controls_.addTemplate(this);

    portGroup_ = new QButtonGroup(this);
    baudGroup_ = new QButtonGroup(this);
    openCloseGroup_ = new QButtonGroup(this);
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
    const int saved = zr::SavedPortChoice::load();

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

    zr::ClPortList found = zr::ClPortList::query();
    clPortCount = found.count;
    portInfo = std::move(found.ports);

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
        if (radioChoice != ChoiceNone) zr::SavedPortChoice::save(radioChoice);
    }
    accept();
}

void CSelect::OnCancel() {
    reject();
}
