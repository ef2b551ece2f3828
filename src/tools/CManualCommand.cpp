#include "tools/CManualCommand.h"

#include <QApplication>
#include <QKeyEvent>
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

CManualCommand::CManualCommand(QWidget* parent) : QDialog(parent) {
    buildControls();
}

void CManualCommand::buildControls() {
    QFont dialogFont = QApplication::font();
    dialogFont.setPointSize(zr::widgets::kDialogFontPoints);
    setFont(dialogFont);

    Ui::ManualCommandTemplate ui;
    ui.setupUi(this);
    controls_.addTemplate(this);
    zr::widgets::DialogUnits(dialogFont).applyToTemplate(this);
    // The label lines up with the field by its runs of blanks.
    ui.fieldLabel->setTextFormat(Qt::PlainText);

    connect(ui.writeButton, &QPushButton::clicked, this, [this] { OnWrite(); });
    connect(ui.readButton, &QPushButton::clicked, this, [this] { OnRead(); });
    connect(ui.closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* CManualCommand::control(int id) const {
    return controls_.widget(id);
}

bool CManualCommand::CreateModeless(const zr::widgets::ToolContext& toolContext) {
    if (!toolContext.complete()) return false;
    context = toolContext;
    setModal(false);
    return true;
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

void CManualCommand::keyPressEvent(QKeyEvent* event) {
    // Enter away from a push button hides the window, as Escape and CLOSE
    // do; Enter in the input field sends nothing.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && mods == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
