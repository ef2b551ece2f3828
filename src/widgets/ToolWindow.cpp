#include "widgets/ToolWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "link/MessageRelay.h"
#include "widgets/QtMessageSink.h"

namespace zr::widgets {

ToolWindow::ToolWindow(EnterKey enterKey, QWidget* parent) : QDialog(parent), enterKey_(enterKey) {}

bool ToolWindow::CreateModeless(const ToolContext& toolContext) {
    if (!acceptsContext(toolContext)) return false;
    context = toolContext;
    setModal(false);
    setUpWindow();
    return true;
}

MsgResult ToolWindow::showBox(const std::string& text, const std::string& caption, MsgIcon icon,
                              MsgOwner owner) {
    Message message;
    message.text = text;
    message.caption = caption;
    message.icon = icon;
    message.buttons = MsgButtons::Ok;
    message.owner = owner;
    if (context.complete()) return context.messages->show(message);
    return QtMessageSink().show(message);
}

std::string ToolWindow::applicationCaption() {
    return QCoreApplication::applicationName().toStdString();
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
    // A push button with the focus takes Enter itself; this is Enter
    // anywhere else in the window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const auto mods = event->modifiers() & ~Qt::KeypadModifier;
    if (enterKey_ == EnterKey::Hides && enter && mods == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zr::widgets
