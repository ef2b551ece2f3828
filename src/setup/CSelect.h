#pragma once

#include <QDialog>
#include <QString>

#include "setup/SelectData.h"
#include "setup/SetupContext.h"
#include "widgets/ControlMap.h"

class QButtonGroup;

// "Select Communication System": shows the user's choice of transport (a COM
// port, a frame grabber maker's Camera Link serial library, or the Camera Link
// common library), baud rate and OPEN or CLOSE, and keeps its data in step
// with the controls. The dialog itself opens nothing; the Serial Port command
// reads its fields after OK.
class CSelect : public QDialog, public zr::SelectData {
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
    };

    explicit CSelect(const zr::SetupContext& context);
    ~CSelect() override;

    // The widget of a control id, nullptr for an unknown id.
    QWidget* control(int id) const;

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
