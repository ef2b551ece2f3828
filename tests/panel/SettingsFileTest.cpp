#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTableWidget>
#include <cstdlib>
#include <filesystem>

#include "PanelFixture.h"
#include "cli/CliProcess.h"
#include "model/RegisterMap.h"
#include "panel/PanelControlIds.h"
#include "panel/SettingsCompareDlg.h"
#include "panel/SettingsFileCommands.h"
#include "params/ParamAccess.h"
#include "support/TempDir.h"

namespace zr::test {
namespace {

using zr::panel::SettingsFileCommands;

// The panel's settings file commands on the simulated camera, each file
// chosen by the test instead of a file dialog.
class SettingsFileTest : public PanelTest {
  protected:
    // Runs a command through its menu item on the file `name` in the temp
    // folder and waits for the link to finish.
    void run(int command, const std::string& name) {
        const QString path = QString::fromStdString(file(name));
        panel->settingsFiles().setPathChooser(
            [path](SettingsFileCommands::Action) { return path; });
        panel->menuAction(command)->trigger();
        settle();
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    std::string statusText() const {
        return panel->findChild<QLabel*>("connectionStatus")->text().toStdString();
    }
    int cameraRow(int row) const {
        const CameraParam& p = CameraParamTable::defaults()[static_cast<size_t>(row)];
        return sim::RegisterMap::unpack(camera->reg(p.writeArea, p.address), p.dataBytes() == 2);
    }
    static std::string readOf(int row) {
        return ParamAccess::readText(CameraParamTable::defaults()[static_cast<size_t>(row)]);
    }
    static std::vector<std::string> readWalk() {
        std::vector<std::string> texts;
        for (int row = 0; row < UserParamCount; ++row) texts.push_back(readOf(row));
        return texts;
    }

    TempDir dir;
};

// The panel's file restores with zrk880ctl to the same settings, and the
// tool's dump loads into the panel: each reads the other's bytes.
TEST_F(SettingsFileTest, FilesPassBetweenThePanelAndTheCommandLineTool) {
    for (auto [row, value] :
         {std::pair<int, int>{ROW_GAIN_LEVEL, 341}, {9, 1200}, {4, 5}, {45, 200}})
        setCameraRow(row, value);
    run(ID_SAVE_SETTINGS_FILE, "panel.json");
    EXPECT_EQ(sent(), readWalk());
    EXPECT_EQ(sink.count(), 0u) << sink.texts()[0];
    EXPECT_EQ(statusText(), "Saved 53 settings to " + file("panel.json"));
    const std::string saved = readFile(file("panel.json"));

    std::filesystem::create_directories(file("ports"));
    CamsimProcess other(file("ports"), 3);
    ASSERT_TRUE(other.ready());
    auto ctl = [&](std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", "COM3"});
        return runProcess(cliPath(), args, {"ZRK880_PORT_DIR=" + file("ports")});
    };
    const ProcessResult restored = ctl({"restore", file("panel.json")});
    ASSERT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_EQ(ctl({"dump"}).out, saved);

    ASSERT_EQ(ctl({"set", "gain_level", "17"}).exitCode, 0);
    ASSERT_EQ(ctl({"set", "knee_point", "32"}).exitCode, 0);
    ASSERT_EQ(ctl({"dump", file("tool.csv")}).exitCode, 0);
    run(ID_LOAD_SETTINGS_FILE, "tool.csv");
    EXPECT_EQ(sink.count(), 0u) << sink.texts()[0];
    for (auto [row, value] :
         {std::pair<int, int>{ROW_GAIN_LEVEL, 17}, {41, 32}, {9, 1200}, {45, 200}})
        EXPECT_EQ(cameraRow(row), value) << row;
    EXPECT_EQ(statusText(), "Loaded 50 settings from " + file("tool.csv"));
    // Right after Load: the rows Load does not write are no difference of its.
    run(ID_COMPARE_SETTINGS_FILE, "tool.csv");
    EXPECT_EQ(panel->settingsFiles().compareWindow(), nullptr);
    EXPECT_EQ(sink.texts(),
              std::vector<std::string>{"The camera's settings match " + file("tool.csv") + "."});
    run(ID_SAVE_SETTINGS_FILE, "again.csv");
    EXPECT_EQ(readFile(file("again.csv")), readFile(file("tool.csv")));
}

// A file with one bad entry is refused whole before anything is sent, and the
// box names the entry.
TEST_F(SettingsFileTest, ABadFileSendsNothingAndTheBoxNamesTheEntry) {
    const struct {
        const char* name;
        const char* text;
        const char* message;  // after "<path>: "
    } cases[] = {
        {"unknown.json",
         R"({"settings": [{"name": "gain_level", "value": 1}, {"name": "gian_level", "value": 1}]})",
         "line 1: unknown setting name \"gian_level\""},
        {"range.csv", "name,row,value\nshutter_speed,4,3\ngain_level,6,342\n",
         "line 3: gain_level (row 6) = 342 is out of range (0..341)"},
        {"range.json",
         "{\"settings\": [\n  {\"name\": \"gain_level\", \"value\": 1},\n"
         "  {\"name\": \"knee_point\", \"row\": 41, \"value\": 33}\n]}\n",
         "line 3: knee_point (row 41) = 33 is out of range (0..32)"},
        {"twice.csv", "name,row,value\ngain_level,6,1\nknee_point,41,2\n,6,3\n",
         "line 4: gain_level is given twice (first on line 2)"},
        {"model.json", R"({"camera": "ZR-K990TM", "settings": [{"row": 6, "value": 1}]})",
         "the file is for camera \"ZR-K990TM\", not ZR-K880TM"},
        {"broken.json", "{\"settings\": [{\"row\": 6, \"value\": 1}\n",
         "broken JSON: line 2: unterminated array"},
        {"fields.csv", "name,row,value\ngain_level,6,1\nknee_point,41\n",
         "line 3: expected name,row,value"},
    };
    for (int command : {ID_LOAD_SETTINGS_FILE, ID_COMPARE_SETTINGS_FILE}) {
        for (const auto& c : cases) {
            writeFile(file(c.name), c.text);
            sink.clear();
            run(command, c.name);
            EXPECT_EQ(sink.texts(), std::vector<std::string>{file(c.name) + ": " + c.message});
        }
        sink.clear();
        run(command, "missing.json");
        EXPECT_EQ(sink.texts(), std::vector<std::string>{file("missing.json") + " was not found."});
    }
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(panel->settingsFiles().compareWindow(), nullptr);
}

// Load writes rows 0..49 in order, from the file or, for a row it lacks, the
// panel's value; never the memory, factory or initialise registers. Then it
// reads every setting back.
TEST_F(SettingsFileTest, LoadWritesRowsZeroToFortyNineThenReadsEverySetting) {
    setCameraRow(9, 700);
    readFromCamera();
    writeFile(file("part.csv"),
              "name,row,value\nmemory_load,50,2\nknee_point,41,9\nfactory_setting,52,1\n"
              "memory_save,51,3\ngain_level,6,100\n");
    clearSent();
    run(ID_LOAD_SETTINGS_FILE, "part.csv");
    std::vector<std::string> expected;
    for (int row = 0; row < ROW_MEMORY_LOAD; ++row) {
        const int value = row == 41 ? 9 : row == ROW_GAIN_LEVEL ? 100 : panel->table()[row].value;
        expected.push_back(expectedWrite(row, value));
    }
    EXPECT_EQ(expected[9], expectedWrite(9, 700));
    for (const std::string& read : readWalk()) expected.push_back(read);
    EXPECT_EQ(sent(), expected);
    EXPECT_EQ(sink.count(), 0u);
    EXPECT_EQ(scrollBar(IDC_KNEE_POINT_SCROLL)->value(), 9);
}

// A write the link refuses ends the load: the panel keeps showing what the
// camera took, and nothing more is sent.
TEST_F(SettingsFileTest, ARefusedWriteStopsTheLoadAndThePanelKeepsItsValues) {
    writeFile(file("one.csv"), "gain_level,6,100\n");
    panel->link().CloseLink();
    run(ID_LOAD_SETTINGS_FILE, "one.csv");
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(panel->table()[ROW_GAIN_LEVEL].value, 0);
    EXPECT_EQ(scrollBar(IDC_GAIN_SCROLL)->value(), 0);
    ASSERT_FALSE(sink.texts().empty());
    EXPECT_EQ(sink.texts().back(), "Loading " + file("one.csv") +
                                       " stopped at trigger_mode (row 0); nothing was written.");
}

// Compare reads the file's rows and lists exactly those that differ; with
// none it says so. Nothing is written. The window is saved as compare.png
// into $ZR_SCREENSHOT_DIR when that is set (scripts/screenshot.sh compare).
TEST_F(SettingsFileTest, CompareListsExactlyTheDifferingRows) {
    setCameraRow(ROW_GAIN_LEVEL, 200);
    setCameraRow(41, 12);
    writeFile(file("mixed.json"), R"({"camera": "ZR-K880TM", "settings": [
        {"name": "knee_point", "value": 30}, {"name": "gain_level", "value": 200},
        {"row": 9, "value": 834}, {"row": 20, "value": 99}, {"name": "memory_save", "value": 3}]})");
    run(ID_COMPARE_SETTINGS_FILE, "mixed.json");
    EXPECT_EQ(sent(), (std::vector<std::string>{readOf(6), readOf(9), readOf(20), readOf(41),
                                                readOf(ROW_MEMORY_SAVE)}));
    EXPECT_EQ(sink.count(), 0u);
    auto* window = panel->settingsFiles().compareWindow();
    ASSERT_NE(window, nullptr);
    QTableWidget* table = window->table();
    std::vector<QStringList> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c) cells << table->item(r, c)->text();
        rows.push_back(cells);
    }
    EXPECT_EQ(rows, (std::vector<QStringList>{{"white_balance_r_gain", "20", "128", "99", "128"},
                                              {"knee_point", "41", "12", "30", "0"}}));
    EXPECT_EQ(window->note().toStdString(),
              "Also different: memory_save (row 51), which Load does not write.");
    if (const char* out = std::getenv("ZR_SCREENSHOT_DIR")) {
        ASSERT_TRUE(QDir().mkpath(out));
        EXPECT_TRUE(window->grab().save(QDir(out).filePath("compare.png")));
    }
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(panel->settingsFiles().compareWindow(), nullptr);

    writeFile(file("same.csv"), "gain_level,6,200\nknee_point,41,12\nmemory_save,51,3\n");
    clearSent();
    run(ID_COMPARE_SETTINGS_FILE, "same.csv");
    EXPECT_EQ(sent(), (std::vector<std::string>{readOf(6), readOf(41), readOf(ROW_MEMORY_SAVE)}));
    EXPECT_EQ(sink.texts(), std::vector<std::string>{
                                "The camera's settings match " + file("same.csv") +
                                ", apart from memory_save (row 51), which Load does not write."});
    EXPECT_EQ(panel->settingsFiles().compareWindow(), nullptr);
}

// A save whose read fails writes nothing: an existing file keeps its bytes.
TEST_F(SettingsFileTest, SaveAfterAFailedReadWritesNoFile) {
    writeFile(file("kept.json"), "old bytes");
    camera->updateFaults([](sim::FaultSettings& f) { f.silent = true; });
    run(ID_SAVE_SETTINGS_FILE, "kept.json");
    EXPECT_EQ(readFile(file("kept.json")), "old bytes");
    ASSERT_EQ(sink.count(), 2u);
    EXPECT_EQ(sink.texts()[1], "The settings could not be read from the camera; " +
                                   file("kept.json") + " was not written.");
}

}  // namespace
}  // namespace zr::test
