#include "panel/CAboutDlg.h"

#include <QLabel>
#include <QPushButton>

#include "panel/PanelIcon.h"
#include "ui_CAboutDlg.h"
#include "widgets/DialogUnits.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    // The template's font is 9 point; its dialog units follow that font.
    const QFont dialogFont = zr::widgets::templateFont(9);
    setFont(dialogFont);

    Ui::AboutTemplate ui;
    ui.setupUi(this);
    zr::widgets::DialogUnits(dialogFont).applyToTemplate(this);
    ui.icon->setPixmap(zr::panel::panelIcon().pixmap(64, 64));
    connect(ui.okButton, &QPushButton::clicked, this, &QDialog::accept);
    setModal(true);
}
