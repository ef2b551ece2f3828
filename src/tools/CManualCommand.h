#pragma once

#include <QString>

#include "widgets/ToolWindow.h"

// The manual command window: a command text typed by hand is sent to the
// camera unchanged (WRITE), or in its read form with the camera's three
// answer bytes shown (READ). The link checks and reports the text itself.
// Enter and Escape hide the window as CLOSE does; the panel makes a new one,
// with empty fields, when it is opened again.
class CManualCommand : public zr::widgets::ToolWindow {
    Q_OBJECT
  public:
    enum ControlId {
        IDC_CLOSE = 2,
        IDC_WRITE = 1035,
        IDC_COMMAND = 1036,
        IDC_ANSWER = 1037,
        IDC_READ = 1039,
    };

    explicit CManualCommand(QWidget* parent = nullptr);

    // Button handlers; the widgets call them, tests may too.
    void OnWrite();
    void OnRead();

    QString commandText() const;
    QString answerText() const;

  private:
    void buildControls();
};
