#include "widgets/QtMessageSink.h"

#include <QMessageBox>

#include "widgets/SliderRelease.h"

namespace zr {

MsgResult QtMessageSink::show(const Message& m) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (m.icon) {
        case MsgIcon::None:
            icon = QMessageBox::NoIcon;
            break;
        case MsgIcon::Error:
            icon = QMessageBox::Critical;
            break;
        case MsgIcon::Warning:
        case MsgIcon::Exclamation:
            icon = QMessageBox::Warning;
            break;
        case MsgIcon::Question:
            icon = QMessageBox::Question;
            break;
        case MsgIcon::Information:
            icon = QMessageBox::Information;
            break;
    }
    auto* owner = static_cast<QWidget*>(const_cast<void*>(m.owner));
    QMessageBox box(
        icon, QString::fromStdString(m.caption), QString::fromStdString(m.text),
        m.buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        owner);
    box.setWindowModality(Qt::ApplicationModal);
    if (m.systemModal) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // The box takes the mouse release: whatever control the button holds
    // would otherwise repeat its action, and its refusal, inside the box.
    widgets::releaseHeldSliders();
    const int answer = box.exec();
    widgets::stopRepeatsAfterBox();
    switch (answer) {
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Ok:
            return MsgResult::Ok;
        default:
            return MsgResult::Cancel;
    }
}

}  // namespace zr
