#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QTableWidget;

namespace zr::panel {

// One setting whose camera value differs from a settings file's.
struct SettingsDifference {
    std::string name;
    int row = 0;
    int32_t camera = 0;
    int32_t file = 0;
    int32_t defaultValue = 0;
};

// Lists the differences between the camera and a settings file: setting
// name, row, camera value, file value, default. The rows Load does not write
// are named apart, under the table. Shows only; sends nothing.
class SettingsCompareDlg : public QDialog {
    Q_OBJECT
  public:
    SettingsCompareDlg(QWidget* parent, const QString& path,
                       const std::vector<SettingsDifference>& differences,
                       const std::vector<SettingsDifference>& notLoaded = {});

    QTableWidget* table() const { return table_; }
    // The words under the table; empty when every differing row is listed.
    QString note() const;

    // "memory_load (row 50) and memory_save (row 51), which Load does not write"
    static std::string rowList(const std::vector<SettingsDifference>& notLoaded);

  private:
    QTableWidget* table_ = nullptr;
    QLabel* note_ = nullptr;
};

}  // namespace zr::panel
