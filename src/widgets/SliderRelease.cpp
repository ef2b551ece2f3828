#include "widgets/SliderRelease.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <vector>

namespace zr::widgets {

namespace {
bool g_releasing = false;
}

void releaseHeldSliders() {
    if (g_releasing) return;
    g_releasing = true;
    std::vector<QPointer<QAbstractSlider>> sliders;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) sliders.emplace_back(slider);
    }
    for (const QPointer<QAbstractSlider>& slider : sliders) {
        if (!slider) continue;
        // A slider that holds no press ignores a release. Handed to the widget
        // itself, so that it neither waits for modality nor reaches a parent.
        const QPointF inside = QRectF(slider->rect()).center();
        QMouseEvent release(QEvent::MouseButtonRelease, inside, slider->mapToGlobal(inside),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        static_cast<QObject*>(slider.data())->event(&release);
    }
    g_releasing = false;
}

namespace {
// Reaches the slider's own repeat, which is not public.
struct RepeatAccess : QAbstractSlider {
    static void stop(QAbstractSlider* slider) {
        (slider->*(&RepeatAccess::setRepeatAction))(QAbstractSlider::SliderNoAction, 500, 50);
    }
};
}  // namespace

void stopRepeatsAfterBox() {
    QMetaObject::invokeMethod(
        qApp,
        [] {
            // The box took the release: no button holds a slider now.
            for (QWidget* widget : QApplication::allWidgets()) {
                if (auto* slider = qobject_cast<QAbstractSlider*>(widget))
                    RepeatAccess::stop(slider);
            }
        },
        Qt::QueuedConnection);
}

bool releasingHeldSliders() {
    return g_releasing;
}

}  // namespace zr::widgets
