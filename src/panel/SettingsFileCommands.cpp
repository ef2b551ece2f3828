#include "panel/SettingsFileCommands.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

#include "link/MessageRelay.h"
#include "panel/SettingsCompareDlg.h"
#include "params/BulkOperations.h"
#include "params/FileErrorText.h"
#include "params/ParamAccess.h"
#include "params/ParamNames.h"
#include "params/SafeFileReplace.h"
#include "widgets/ApplicationNames.h"
#include "widgets/WaitCursor.h"

namespace zr::panel {

namespace {

constexpr char kRecentSection[] = "Recent";
constexpr char kFolderEntry[] = "SettingsFolder";
constexpr char kJsonFilter[] = "JSON files (*.json)";
constexpr char kCsvFilter[] = "CSV files (*.csv)";
constexpr char kAllFilter[] = "All files (*)";

std::string nameOf(int row) {
    return std::string(ParamNames::name(row));
}

}  // namespace

SettingsFileCommands::SettingsFileCommands(QWidget* window, ParamAccess& params,
                                           BulkOperations& bulk, MessageRelay& messages,
                                           std::function<void(const QString&)> tell)
    : window_(window), params_(params), bulk_(bulk), messages_(messages), tell_(std::move(tell)) {}

SettingsFileCommands::~SettingsFileCommands() {
    delete compareWindow_.data();
}

SettingsCompareDlg* SettingsFileCommands::compareWindow() const {
    return compareWindow_.data();
}

void SettingsFileCommands::save() {
    const QString path = choosePath(Action::Save);
    if (path.isEmpty()) return;
    widgets::WaitCursor wait;
    const bool read = bulk_.ReadFromCamera();
    wait.release();
    // A file of stale or half-read values would look like the camera's.
    if (!read) {
        showBox("The settings could not be read from the camera; " + path.toStdString() +
                    " was not written.",
                MsgIcon::Exclamation);
        return;
    }
    std::vector<SettingsEntry> entries;
    for (int row = 0; row < UserParamCount; ++row)
        entries.push_back({row, params_.table()[row].value});
    const std::string native = QFile::encodeName(path).toStdString();
    const std::string text = SettingsFile::format(entries, SettingsFile::formatForPath(native));
    if (const int err = replaceFileSafely(native, text); err != 0) {
        showBox(fileErrorMessage(err, path.toStdString()), MsgIcon::Error);
        return;
    }
    tell_(QStringLiteral("Saved %1 settings to %2").arg(entries.size()).arg(path));
}

void SettingsFileCommands::load() {
    const QString path = choosePath(Action::Load);
    std::vector<SettingsEntry> entries;
    if (path.isEmpty() || !readEntries(path, entries)) return;
    widgets::WaitCursor wait;
    const int refused = bulk_.WriteSettings(entries);
    if (refused >= 0) {
        // The table holds what the camera accepted; the panel shows it.
        params_.changes().notify();
        wait.release();
        showBox("Loading " + path.toStdString() + " stopped at " + nameOf(refused) + " (row " +
                    std::to_string(refused) + "); " +
                    (refused == 0 ? "nothing was written." : "the rows before it were written."),
                MsgIcon::Exclamation);
        return;
    }
    bulk_.ReadFromCamera();
    const auto loaded = std::count_if(entries.begin(), entries.end(), [](const SettingsEntry& e) {
        return BulkOperations::writesRow(e.row);
    });
    tell_(QStringLiteral("Loaded %1 settings from %2").arg(loaded).arg(path));
}

void SettingsFileCommands::compare() {
    const QString path = choosePath(Action::Compare);
    std::vector<SettingsEntry> entries;
    if (path.isEmpty() || !readEntries(path, entries)) return;
    std::sort(entries.begin(), entries.end(),
              [](const SettingsEntry& a, const SettingsEntry& b) { return a.row < b.row; });
    widgets::WaitCursor wait;
    std::vector<SettingsDifference> differences;
    std::vector<SettingsDifference> notLoaded;  // rows Load does not write
    for (const SettingsEntry& entry : entries) {
        int32_t camera = 0;
        if (params_.ReadParam(entry.row, camera) != 0) {
            params_.changes().notify();
            wait.release();
            showBox("The settings could not be read from the camera; nothing was compared.",
                    MsgIcon::Exclamation);
            return;
        }
        if (camera != entry.value)
            (BulkOperations::writesRow(entry.row) ? differences : notLoaded)
                .push_back({nameOf(entry.row), entry.row, camera, entry.value,
                            params_.table()[entry.row].defaultValue});
    }
    // The reads updated the table: the panel shows the camera's values.
    params_.changes().notify();
    wait.release();
    if (differences.empty()) {
        showBox("The camera's settings match " + path.toStdString() +
                    (notLoaded.empty()
                         ? std::string(".")
                         : ", apart from " + SettingsCompareDlg::rowList(notLoaded) + "."),
                MsgIcon::Information);
        return;
    }
    delete compareWindow_.data();
    compareWindow_ = new SettingsCompareDlg(window_, path, differences, notLoaded);
    compareWindow_->setAttribute(Qt::WA_DeleteOnClose);
    compareWindow_->open();
}

bool SettingsFileCommands::readEntries(const QString& path, std::vector<SettingsEntry>& entries) {
    std::string text, error;
    const SettingsFileRead read = SettingsFile::read(QFile::encodeName(path).toStdString(), text);
    if (read.err != 0) {
        showBox(fileErrorMessage(read.err, path.toStdString()), MsgIcon::Error);
        return false;
    }
    if (!read.ok()) {
        showBox(path.toStdString() + ": " + read.problem, MsgIcon::Error);
        return false;
    }
    if (!SettingsFile::parse(text, params_.table(), entries, error)) {
        showBox(path.toStdString() + ": " + error, MsgIcon::Exclamation);
        return false;
    }
    return true;
}

QString SettingsFileCommands::choosePath(Action action) {
    if (chooser_) return chooser_(action);
    static constexpr const char* kTitles[] = {"Save Settings to File", "Load Settings from File",
                                              "Compare with File"};
    QSettings profile(kProfileOrganisation, kApplicationName);
    profile.beginGroup(kRecentSection);
    QFileDialog dialog(window_, QString::fromLatin1(kTitles[static_cast<int>(action)]),
                       profile.value(kFolderEntry).toString());
    dialog.setNameFilters({kJsonFilter, kCsvFilter, kAllFilter});
    if (action == Action::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("json"));
        // A name typed without an extension takes the chosen filter's.
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& filter) {
                             dialog.setDefaultSuffix(filter == QLatin1String(kCsvFilter)
                                                         ? QStringLiteral("csv")
                                                         : QStringLiteral("json"));
                         });
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().first();
    profile.setValue(kFolderEntry, QFileInfo(path).absolutePath());
    return path;
}

void SettingsFileCommands::showBox(const std::string& text, MsgIcon icon) {
    messages_.show(Message{.text = text,
                           .caption = kApplicationName,
                           .icon = icon,
                           .buttons = MsgButtons::Ok,
                           .owner = params_.owner()});
}

}  // namespace zr::panel
