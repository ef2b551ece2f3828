#include "widgets/ToolWindow.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "link/MessageRelay.h"
#include "link/SerialLink.h"
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
    const Message message{
        .text = text, .caption = caption, .icon = icon, .buttons = MsgButtons::Ok, .owner = owner};
    if (context.complete()) return context.messages->show(message);
    return QtMessageSink().show(message);
}

ToolWindow::LinkState ToolWindow::linkState() const {
    if (!context.link->isOpen()) return LinkState::Closed;
    // A tick can come from the event loop of a box that the link put up during
    // an exchange; a read now would wait for an exchange that cannot end
    // before that box is closed.
    if (context.link->inExchange() || context.messages->servingWorkerMessage() ||
        LongWalk::running()) {
        return LinkState::Busy;
    }
    return LinkState::Idle;
}

bool ToolWindow::walkRunning() {
    return LongWalk::running();
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
