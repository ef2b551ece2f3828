#include "widgets/IdleLinkPoll.h"

#include <QTimerEvent>

#include "widgets/ToolWindow.h"

namespace zr::widgets {

IdleLinkPoll::IdleLinkPoll(const ToolWindow& window, int periodMs, std::function<void()> poll,
                           std::function<void()> onClosed)
    : window_(window),
      periodMs_(periodMs),
      poll_(std::move(poll)),
      onClosed_(std::move(onClosed)) {}

void IdleLinkPoll::tick() {
    timer_.stop();
    if (!window_.context.complete()) return;
    switch (window_.linkState()) {
        case ToolWindow::LinkState::Closed:
            running_ = false;
            onClosed_();
            return;
        case ToolWindow::LinkState::Busy:
            start();
            return;
        case ToolWindow::LinkState::Idle:
            break;
    }
    poll_();
}

void IdleLinkPoll::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId()) {
        tick();
        return;
    }
    QObject::timerEvent(event);
}

}  // namespace zr::widgets
