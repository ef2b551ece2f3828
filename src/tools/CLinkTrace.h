#pragma once

#include <QBasicTimer>
#include <QString>
#include <deque>
#include <functional>

#include "params/TraceDecoder.h"
#include "widgets/ToolWindow.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimerEvent;

namespace zr {
class TraceQueue;
}

// The link trace window: one line per event on the line, newest at the
// bottom, taken from the link's trace queue while the window is shown. It
// keeps the last kMaxLines lines; pausing freezes the view while lines are
// still kept; the lines can be cleared and saved as CSV.
class CLinkTrace : public zr::widgets::ToolWindow {
    Q_OBJECT
  public:
    static constexpr size_t kMaxLines = zr::kTraceLinesKept;
    static constexpr int kPollMs = 50;

    explicit CLinkTrace(zr::TraceQueue& queue, QWidget* parent = nullptr);
    ~CLinkTrace() override;

    // Takes what the queue holds now into lines; the window's timer calls it.
    void poll();
    void setPaused(bool paused);
    bool paused() const { return paused_; }
    void clear();
    // Asks for a file and saves the lines into it.
    void OnSave();
    // Writes the lines as CSV; false, with the file error shown, on failure.
    bool saveCsv(const QString& path);
    // Replaces the save dialog (tests): returns the chosen path, empty for none.
    void setChooser(std::function<QString()> chooser) { chooser_ = std::move(chooser); }

    const std::deque<zr::TraceLine>& lines() const { return lines_; }
    QString viewText() const;

    static QString lineText(const zr::TraceLine& line);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    void buildControls();
    // Wide enough that the meaning of the longest lines is whole.
    int defaultWidth() const;
    void append(std::vector<zr::TraceLine>& fresh);
    void showCount();
    void noteUserScroll();
    void scrollToEnd();

    zr::TraceQueue& queue_;
    zr::TraceDecoder decoder_;
    std::deque<zr::TraceLine> lines_;
    bool paused_ = false;
    // The view stays on the newest line until the user scrolls away from the
    // end, and again once they come back to it.
    bool following_ = true;
    int placedAt_ = 0;  // where the window last put the view
    bool appending_ = false;
    QBasicTimer pollTimer_;
    std::function<QString()> chooser_;
    QPlainTextEdit* view_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QLabel* countLabel_ = nullptr;
};
