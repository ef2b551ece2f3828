#pragma once

#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "link/Message.h"
#include "params/SettingsFile.h"

class QWidget;

namespace zr {
class BulkOperations;
class MessageRelay;
class ParamAccess;
}  // namespace zr

namespace zr::panel {

class SettingsCompareDlg;

// The panel's settings file commands: save the camera's settings to a file,
// load a file into the camera, compare the camera with a file. The files are
// those of `zrk880ctl dump`; the whole file is checked before anything is
// sent.
class SettingsFileCommands {
  public:
    enum class Action { Save, Load, Compare };
    // The file an action works on; an empty path cancels it.
    using PathChooser = std::function<QString(Action)>;

    // `tell` says what a command did where the user looks (the status line).
    SettingsFileCommands(QWidget* window, ParamAccess& params, BulkOperations& bulk,
                         MessageRelay& messages, std::function<void(const QString&)> tell);
    ~SettingsFileCommands();
    SettingsFileCommands(const SettingsFileCommands&) = delete;
    SettingsFileCommands& operator=(const SettingsFileCommands&) = delete;

    // Reads rows 0..52 from the camera, then writes them to the file.
    void save();
    // Writes rows 0..49 from the file (the panel's value for a row it lacks),
    // then reads the camera back.
    void load();
    // Reads the file's rows from the camera and lists those that differ; the
    // rows Load does not write (memory load and save, factory setting) apart.
    void compare();

    // Replaces the file dialog (tests).
    void setPathChooser(PathChooser chooser) { chooser_ = std::move(chooser); }
    // The open comparison window, if any.
    SettingsCompareDlg* compareWindow() const;

  private:
    QString choosePath(Action action);
    // Reads and checks a file; false after telling the user why not.
    bool readEntries(const QString& path, std::vector<SettingsEntry>& entries);
    void showBox(const std::string& text, MsgIcon icon);

    QWidget* window_;
    ParamAccess& params_;
    BulkOperations& bulk_;
    MessageRelay& messages_;
    std::function<void(const QString&)> tell_;
    PathChooser chooser_;
    QPointer<SettingsCompareDlg> compareWindow_;
};

}  // namespace zr::panel
