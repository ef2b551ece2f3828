#include "widgets/WindowBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>
#include <vector>

#include "widgets/UpperCaseValidator.h"

namespace zr::widgets {

void WindowBuilder::build(const WindowTable& table) const {
    std::vector<QWidget*> beneath;
    for (const ControlEntry& entry : table.controls) {
        QWidget* widget = create(entry);
        QRect geometry = units_.toPixels(QRect(entry.x, entry.y, entry.width, entry.height));
        if (entry.options & FitText) {
            geometry.setWidth(std::max(geometry.width(), widget->sizeHint().width()));
        }
        widget->setGeometry(geometry);
        if (entry.id != NoId) {
            widget->setObjectName(QStringLiteral("control%1").arg(entry.id));
            widget->setProperty("controlId", entry.id);
        }
        if (entry.options & Hidden) widget->hide();
        if (entry.options & Disabled) widget->setEnabled(false);
        if (entry.options & Beneath) beneath.push_back(widget);
    }
    // Frames drawn behind the buttons never take their clicks.
    for (QWidget* widget : beneath) widget->lower();
    window_->setFixedSize(units_.toPixelsX(table.widthDlu), units_.toPixelsY(table.heightDlu));
}

QWidget* WindowBuilder::create(const ControlEntry& entry) const {
    QWidget* parent = window_;
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
        case ControlKind::Frame: {
            auto* frame = new QGroupBox(text, parent);
            if (entry.options & MouseTransparent) {
                frame->setAttribute(Qt::WA_TransparentForMouseEvents);
            }
            return frame;
        }
        case ControlKind::Label:
        case ControlKind::CentredLabel: {
            auto* label = new QLabel(text, parent);
            const bool centred = entry.kind == ControlKind::CentredLabel;
            label->setAlignment((centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
            return label;
        }
        case ControlKind::PlainLabel:
            return new QLabel(text, parent);
        case ControlKind::Radio:
            return new QRadioButton(text, parent);
        case ControlKind::PushRadio: {
            auto* button = new QPushButton(text, parent);
            button->setCheckable(true);
            button->setAutoDefault(false);
            return button;
        }
        case ControlKind::Check:
            return new QCheckBox(text, parent);
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            button->setDefault(entry.kind == ControlKind::DefaultButton);
            return button;
        }
        case ControlKind::DialogButton:
            return new QPushButton(text, parent);
        case ControlKind::Edit:
            return new QLineEdit(text, parent);
        case ControlKind::ValueEdit: {
            auto* edit = new QLineEdit(text, parent);
            edit->setReadOnly(true);
            edit->setAlignment(Qt::AlignCenter);
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            edit->setPalette(palette);
            return edit;
        }
        case ControlKind::UpperCaseEdit: {
            auto* edit = new QLineEdit(text, parent);
            edit->setValidator(new UpperCaseValidator(edit));
            return edit;
        }
        case ControlKind::DropList:
            return new QComboBox(parent);
        case ControlKind::HTrackBar:
        case ControlKind::VTrackBar: {
            const bool vertical = entry.kind == ControlKind::VTrackBar;
            auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, parent);
            if (vertical) {
                // Track bars put their minimum at the top and move down with
                // the Down key; the position mapping relies on that.
                slider->setInvertedAppearance(true);
                slider->setInvertedControls(true);
            }
            slider->setTickPosition(vertical ? QSlider::TicksBothSides : QSlider::TicksBelow);
            slider->setPageStep(4);
            return slider;
        }
    }
    return nullptr;
}

}  // namespace zr::widgets
