#include "tools/LutProgressDialog.h"

#include <QApplication>

namespace {

const char* const kChannelNames[] = {"Red", "Green", "Blue"};

}  // namespace

LutProgressDialog::LutProgressDialog(Direction direction, int delayMs, QWidget* parent)
    : QProgressDialog(parent), direction_(direction) {
    setWindowTitle(direction == Direction::Read ? QStringLiteral("READ LUT")
                                                : QStringLiteral("WRITE LUT"));
    setWindowModality(Qt::ApplicationModal);
    setCancelButtonText(QStringLiteral("Cancel"));
    setAutoClose(true);
    setAutoReset(false);  // a cancel on the last entry must still read as one
    setMinimumDuration(delayMs);
    // No timer of its own: shown from a timer, it could come up over a box
    // of the link's, which runs its own event loop in the middle of an
    // exchange, and block it. advance() shows it, between exchanges.
    reset();
}

QString LutProgressDialog::labelFor(Direction direction, int done, int total, int channel) {
    const QString channelName =
        channel >= 0 && channel < 3 ? QString::fromLatin1(kChannelNames[channel]) : QString();
    return QStringLiteral("%1 %2: entry %3 of %4")
        .arg(direction == Direction::Read ? QStringLiteral("Reading") : QStringLiteral("Writing"))
        .arg(channelName)
        .arg(done)
        .arg(total);
}

QString LutProgressDialog::cancelledText(Direction direction, int done, int total) {
    return direction == Direction::Read
               ? QStringLiteral("LUT read cancelled: %1 of %2 entries were read.")
                     .arg(done)
                     .arg(total)
               : QStringLiteral("LUT write cancelled: %1 of %2 entries were written.")
                     .arg(done)
                     .arg(total);
}

bool LutProgressDialog::advance(int done, int total, int channel) {
    if (maximum() != total) setRange(0, total);
    setLabelText(labelFor(direction_, done, total, channel));
    setValue(done);
    emit advanced(done, total);
    // Until the dialog is up and modal, the operator's input waits: a click
    // elsewhere must not reach the link in the middle of the walk.
    QApplication::processEvents(isVisible() ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
    return !wasCanceled();
}

void LutProgressDialog::showEvent(QShowEvent* event) {
    // The busy arrow rather than the hourglass: Cancel can be clicked.
    if (QApplication::overrideCursor()) QApplication::changeOverrideCursor(Qt::BusyCursor);
    QProgressDialog::showEvent(event);
}
