#include "widgets/ScrollInputFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>

namespace zr::widgets {

ScrollInputFilter::ScrollInputFilter(QScrollBar* bar, std::function<void(int)> thumbPosition)
    : QObject(bar), bar_(bar), thumbPosition_(std::move(thumbPosition)) {
    bar->installEventFilter(this);
    connect(bar, &QAbstractSlider::actionTriggered, this, [this] {
        if (inMenu_) actionSeen_ = true;
    });
}

bool ScrollInputFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != bar_) return false;
    if (event->type() == QEvent::ContextMenu) return contextMenu(event);
    if (event->type() == QEvent::KeyPress && bar_->orientation() == Qt::Horizontal) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        const bool rightToLeft = bar_->isRightToLeft();
        if (key->key() == Qt::Key_Right || key->key() == Qt::Key_Left) {
            const bool add = (key->key() == Qt::Key_Right) != rightToLeft;
            bar_->triggerAction(add ? QAbstractSlider::SliderSingleStepAdd
                                    : QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    return false;
}

bool ScrollInputFilter::contextMenu(QEvent* event) {
    if (inMenu_) return false;
    const int shown = bar_->value();
    const QPointer<ScrollInputFilter> self(this);
    inMenu_ = true;
    actionSeen_ = false;
    // The toolkit's own menu, run here so that its outcome can be looked at.
    static_cast<QObject*>(bar_)->event(event);
    if (!self) return true;
    inMenu_ = false;
    const int chosen = bar_->value();
    if (!actionSeen_ && chosen != shown) {
        // Only a write the camera accepted may move the thumb.
        bar_->setValue(shown);
        thumbPosition_(chosen);
    }
    return true;
}

}  // namespace zr::widgets
