#pragma once

#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace zr::panel {

// Menu 128 of the main panel. Every item carries its command id; choosing it
// emits command(id).
class PanelMenu : public QObject {
    Q_OBJECT
  public:
    explicit PanelMenu(QWidget* owner);

    QMenuBar* menuBar() const { return menuBar_; }
    QAction* action(int commandId) const;
    // Deletes the item of that command from its popup; false if there is none.
    bool removeCommand(int commandId);

  signals:
    void command(int commandId);

  private:
    QAction* addItem(QMenu* popup, const QString& text, int commandId);

    QMenuBar* menuBar_;
};

}  // namespace zr::panel
