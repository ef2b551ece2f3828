#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

class QWidget;

namespace zr::test {

// The operator's hand on every window that waits for an answer: message
// boxes, the setup dialog, the About box, a scroll bar's context menu. Each
// is answered after a short random delay, so tool-window timers fire inside
// its event loop as they would with a person reading it. Polls with a timer of
// its own, which runs inside every nested loop too.
class BoxCloser : public QObject {
    Q_OBJECT
  public:
    explicit BoxCloser(uint32_t seed);

    void start();
    void stop();
    // Quick: answers within a few milliseconds.
    void setQuick(bool quick) { quick_ = quick; }
    // Message box texts ("caption: text") since the last call.
    std::vector<std::string> takeTexts();
    // Called with each message box's text when it comes up.
    void setOnBox(std::function<void(const std::string& text)> onBox) { onBox_ = std::move(onBox); }

  private:
    void poll();
    void answer(QWidget* window);

    QTimer poller_;
    QElapsedTimer clock_;
    std::mt19937 random_;
    QPointer<QWidget> target_;
    // Boxes already counted: one that comes to the top again after a box
    // shown inside its event loop has closed is the same box, not a new one.
    std::vector<QPointer<QWidget>> counted_;
    qint64 due_ = 0;
    bool quick_ = false;
    std::vector<std::string> texts_;
    std::function<void(const std::string&)> onBox_;
};

}  // namespace zr::test
