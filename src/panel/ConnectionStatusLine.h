#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>

#include "setup/PortState.h"

namespace zr {
class SerialLink;
}

namespace zr::panel {

// The line at the bottom of the panel that says what the panel talks to, and
// that the camera has stopped answering, from a time-out box until the next
// acknowledged exchange; for a few seconds after a command, what the command
// did. It looks at the link by a poll of two atomics, so the worker pays
// nothing for it, and listens to the panel's port state.
class ConnectionStatusLine : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kPollMs = 250;
    static constexpr int kNoteMs = 6000;

    // Shows what `port` says the Serial Port command opened, whenever it changes.
    ConnectionStatusLine(const zr::SerialLink& link, zr::PortState& port, QWidget* parent);

    // Says what a command did ("Saved 53 settings to FILE"), in place of the
    // connection for a few seconds.
    void showNote(const QString& note);
    // Brings the text up to date with the link now (the poll calls it).
    void refresh();

  private:
    void endNote();

    const zr::SerialLink& link_;
    const zr::PortState& port_;
    zr::ChangeNotice::Listening listening_;
    QString note_;
    QTimer poll_;
    QTimer noteEnd_;
};

}  // namespace zr::panel
