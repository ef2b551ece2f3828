#include "panel/SettingsCompareDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zr::panel {

SettingsCompareDlg::SettingsCompareDlg(QWidget* parent, const QString& path,
                                       const std::vector<SettingsDifference>& differences)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Compare with File - %1").arg(QFileInfo(path).fileName()));

    table_ = new QTableWidget(static_cast<int>(differences.size()), 5, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("Setting"), QStringLiteral("Row"),
                                       QStringLiteral("Camera"), QStringLiteral("File"),
                                       QStringLiteral("Default")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 0; i < table_->rowCount(); ++i) {
        const SettingsDifference& d = differences[static_cast<size_t>(i)];
        const QString cells[] = {QString::fromStdString(d.name), QString::number(d.row),
                                 QString::number(d.camera), QString::number(d.file),
                                 QString::number(d.defaultValue)};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // Numbers line up on the right, as in a spreadsheet.
            if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(i, column, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(460, 300);
}

}  // namespace zr::panel
