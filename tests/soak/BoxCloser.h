#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
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
    // Message box texts ("caption: text") since the last call.
    std::vector<std::string> takeTexts();
    int shownSinceTake() const { return static_cast<int>(texts_.size()); }

  private:
    void poll();
    void answer(QWidget* window);

    QTimer poller_;
    QElapsedTimer clock_;
    std::mt19937 random_;
    QPointer<QWidget> target_;
    qint64 due_ = 0;
    std::vector<std::string> texts_;
};

}  // namespace zr::test
