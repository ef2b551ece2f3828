#pragma once

#include <QBasicTimer>
#include <QObject>
#include <functional>

class QTimerEvent;

namespace zr::widgets {

class ToolWindow;

// A tool window's timed poll of the camera that uses the link only while it
// is idle. Each tick stops the timer. Before the window has a context the
// tick does nothing more. With the link closed the poll ends quietly
// (`onClosed`): no poll can succeed on a closed port, and asking on would put
// up the link's refusal on every tick. With the link busy the timer starts
// again and the next tick polls instead. With it idle `poll` runs and starts
// the timer again itself if the poll goes on.
//
// `running()` stays true from `start` until `stop` or a closed link, across
// the ticks: the timer is idle while `poll` runs, so it alone cannot tell
// whether the poll was stopped meanwhile (a link message's event loop lets
// the window close).
class IdleLinkPoll : public QObject {
  public:
    IdleLinkPoll(const ToolWindow& window, int periodMs, std::function<void()> poll,
                 std::function<void()> onClosed);

    void start() { start(periodMs_); }
    void start(int firstMs) {
        running_ = true;
        timer_.start(firstMs, this);
    }
    void stop() {
        running_ = false;
        timer_.stop();
    }
    bool isActive() const { return timer_.isActive(); }
    bool running() const { return running_; }

    // One tick, as the timer gives it.
    void tick();

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    const ToolWindow& window_;
    int periodMs_;
    std::function<void()> poll_;
    std::function<void()> onClosed_;
    QBasicTimer timer_;
    bool running_ = false;
};

}  // namespace zr::widgets
