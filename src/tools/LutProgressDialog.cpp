#include "tools/LutProgressDialog.h"

#include <QApplication>
#include <QStringList>
#include <algorithm>

namespace {

const char* const kChannelNames[] = {"Red", "Green", "Blue"};

}  // namespace

LutProgressDialog::LutProgressDialog(Direction direction, int channelEntries, int delayMs,
                                     QWidget* parent)
    : QProgressDialog(parent), direction_(direction), channelEntries_(std::max(1, channelEntries)) {
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

QString LutProgressDialog::labelFor(int done, int total, int channel) const {
    const QString channelName =
        channel >= 0 && channel < 3 ? QString::fromLatin1(kChannelNames[channel]) : QString();
    // A walk takes its channels one after the other, each whole.
    const int inChannel = done > 0 ? (done - 1) % channelEntries_ + 1 : 0;
    return QStringLiteral("%1 entry %2 of %3 (%4 of %5)")
        .arg(channelName)
        .arg(inChannel)
        .arg(channelEntries_)
        .arg(done)
        .arg(total);
}

QString LutProgressDialog::cancelledText(int done, int total) const {
    if (direction_ == Direction::Write)
        return QStringLiteral("LUT write cancelled: %1 of %2 entries were written.")
            .arg(done)
            .arg(total);
    // The plot mixes read entries with those it held before: say which are which.
    QStringList ranges;
    int left = done;
    for (int channel = 0; channel < 3 && left > 0; ++channel) {
        const int n = std::min(left, channelEntries_);
        left -= n;
        ranges << (n == 1 ? QStringLiteral("%1 0").arg(QLatin1String(kChannelNames[channel]))
                          : QStringLiteral("%1 0 to %2")
                                .arg(QLatin1String(kChannelNames[channel]))
                                .arg(n - 1));
    }
    QString text =
        QStringLiteral("LUT read cancelled: %1 of %2 entries were read").arg(done).arg(total);
    if (!ranges.isEmpty())
        text += QStringLiteral(" (%1); the others are as before")
                    .arg(ranges.join(QStringLiteral(", ")));
    return text + QLatin1Char('.');
}

bool LutProgressDialog::advance(int done, int total, int channel) {
    if (maximum() != total) setRange(0, total);
    setLabelText(labelFor(done, total, channel));
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
