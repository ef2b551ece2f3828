#include "panel/ConnectionStatusLine.h"

#include "link/SerialLink.h"

namespace zr::panel {

ConnectionStatusLine::ConnectionStatusLine(const zr::SerialLink& link, zr::PortState& port,
                                           QWidget* parent)
    : QLabel(parent),
      link_(link),
      port_(port),
      listening_(port.changes.listen([this] { refresh(); })) {
    setObjectName(QStringLiteral("connectionStatus"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setContentsMargins(4, 1, 4, 1);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long library path must not widen the panel: the line is cut at the
    // window's edge and the tool tip holds the whole text.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(&poll_, &QTimer::timeout, this, &ConnectionStatusLine::refresh);
    poll_.start(kPollMs);
    noteEnd_.setSingleShot(true);
    connect(&noteEnd_, &QTimer::timeout, this, &ConnectionStatusLine::endNote);
    refresh();
}

void ConnectionStatusLine::showNote(const QString& note) {
    note_ = note;
    noteEnd_.start(kNoteMs);
    refresh();
}

void ConnectionStatusLine::endNote() {
    note_.clear();
    refresh();
}

void ConnectionStatusLine::refresh() {
    // The note shows until its few seconds are over.
    QString shown = note_;
    if (shown.isEmpty()) {
        // A link closed by other means (the port went away) is no longer "open".
        if (!link_.isOpen()) {
            shown = QStringLiteral("No port open");
        } else {
            shown = port_.connection.isEmpty() ? QStringLiteral("Port open") : port_.connection;
            if (link_.silentSinceLastAck()) shown += QStringLiteral(" - no answer from the camera");
        }
    }
    if (shown == text()) return;
    setText(shown);
    setToolTip(shown);
}

}  // namespace zr::panel
