#pragma once

#include <QHash>
#include <initializer_list>

class QAbstractButton;
class QComboBox;
class QLabel;
class QScrollBar;
class QWidget;

namespace zr::widgets {

// The one lookup from a control id to its widget. Built from the widgets of a
// template that carry the dynamic property "controlId".
class ControlMap {
  public:
    void addTemplate(QWidget* templateRoot);
    void add(int id, QWidget* widget);

    QWidget* widget(int id) const;  // nullptr for an unknown id
    QAbstractButton* button(int id) const;
    QScrollBar* scrollBar(int id) const;
    QLabel* label(int id) const;
    QComboBox* comboBox(int id) const;
    int size() const { return static_cast<int>(widgets_.size()); }

    bool isChecked(int id) const;
    void setEnabled(int id, bool enabled) const;
    void setEnabled(std::initializer_list<int> ids, bool enabled) const;
    // Every id from `first` to `last`, both included.
    void setRangeEnabled(int first, int last, bool enabled) const;
    void setText(int id, const QString& text) const;

  private:
    QHash<int, QWidget*> widgets_;
};

}  // namespace zr::widgets
