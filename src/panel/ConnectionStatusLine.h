#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>

namespace zr {
class SerialLink;
}

namespace zr::panel {

// The line at the bottom of the panel that says what the panel talks to, and
// that the camera has stopped answering, from a time-out box until the next
// acknowledged exchange; for a few seconds after a command, what the command
// did. It only looks at the link (a poll of two atomics), so
// the worker pays nothing for it.
class ConnectionStatusLine : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kPollMs = 250;
    static constexpr int kNoteMs = 6000;

    ConnectionStatusLine(const zr::SerialLink& link, QWidget* parent);

    // What the Serial Port command opened; empty when it closed the link.
    void setConnection(const QString& where);
    // Says what a command did ("Saved 53 settings to FILE"), in place of the
    // connection for a few seconds.
    void showNote(const QString& note);
    // Brings the text up to date with the link now (the poll calls it).
    void refresh();

  private:
    void endNote();

    const zr::SerialLink& link_;
    QString where_;
    QString note_;
    QTimer poll_;
    QTimer noteEnd_;
};

}  // namespace zr::panel
