#pragma once

#include <QObject>
#include <functional>

class QScrollBar;

namespace zr::widgets {

// Puts right two kinds of input that a horizontal scroll bar of the toolkit
// handles past the program's notifications or the wrong way round:
// - its context menu's "Scroll here" sets the position directly; the filter
//   puts the thumb back and hands the chosen position on as the thumb position
//   request it stands for (the menu's other items arrive as ordinary actions);
// - the Left and Right keys step the other way (the toolkit inverts them for
//   every scroll bar); here Right is a line right and Left a line left.
class ScrollInputFilter : public QObject {
  public:
    // Installs itself on `bar` and lives as long as the bar does.
    ScrollInputFilter(QScrollBar* bar, std::function<void(int position)> thumbPosition);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool contextMenu(QEvent* event);

    QScrollBar* bar_;
    std::function<void(int)> thumbPosition_;
    bool inMenu_ = false;
    bool actionSeen_ = false;
};

}  // namespace zr::widgets
