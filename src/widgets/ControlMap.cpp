#include "widgets/ControlMap.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QVariant>

namespace zr::widgets {

void ControlMap::addTemplate(QWidget* templateRoot) {
    const auto children = templateRoot->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        const QVariant id = child->property("controlId");
        if (id.isValid()) add(id.toInt(), child);
    }
}

void ControlMap::add(int id, QWidget* widget) {
    widgets_.insert(id, widget);
}

QWidget* ControlMap::widget(int id) const {
    return widgets_.value(id, nullptr);
}

QAbstractButton* ControlMap::button(int id) const {
    return qobject_cast<QAbstractButton*>(widget(id));
}

QScrollBar* ControlMap::scrollBar(int id) const {
    return qobject_cast<QScrollBar*>(widget(id));
}

QLabel* ControlMap::label(int id) const {
    return qobject_cast<QLabel*>(widget(id));
}

QComboBox* ControlMap::comboBox(int id) const {
    return qobject_cast<QComboBox*>(widget(id));
}

bool ControlMap::isChecked(int id) const {
    const QAbstractButton* b = button(id);
    return b != nullptr && b->isChecked();
}

void ControlMap::setEnabled(int id, bool enabled) const {
    if (QWidget* w = widget(id)) w->setEnabled(enabled);
}

void ControlMap::setEnabled(std::initializer_list<int> ids, bool enabled) const {
    for (int id : ids) setEnabled(id, enabled);
}

void ControlMap::setRangeEnabled(int first, int last, bool enabled) const {
    for (int id = first; id <= last; ++id) setEnabled(id, enabled);
}

void ControlMap::setText(int id, const QString& text) const {
    if (QLabel* l = label(id)) l->setText(text);
}

}  // namespace zr::widgets
