#include "widgets/ScrollInputFilter.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>

#include "widgets/ScrollRequest.h"
#include "widgets/SliderRelease.h"

namespace zr::widgets {

ScrollInputFilter::ScrollInputFilter(QScrollBar* bar, Handler handler)
    : QObject(bar), bar_(bar), handler_(std::move(handler)) {
    bar->setSingleStep(1);
    bar->setPageStep(10);
    // A click gives the bar the focus, so the keys act on what was touched.
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->installEventFilter(this);
    connect(bar, &QAbstractSlider::actionTriggered, this, &ScrollInputFilter::onAction);
    connect(bar, &QAbstractSlider::sliderReleased, this, &ScrollInputFilter::onReleased);
}

void ScrollInputFilter::onAction(int action) {
    if (inMenu_) actionSeen_ = true;
    const int position = bar_->sliderPosition();
    if (action == QAbstractSlider::SliderMove && bar_->isSliderDown()) dragPosition_ = position;
    // The handler decides the position: the thumb goes back first and only
    // an accepted write moves it.
    bar_->setSliderPosition(bar_->value());
    handler_(scrollCodeForSliderAction(action), position);
}

void ScrollInputFilter::onReleased() {
    // Letting the thumb go reports where it was let go, even when the writes
    // of the drag were refused and the thumb went back, then the end of the
    // scroll.
    const int position = dragPosition_.value_or(bar_->sliderPosition());
    dragPosition_.reset();
    // A thumb dropped because a message came up was not let go there.
    if (releasingHeldSliders()) return;
    const Handler handler = handler_;  // the first call may close the window
    handler(SB_THUMBPOSITION, position);
    handler(SB_ENDSCROLL, 0);
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
        handler_(SB_THUMBPOSITION, chosen);
    }
    return true;
}

}  // namespace zr::widgets
