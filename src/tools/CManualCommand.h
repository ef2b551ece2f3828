#pragma once

#include <QDialog>
#include <QString>

#include "widgets/ControlMap.h"
#include "widgets/ToolContext.h"

class QKeyEvent;

// The manual command window: a command text typed by hand is sent to the
// camera unchanged (WRITE), or in its read form with the camera's three
// answer bytes shown (READ). The link checks and reports the text itself.
// Enter and Escape hide the window as CLOSE does; the panel makes a new one,
// with empty fields, when it is opened again.
class CManualCommand : public QDialog {
    Q_OBJECT
  public:
    enum { IDD = 131 };
    enum ControlId {
        IDC_CLOSE = 2,
        IDC_WRITE = 1035,
        IDC_COMMAND = 1036,
        IDC_ANSWER = 1037,
        IDC_READ = 1039,
    };

    explicit CManualCommand(QWidget* parent = nullptr);

    // Keeps what the window uses of the program and makes it modeless.
    // Returns false for an incomplete context.
    virtual bool CreateModeless(const zr::widgets::ToolContext& context);

    // The control with a template id, or nullptr.
    QWidget* control(int id) const;

    zr::widgets::ToolContext context;

    // Button handlers; the widgets call them, tests may too.
    void OnWrite();
    void OnRead();

    QString commandText() const;
    QString answerText() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    zr::widgets::ControlMap controls_;  // id -> widget of the template
    void buildControls();
};
