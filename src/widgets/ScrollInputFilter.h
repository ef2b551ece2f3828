#pragma once

#include <QObject>
#include <functional>
#include <optional>

class QScrollBar;

namespace zr::widgets {

// Hands every request the user makes on a horizontal scroll bar to one
// handler, as a scroll code (ScrollCode) and the thumb's position for the
// thumb requests. The toolkit moves the thumb before it reports an action;
// the filter puts it back, so that only the handler moves it. It also puts
// right two kinds of input that the toolkit handles past the program's
// notifications or the wrong way round:
// - the context menu's "Scroll here" sets the position directly; the filter
//   puts the thumb back and hands the chosen position on as the thumb position
//   request it stands for (the menu's other items arrive as ordinary actions);
// - the Left and Right keys step the other way (the toolkit inverts them for
//   every scroll bar); here Right is a line right and Left a line left.
class ScrollInputFilter : public QObject {
  public:
    using Handler = std::function<void(int code, int position)>;

    // Installs itself on `bar`, gives it the steps and the focus policy of
    // the program's scroll bars and lives as long as the bar does.
    ScrollInputFilter(QScrollBar* bar, Handler handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onAction(int action);
    void onReleased();
    bool contextMenu(QEvent* event);

    QScrollBar* bar_;
    Handler handler_;
    std::optional<int> dragPosition_;  // where a held thumb was dragged to
    bool inMenu_ = false;
    bool actionSeen_ = false;
};

}  // namespace zr::widgets
