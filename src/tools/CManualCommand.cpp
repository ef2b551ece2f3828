#include "tools/CManualCommand.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <string>

#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "params/ParamAccess.h"
#include "tools/ManualCommandForm.h"
#include "ui_CManualCommand.h"
#include "widgets/DialogUnits.h"

namespace {

// The text as the link takes it. UTF-8: the link counts a character of
// several bytes as one bad character, so the user sees one "Character
// error." for each such character typed, and nothing that is not a command
// character can slip through as one.
std::string linkText(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace

CManualCommand::CManualCommand(QWidget* parent) : ToolWindow(EnterKey::Hides, parent) {
    buildControls();
}

void CManualCommand::buildControls() {
    Ui::ManualCommandTemplate ui;
    setUpFromTemplate(ui);
    // The label lines up with the field by its runs of blanks.
    ui.fieldLabel->setTextFormat(Qt::PlainText);

    connect(ui.writeButton, &QPushButton::clicked, this, [this] { OnWrite(); });
    connect(ui.readButton, &QPushButton::clicked, this, [this] { OnRead(); });
    connect(ui.closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString CManualCommand::commandText() const {
    return static_cast<QLineEdit*>(control(IDC_COMMAND))->text();
}

QString CManualCommand::answerText() const {
    return static_cast<QLineEdit*>(control(IDC_ANSWER))->text();
}

void CManualCommand::OnWrite() {
    if (!context.complete()) return;
    // The link upper-cases, checks, cuts and pads the text and reports a
    // refusal itself; nothing is shown here.
    context.link->SendCommand(linkText(commandText()));
}

void CManualCommand::OnRead() {
    if (!context.complete()) return;
    const std::string form = zr::tools::readFormOf(linkText(commandText()));
    const QPointer<CManualCommand> self(this);
    zr::AnswerBytes answer{};
    const int32_t result = context.params->ReadRegister(form, answer);
    if (!self) return;
    // A failed read shows no bytes at all: the field never keeps an earlier
    // answer that could be taken for this one. The link has said why.
    auto* field = static_cast<QLineEdit*>(control(IDC_ANSWER));
    field->setText(result == 1 ? QString::fromStdString(zr::tools::answerText(answer)) : QString());
}
