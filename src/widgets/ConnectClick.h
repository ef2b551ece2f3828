#pragma once

#include <QAbstractButton>
#include <QObject>

namespace zr::widgets {

// Calls a window's handler without arguments on each click of `button`. Only
// clicks count, never a check state set by the program. The connection ends
// with the window.
template <class Window, class Handler>
void connectClick(QAbstractButton* button, Window* window, Handler handler) {
    QObject::connect(button, &QAbstractButton::clicked, window,
                     [window, handler] { (window->*handler)(); });
}

}  // namespace zr::widgets
