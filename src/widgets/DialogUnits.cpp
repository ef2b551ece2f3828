#include "widgets/DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace zr::widgets {

namespace {

// Scales and rounds to nearest, halves away from zero.
int mulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : -((-product + half) / denominator));
}

}  // namespace

QFont templateFont(int points) {
    QFont font = QApplication::font();
    font.setPointSize(points);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = (letters / 26 + 1) / 2;
    baseHeight_ = metrics.height();
    if (baseWidth_ < 1) baseWidth_ = 1;
    if (baseHeight_ < 1) baseHeight_ = 1;
}

int DialogUnits::toPixelsX(int dlu) const {
    return mulDiv(dlu, baseWidth_, 4);
}

int DialogUnits::toPixelsY(int dlu) const {
    return mulDiv(dlu, baseHeight_, 8);
}

QRect DialogUnits::toPixels(const QRect& dlu) const {
    // Edges are converted, not sizes, so that neighbours that touch in dialog
    // units still touch in pixels.
    const int left = toPixelsX(dlu.x());
    const int top = toPixelsY(dlu.y());
    const int right = toPixelsX(dlu.x() + dlu.width());
    const int bottom = toPixelsY(dlu.y() + dlu.height());
    return QRect(left, top, right - left, bottom - top);
}

void DialogUnits::applyToTemplate(QWidget* templateRoot) const {
    const auto children = templateRoot->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) child->setGeometry(toPixels(child->geometry()));
    const QSize size = templateRoot->size();
    templateRoot->setFixedSize(toPixelsX(size.width()), toPixelsY(size.height()));
}

}  // namespace zr::widgets
