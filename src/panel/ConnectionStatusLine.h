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
// acknowledged exchange. It only looks at the link (a poll of two atomics), so
// the worker pays nothing for it.
class ConnectionStatusLine : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kPollMs = 250;

    ConnectionStatusLine(const zr::SerialLink& link, QWidget* parent);

    // What the Serial Port command opened; empty when it closed the link.
    void setConnection(const QString& where);
    // Brings the text up to date with the link now (the poll calls it).
    void refresh();

  private:
    const zr::SerialLink& link_;
    QString where_;
    QTimer poll_;
};

}  // namespace zr::panel
