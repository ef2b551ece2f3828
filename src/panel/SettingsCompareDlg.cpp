#include "panel/SettingsCompareDlg.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zr::panel {

SettingsCompareDlg::SettingsCompareDlg(QWidget* parent, const QString& path,
                                       const std::vector<SettingsDifference>& differences,
                                       const std::vector<SettingsDifference>& notLoaded)
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

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("compareNote"));
    note_->setWordWrap(true);
    if (!notLoaded.empty())
        note_->setText(
            QStringLiteral("Also different: %1.").arg(QString::fromStdString(rowList(notLoaded))));
    note_->setVisible(!notLoaded.empty());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(note_);
    layout->addWidget(buttons);
    resize(460, 300);
}

QString SettingsCompareDlg::note() const {
    return note_->text();
}

std::string SettingsCompareDlg::rowList(const std::vector<SettingsDifference>& notLoaded) {
    std::string list;
    for (size_t i = 0; i < notLoaded.size(); ++i) {
        if (i > 0) list += i + 1 == notLoaded.size() ? " and " : ", ";
        list += notLoaded[i].name + " (row " + std::to_string(notLoaded[i].row) + ")";
    }
    return list + ", which Load does not write";
}

}  // namespace zr::panel
