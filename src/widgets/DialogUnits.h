#pragma once

#include <QFont>
#include <QRect>

class QWidget;

namespace zr::widgets {

// The point size every window template of the program is laid out for.
inline constexpr int kDialogFontPoints = 8;

// The application's font at a template's point size.
QFont templateFont(int points = kDialogFontPoints);

// Dialog units of a window template turned into pixels with the metrics of
// the dialog's font, the way the original platform sizes its dialogs: a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its character height. The average width is
// taken over the 52 Latin letters, rounded the same way.
class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

    int toPixelsX(int dlu) const;
    int toPixelsY(int dlu) const;
    QRect toPixels(const QRect& dlu) const;

    // A template is written in dialog units: every direct child's geometry
    // and the template's own size are converted in place.
    void applyToTemplate(QWidget* templateRoot) const;

  private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace zr::widgets
