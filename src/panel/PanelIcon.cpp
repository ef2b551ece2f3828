#include "panel/PanelIcon.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>

namespace zr::panel {

namespace {

QIcon drawnIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 60, 70));
    painter.drawRoundedRect(QRectF(2, 7, 28, 20), 3, 3);
    painter.setBrush(QColor(20, 20, 25));
    painter.drawEllipse(QPointF(16, 17), 8, 8);
    // One disc per sensor of the three-sensor camera.
    const QColor sensors[] = {QColor(220, 60, 60), QColor(60, 190, 80), QColor(70, 110, 230)};
    const QPointF centres[] = {QPointF(13.5, 15), QPointF(18.5, 15), QPointF(16, 19.5)};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(sensors[i]);
        painter.drawEllipse(centres[i], 2.6, 2.6);
    }
    return QIcon(pixmap);
}

}  // namespace

QIcon panelIcon() {
    QIcon icon(QStringLiteral(":/icons/zr_k880tm_control.png"));
    if (!icon.availableSizes().isEmpty()) return icon;
    icon = QApplication::windowIcon();
    if (!icon.isNull() && !icon.availableSizes().isEmpty()) return icon;
    return drawnIcon();
}

}  // namespace zr::panel
