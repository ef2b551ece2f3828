#pragma once

#include "link/MessageRelay.h"
#include "link/SerialLink.h"
#include "link/TraceQueue.h"
#include "panel/ClosedPanelSink.h"
#include "params/BulkOperations.h"
#include "params/ParamAccess.h"
#include "widgets/QtMessageSink.h"

class QWidget;

namespace zr::panel {

// The one session that the panel and every window it opens share: the
// message boxes, the link with its trace, the parameter table and the
// operations on it. Built in the order each needs the one before; gone in
// the reverse order, the link (and its worker) before what it reports to.
class PanelServices {
  public:
    // `panel` owns the range check's boxes; worker messages are shown from
    // its thread when the user interface is idle.
    explicit PanelServices(QWidget* panel);
    PanelServices(const PanelServices&) = delete;
    PanelServices& operator=(const PanelServices&) = delete;

    // From here on no box comes up: what the tool windows' teardown and the
    // link's close (a worker's time-out, say) still report is answered
    // unseen (OK, No).
    void closeConversation() { relay.setSink(closedSink); }

    QtMessageSink sink;
    ClosedPanelSink closedSink;  // outlives the link: its close may still answer
    MessageRelay relay;
    TraceQueue traceQueue;  // outlives the link's worker
    SerialLink link;
    ParamAccess params;
    BulkOperations bulk;
};

}  // namespace zr::panel
