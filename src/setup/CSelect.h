#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class QButtonGroup;
#include "setup/SetupContext.h"
#include "widgets/ControlMap.h"

// "Select Communication System": the user picks the transport (a COM port, a
// frame grabber maker's Camera Link serial library, or the Camera Link common
// library), the baud rate and OPEN or CLOSE. The dialog itself opens nothing;
// the Serial Port command reads its fields after OK.
class CSelect : public QDialog {
    Q_OBJECT
  public:
    // Control ids of dialog template 132; the handlers and the enabling sets
    // work on these.
    enum ControlId : int {
        IdOk = 1,
        IdOpen = 1022,
        IdClose = 1023,
        IdEuresys = 1106,
        IdMatrox = 1107,
        IdOtherFactory = 1108,
        IdDllPath = 1109,
        IdClAll = 1110,
        IdCancel = 1112,
        IdDllText = 1113,
        IdCom1 = 1119,
        IdCom10 = 1128,
        IdCom11Up = 1129,
        IdBaudGroup = 1130,
        IdBaud9600 = 1132,
        IdBaud19200 = 1133,
        IdBaud38400 = 1134,
        IdBaud115200 = 1135,
        IdClPortList = 1268,
        IdManufacturer = 1269,
        IdComList = 1270,
        IdBrowse = 2110,
        IdStatic = -1,  // controls without an id of their own
    };

    // radioChoice values of the buttons after the COM ports.
    enum : int {
        ChoiceNone = -1,
        ChoiceCom11Up = 10,
        ChoiceEuresys = 11,
        ChoiceMatrox = 12,
        ChoiceOtherFactory = 13,
        ChoiceClAll = 14,
    };

    enum : int { KindNone = -1, KindComPort = 0, KindBoardLibrary = 1, KindClAll = 2 };

    // The table of Camera Link ports holds this many; further ports are not listed.
    static constexpr uint32_t kMaxClPorts = 10;

    struct PortInfo {
        QString manufacturer;
        QString portId;
        uint32_t version = 0;
    };

    explicit CSelect(const zr::SetupContext& context);
    ~CSelect() override;

    // The widget of a control id, nullptr for an unknown id.
    QWidget* control(int id) const;

    // The persisted choice: -1 when absent or not a value OK can write.
    static int loadSavedChoice();
    static void saveChoice(int choice);

    // Fields the Serial Port command reads after OK.
    uint8_t openRequested = 0;
    uint8_t browseBusy = 0;
    int TransportKind = KindNone;
    int radioChoice = ChoiceNone;
    int comNumber = 0;
    int baudIndex = 0;
    int openCloseIndex = 0;
    int baudRate = 0;
    QString dllPath;
    uint32_t clPortCount = 0;
    QString manufacturerText;
    std::vector<PortInfo> portInfo;

    // Handlers, public so a test can call what a click would call.
    void OnComButton(int id);
    void OnMakerButton();
    void OnOtherFactory();
    void OnClAll();
    void OnClPortSelChange(int index);
    void OnBrowse();
    void OnOK();
    void OnCancel();

  private:
    void createControls();
    void OnInitDialog();
    void fillComList();
    void listClPorts();
    void showFields();
    void readControls();
    void setManufacturer(const QString& text);

    zr::SetupContext context_;
    zr::widgets::ControlMap controls_;
    QButtonGroup* portGroup_ = nullptr;
    QButtonGroup* baudGroup_ = nullptr;
    QButtonGroup* openCloseGroup_ = nullptr;
};
