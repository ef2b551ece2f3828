#pragma once

#include <QDialog>

// The About box: program name, version and one more line; OK, Escape or the
// close box close it and change nothing.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
