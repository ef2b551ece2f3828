#include "panel/PanelServices.h"

#include <QWidget>

#include "panel/PanelClock.h"

namespace zr::panel {

PanelServices::PanelServices(QWidget* panel)
    : relay(sink),
      link(relay, linkClock()),
      params(link, static_cast<const QWidget*>(panel)),
      bulk(params) {
    // Installed once, before any port opens; costs a load while nobody listens.
    link.setTrace([this](const TraceEvent& e) { traceQueue.push(e); });
    // Every wait inside the link serves worker messages too.
    relay.setWakeup([this, panel] {
        QMetaObject::invokeMethod(
            panel, [this] { relay.servePending(); }, Qt::QueuedConnection);
    });
}

}  // namespace zr::panel
