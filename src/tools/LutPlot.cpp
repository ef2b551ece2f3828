#include "tools/LutPlot.h"

#include <QFont>
#include <QPainter>

namespace {

const QColor kChannelColours[3] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};

// An ellipse inside the box from (left, top) up to but not including
// (right, bottom), outlined with the current pen and filled with the brush.
void boxEllipse(QPainter& p, int left, int top, int right, int bottom) {
    const int w = right - left - 1;
    const int h = bottom - top - 1;
    if (w <= 0 || h <= 0) {
        // Too thin to be round: every pixel of the box in the pen's colour.
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) p.drawPoint(x, y);
        }
        return;
    }
    p.drawEllipse(QRect(left, top, w, h));
}

}  // namespace

QImage LutPlot::render(const LutPlotState& s) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setPen(QPen(Qt::black, 1));
    const QPoint frame[] = {{40, 15}, {296, 15}, {296, 271}, {40, 271}, {40, 15}};
    p.drawPolyline(frame, 5);

    const int step = s.step > 0 ? s.step : 1;
    for (int c = 0; c < 3 && s.entries != nullptr; ++c) {
        if (!s.showChannel[c]) continue;
        const auto& e = (*s.entries)[c];
        p.setPen(QPen(kChannelColours[c], 1));
        p.setBrush(Qt::NoBrush);

        // The curve passes through the editing points only.
        QPolygon curve;
        curve << QPoint(40, 271 - e[0]);
        for (int i = 0; i < 256; i += step) curve << QPoint(40 + i, 271 - e[i]);
        curve << QPoint(295, 271 - e[255]);
        p.drawPolyline(curve);

        p.setBrush(Qt::white);
        auto marker = [&](int i) {
            const int x = 40 + i;
            const int y = 271 - e[i];
            if (step > 2) {
                boxEllipse(p, x - 2, y - 2, x + 3, y + 3);
            } else if (step == 2) {
                boxEllipse(p, x - 1, y - 1, x, y + 2);
            }
        };
        for (int i = 0; i < 256; i += step) marker(i);
        marker(255);

        // The point being dragged stands out with a larger marker.
        if (s.dragging && s.selectedIndex >= 0 && s.selectedIndex < 256) {
            const int x = 40 + s.selectedIndex;
            const int y = 271 - e[s.selectedIndex];
            boxEllipse(p, x - 3, y - 3, x + 4, y + 4);
        }
    }

    p.setPen(QColor(128, 128, 128));
    p.setBrush(Qt::NoBrush);
    QFont font = p.font();
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip;
    p.drawText(QRect(16, 8, 40, 20), flags, QStringLiteral("1.0"));
    p.drawText(QRect(16, 273, 40, 20), flags, QStringLiteral("0.0"));
    p.drawText(QRect(286, 273, 40, 20), flags, QStringLiteral("1.0"));
    return image;
}
