#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

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
// name, row, camera value, file value, default. Shows only; sends nothing.
class SettingsCompareDlg : public QDialog {
    Q_OBJECT
  public:
    SettingsCompareDlg(QWidget* parent, const QString& path,
                       const std::vector<SettingsDifference>& differences);

    QTableWidget* table() const { return table_; }

  private:
    QTableWidget* table_ = nullptr;
};

}  // namespace zr::panel
