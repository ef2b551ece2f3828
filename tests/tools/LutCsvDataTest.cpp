#include <QFileDialog>
#include <QTimer>

#include "LutEditorFixture.h"
#include "params/LutCsv.h"
#include "support/TempDir.h"

namespace {

using zr::test::readFile;
using zr::test::TempDir;
using zr::test::writeFile;

// OPEN and SAVE of the editor, with the file dialog replaced by a chosen path.
class LutCsvDataTest : public LutEditorTest {
  protected:
    void SetUp() override {
        LutEditorTest::SetUp();
        editor->setFileChooser([this](bool save) {
            asked.push_back(save);
            return chosen;
        });
    }

    static zr::LutTable pattern() {
        zr::LutTable table{};
        for (int c = 0; c < 3; ++c) {
            for (int i = 0; i < 256; ++i) table[c][i] = (i * 5 + 90 * c) % 256;
        }
        return table;
    }

    TempDir dir;
    QString chosen;
    std::vector<bool> asked;
};

TEST_F(LutCsvDataTest, SaveThenOpenGivesTheTableBack) {
    chosen = QString::fromStdString(dir.file("lut.csv"));
    editor->entries = pattern();
    button(CLookUpTable::IDC_SAVE)->click();
    EXPECT_EQ(readFile(dir.file("lut.csv")), zr::formatLutCsv(pattern()));

    button(CLookUpTable::IDC_GAMMA_10)->click();
    button(CLookUpTable::IDC_OPEN)->click();
    EXPECT_EQ(editor->entries, pattern());
    EXPECT_EQ(asked, (std::vector<bool>{true, false}));
    EXPECT_TRUE(sink.texts().empty());
}

TEST_F(LutCsvDataTest, CancelledDialogDoesNothing) {
    chosen.clear();
    editor->entries = pattern();
    button(CLookUpTable::IDC_SAVE)->click();
    button(CLookUpTable::IDC_OPEN)->click();
    EXPECT_EQ(editor->entries, pattern());
    EXPECT_EQ(dir.entries(), 0u);
    EXPECT_TRUE(sink.texts().empty());
}

TEST_F(LutCsvDataTest, MissingFileIsReportedWithTheApplicationsName) {
    chosen = QString::fromStdString(dir.file("gone.csv"));
    button(CLookUpTable::IDC_OPEN)->click();
    const auto messages = sink.messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message.text, dir.file("gone.csv") + " was not found.");
    EXPECT_EQ(messages[0].message.caption, QApplication::applicationName().toStdString());
    EXPECT_EQ(messages[0].message.icon, zr::MsgIcon::Error);
    EXPECT_EQ(messages[0].message.owner, editor);
    EXPECT_EQ(editor->entries, zr::identityLut());
}

TEST_F(LutCsvDataTest, RefusedFilesLeaveTheTableAsItWas) {
    const std::string good = zr::formatLutCsv(zr::identityLut());
    const size_t firstLineEnd = good.find("\r\n") + 2;
    const size_t secondLineEnd = good.find("\r\n", firstLineEnd) + 2;
    std::string big = good;
    big.replace(big.find(",7,"), 3, ",700,");
    const std::pair<std::string, std::string> cases[] = {
        {good.substr(0, secondLineEnd), "Invalid Data file"},
        // Green stops after 254: 255 values.
        {good.substr(0, firstLineEnd) + good.substr(0, firstLineEnd - 6) + "\r\n",
         "Invalid data format"},
        {big, "Invalid data value: entry 7 of line 1 is outside 0 to 255"},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(message);
        writeFile(dir.file("bad.csv"), text);
        chosen = QString::fromStdString(dir.file("bad.csv"));
        editor->entries = pattern();
        sink.clear();
        button(CLookUpTable::IDC_OPEN)->click();
        EXPECT_EQ(sink.texts(), std::vector<std::string>{message});
        EXPECT_EQ(sink.messages()[0].message.icon, zr::MsgIcon::None);
        EXPECT_EQ(editor->entries, pattern());
    }
}

}  // namespace

namespace {

// The real file dialogs, looked at while they are up and then cancelled.
TEST_F(LutEditorTest, FileDialogsCarryTheirTitlesAndFilter) {
    for (bool save : {false, true}) {
        QString title;
        QStringList filters;
        QString suffix;
        QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
        QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = editor->findChild<QFileDialog*>();
            if (dialog == nullptr || !dialog->isVisible()) return;
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            suffix = dialog->defaultSuffix();
            mode = dialog->acceptMode();
            fileMode = dialog->fileMode();
            dialog->reject();
        });
        poll.start(10);
        EXPECT_TRUE(editor->ChooseLutFile(save).isEmpty());
        EXPECT_EQ(title, save ? "SAVE LUT FILE" : "OPEN LUT FILE");
        EXPECT_EQ(filters, QStringList{"csv file (*.csv)"});
        EXPECT_EQ(suffix, "csv");
        EXPECT_EQ(mode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        EXPECT_EQ(fileMode, save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    }
}

}  // namespace
