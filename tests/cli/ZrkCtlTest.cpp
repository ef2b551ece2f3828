#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "CliProcess.h"
#include "support/FileText.h"
#include "support/TempDir.h"

namespace zr::test {
namespace {

namespace fs = std::filesystem;

// zrk880ctl against the simulated camera on a pseudo-terminal linked as COM3.
class ZrkCtl : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(path("ports")); }

    void startCamera(std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--log", log_});
        camera_ = std::make_unique<CamsimProcess>(path("ports"), 3, options);
        ASSERT_TRUE(camera_->ready());
    }

    ProcessResult ctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", "COM3"});
        return runProcess(cliPath(), args, env());
    }
    ProcessResult ctlNoRoute(std::vector<std::string> args) {
        return runProcess(cliPath(), args, env());
    }
    std::vector<std::string> env() const { return {"ZRK880_PORT_DIR=" + path("ports")}; }

    // The command texts the camera received, one per line.
    // The camera logs a frame after it has answered it, and the last frames of
    // a run may still be on their way when the tool has ended: read the log
    // once it has stopped growing.
    std::vector<std::string> sent() const {
        std::string text = readFile(log_);
        for (int i = 0; i < 30; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            std::string again = readFile(log_);
            if (again == text) break;
            text = std::move(again);
        }
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);)
            if (!l.empty()) lines.push_back(l);
        return lines;
    }
    std::string path(const std::string& name) const { return dir_.file(name); }

    TempDir dir_;
    const std::string log_ = path("frames.log");
    std::unique_ptr<CamsimProcess> camera_;
};

TEST_F(ZrkCtl, GetByNameAndRowReadsEachRowOnce) {
    startCamera();
    auto r = ctl({"get", "gain_level", "9", "shutter_speed"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "gain_level = 0\nvariable_shutter = 834\nshutter_speed = 0\n");
    EXPECT_EQ(sent(), (std::vector<std::string>{"810C000000", "8111000000", "8108000000"}));
}

TEST_F(ZrkCtl, SetSendsTheWriteTextAndTheCameraKeepsIt) {
    startCamera();
    struct Case {
        std::vector<std::string> args;
        std::string text;
    } cases[] = {
        {{"set", "shutter_speed", "5"}, "0108050000"},
        {{"set", "gain_level", "341"}, "010C015500"},
        {{"set", "9", "834"}, "0111034200"},
        {{"set", "masking_hue_cy", "0"}, "0135000000"},
    };
    for (const auto& c : cases) {
        auto r = ctl(c.args);
        EXPECT_EQ(r.exitCode, 0) << c.text << r.err;
        ASSERT_FALSE(sent().empty());
        EXPECT_EQ(sent().back(), c.text);
    }
    auto r = ctl({"get", "gain_level"});
    EXPECT_EQ(r.out, "gain_level = 341\n");
}

TEST_F(ZrkCtl, BadArgumentsAreRefusedBeforeAnythingIsSent) {
    startCamera();
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"set", "gain_level", "342"}, "Setting value is out of range"},
        {{"set", "memory_save", "0"}, "command register"},
        {{"set", "no_such_thing", "1"}, "unknown setting \"no_such_thing\""},
        {{"set", "53", "0"}, "unknown setting \"53\""},
        {{"set", "gain_level", "1x"}, "not a whole number"},
        {{"get", "101"}, "unknown setting"},
        {{"get"}, "get needs"},
        {{"factory-setting"}, "needs --yes"},
        {{"load", "FILE5"}, "not a setting memory"},
        {{"save", "DEFAULT"}, "not a setting memory"},
        {{"frobnicate"}, "unknown command"},
        // Texts the link would refuse: one message, not one per bad character.
        {{"raw", "ZZ"}, "Command ERROR: Character error."},
        {{"raw", "01G0"}, "Command ERROR: Character error."},
        {{"raw",
          "81\xC3\xA9"
          "C"},
         "Command ERROR: Character error."},
        {{"raw", "014"}, "Command ERROR: Command Length error."},
        {{"raw", std::string(256, '0')}, "Command ERROR: Command Length error."},
        {{"raw", ""}, "not empty"},
    };
    for (const auto& c : cases) {
        auto r = ctl(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        const size_t at = r.err.find(c.message);
        EXPECT_NE(at, std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(c.message, at + 1), std::string::npos) << "shown twice: " << r.err;
    }
    EXPECT_TRUE(sent().empty());
}

TEST_F(ZrkCtl, DumpRestoreAndDiffRoundTrip) {
    startCamera();
    for (const std::string file : {"snap.json", "snap.csv"}) {
        SCOPED_TRACE(file);
        ASSERT_EQ(ctl({"set", "brightness_level", "128"}).exitCode, 0);
        auto dump = ctl({"dump", path(file)});
        ASSERT_EQ(dump.exitCode, 0) << dump.err;
        EXPECT_EQ(ctl({"diff", path(file)}).exitCode, 0);

        ASSERT_EQ(ctl({"set", "brightness_level", "10"}).exitCode, 0);
        auto diff = ctl({"diff", path(file)});
        EXPECT_EQ(diff.exitCode, 3);
        EXPECT_NE(diff.out.find("brightness_level"), std::string::npos) << diff.out;
        EXPECT_NE(diff.out.find("camera     10"), std::string::npos) << diff.out;
        EXPECT_EQ(diff.out.find("gain_level"), std::string::npos) << diff.out;

        size_t before = sent().size();
        auto restore = ctl({"restore", path(file)});
        EXPECT_EQ(restore.exitCode, 0) << restore.err;
        auto texts = sent();
        // Rows 0..49 in order; the memory and factory registers never.
        ASSERT_EQ(texts.size() - before, 50u);
        EXPECT_EQ(texts[before], "0104000000");
        EXPECT_EQ(texts.back(), "0156000000");
        for (size_t i = before; i < texts.size(); ++i) {
            EXPECT_NE(texts[i].substr(0, 4), "0102");
            EXPECT_NE(texts[i].substr(0, 4), "0103");
            EXPECT_NE(texts[i].substr(0, 4), "0145");
        }
        EXPECT_EQ(ctl({"diff", path(file)}).exitCode, 0);
    }
}

// An existing snapshot is replaced whole: through a symbolic link, keeping
// its mode, with no temporary file left; a failure keeps the old one.
TEST_F(ZrkCtl, DumpReplacesAnExistingSnapshotSafely) {
    startCamera();
    writeFile(path("real.json"), "old");
    fs::permissions(path("real.json"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(path("real.json"), path("snap.json"));
    auto dump = ctl({"dump", path("snap.json")});
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_TRUE(fs::is_symlink(path("snap.json")));
    EXPECT_EQ(readFile(path("real.json")).substr(0, 1), "{");
    EXPECT_EQ(fs::status(path("real.json")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
        files += entry.is_directory() ? 0 : 1;
    EXPECT_EQ(files, 3u) << "frames.log, real.json, snap.json and nothing else";

    fs::create_directory(path("sub.json"));
    auto refused = ctl({"dump", path("sub.json")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "zrk880ctl: " + path("sub.json") + ": Is a directory\n");
    EXPECT_TRUE(fs::is_directory(path("sub.json")));
}

TEST_F(ZrkCtl, DumpWritesNamesRowsAndValues) {
    startCamera();
    auto r = ctl({"dump", "--csv"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 15), "name,row,value\n");
    EXPECT_NE(r.out.find("\nvariable_shutter,9,834\n"), std::string::npos);
    EXPECT_NE(r.out.find("\nfactory_setting,52,1\n"), std::string::npos);
    EXPECT_EQ(sent().size(), 53u);
    EXPECT_EQ(sent().front(), "8104000000");
    EXPECT_EQ(sent().back(), "8145000000");
}

TEST_F(ZrkCtl, BadSnapshotFilesAreRefusedWithNothingSent) {
    startCamera();
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"{\"settings\": [{\"name\": \"gain_level\", \"value\": 400}]}",
         "line 1: gain_level (row 6) = 400 is out of range (0..341)"},
        {"{\"settings\": [{\"name\": \"bogus\", \"value\": 1}]}", "unknown setting name"},
        {"{\"settings\": [{\"name\": \"gain_level\", \"value\": 1}", "broken JSON"},
        {"{\"settings\": [{\"name\": \"gain_level\", \"row\": 5, \"value\": 1}]}", "not row 5"},
        {"name,row,value\ngain_level,6,1\ngain_level,6,2\n",
         "line 3: gain_level is given twice (first on line 2)"},
        {"name,row,value\nadjust_key,54,0\n", "not a user setting"},
        {"name,row,value\ngain_level,6\n", "line 2: expected name,row,value"},
        {"", "holds no settings"},
        {"{\"camera\": \"ZR-K990\", \"settings\": [{\"name\": \"gain_level\", \"value\": 1}]}",
         "the file is for camera \"ZR-K990\", not ZR-K880TM"},
    };
    for (const auto& c : cases) {
        writeFile(path("bad.json"), c.text);
        auto r = ctl({"restore", path("bad.json")});
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    auto missing = ctl({"restore", path("missing.json")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("No such file"), std::string::npos) << missing.err;
    // A folder, or a file far too big to be a snapshot, is refused unread.
    auto folder = ctl({"restore", dir_.path()});
    EXPECT_EQ(folder.exitCode, 2);
    EXPECT_NE(folder.err.find("not a regular file"), std::string::npos) << folder.err;
    writeFile(path("big.json"), std::string(2 << 20, ' '));
    auto big = ctl({"restore", path("big.json")});
    EXPECT_EQ(big.exitCode, 2);
    EXPECT_NE(big.err.find("too large"), std::string::npos) << big.err;
    EXPECT_TRUE(sent().empty());
}

TEST_F(ZrkCtl, RawReadPrintsTheAnswerBytesAndRawWriteSendsTheText) {
    startCamera();
    auto read = ctl({"raw", "814c"});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, "600000\n");  // threshold default 96
    auto write = ctl({"raw", "014c200000"});
    EXPECT_EQ(write.exitCode, 0) << write.err;
    EXPECT_EQ(ctl({"raw", "814C"}).out, "200000\n");
    EXPECT_EQ(sent(), (std::vector<std::string>{"814C000000", "014C200000", "814C000000"}));
}

TEST_F(ZrkCtl, FactorySettingWithYesWritesThenReadsEverySetting) {
    startCamera();
    auto r = ctl({"--yes", "factory-setting"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    auto texts = sent();
    ASSERT_EQ(texts.size(), 54u);
    EXPECT_EQ(texts[0], "0145010000");
    EXPECT_EQ(texts[1], "8104000000");
}

TEST_F(ZrkCtl, SilentCameraEndsInTheAckTimeOut) {
    startCamera({"--silent"});
    auto r = ctl({"get", "gain_level"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("NO RESPONSE: There is no [ACK]"), std::string::npos) << r.err;
    EXPECT_EQ(sent(), (std::vector<std::string>{"810C000000", "810C000000", "810C000000"}));
}

TEST_F(ZrkCtl, PortProblemsEndWithTheOpenMessage) {
    auto r = ctl({"get", "gain_level"});  // nothing serves COM3
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Error: Port Open Error"), std::string::npos) << r.err;
    auto none = ctlNoRoute({"get", "gain_level"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_NE(none.err.find("needs a route"), std::string::npos);
}

TEST_F(ZrkCtl, ThroughTheSimulatedCameraLinkLibrary) {
    std::string lib = simDir() + "/cl/libclallserial.so";
    std::string clLog = path("cl.log");
    std::vector<std::string> env = {"ZR_SIM_CL_LOG=" + clLog};
    auto r = runProcess(cliPath(), {"--cl-lib", lib, "set", "gain_level", "100"}, env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(clLog), "010C006400\n");
    auto missing = runProcess(cliPath(), {"--cl-lib", path("nope.dll"), "get", "0"}, env);
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("does not exist."), std::string::npos) << missing.err;
}

TEST_F(ZrkCtl, PortsListsTheFreeComPortWithItsDevice) {
    startCamera();
    auto r = ctlNoRoute({"ports"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("COM3   " + camera_->slavePath()), std::string::npos) << r.out;
}

TEST_F(ZrkCtl, UsageAndHelp) {
    auto help = ctlNoRoute({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: zrk880ctl"), std::string::npos);
    auto none = ctlNoRoute({});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.err.find("no command given"), std::string::npos);
    auto twoRoutes = ctlNoRoute({"--port", "COM1", "--device", "/dev/null", "get", "0"});
    EXPECT_EQ(twoRoutes.exitCode, 2);
    auto baud = ctlNoRoute({"--baud", "4800", "get", "0"});
    EXPECT_EQ(baud.exitCode, 2);
}

}  // namespace
}  // namespace zr::test

namespace zr::test {
namespace {

std::string lutText(int (*f)(int channel, int entry)) {
    std::string text;
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 256; ++i) text += std::to_string(f(c, i)) + ",";
        text += "\r\n";
    }
    return text;
}

TEST_F(ZrkCtl, LutWriteThenReadRoundTripsThroughTheCamera) {
    startCamera();
    std::string table = lutText([](int c, int i) { return (255 - i + 7 * c) & 0xFF; });
    writeFile(path("in.csv"), table);
    auto w = ctl({"lut", "write", path("in.csv")});
    ASSERT_EQ(w.exitCode, 0) << w.err;
    auto texts = sent();
    ASSERT_EQ(texts.size(), 768u);
    EXPECT_EQ(texts[0], "2000FF0000");
    EXPECT_EQ(texts[256 + 1], "2101050000");
    EXPECT_EQ(texts[767], "22FF0E0000");

    auto r = ctl({"lut", "read", path("out.csv")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(path("out.csv")), table);
    EXPECT_EQ(sent()[768], "A000000000");
}

TEST_F(ZrkCtl, LutWriteRefusesABadFileBeforeSending) {
    startCamera();
    writeFile(path("bad.csv"), lutText([](int, int i) { return i == 9 ? 300 : i; }));
    auto r = ctl({"lut", "write", path("bad.csv")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.empty());
    writeFile(path("short.csv"), "1,2,3\r\n");
    EXPECT_EQ(ctl({"lut", "write", path("short.csv")}).exitCode, 2);
    auto missing = ctl({"lut", "write", path("missing.csv")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("missing.csv"), std::string::npos) << missing.err;
    EXPECT_TRUE(sent().empty());
}

}  // namespace
}  // namespace zr::test

namespace zr::test {
namespace {

TEST_F(ZrkCtl, VerbosePrintsEveryFrameWithATimestamp) {
    startCamera();
    auto r = ctl({"--verbose", "set", "shutter_speed", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The frame of 0108050000 going out, then the camera's ACK coming back.
    EXPECT_NE(r.err.find("] -> 02 30 30 46 46 30 31 30 38 30 35 30 30 30 30 03 "),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("|.00FF0108050000."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("] <- 06 |.|"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.substr(0, 1), "[");
    auto quiet = ctl({"set", "shutter_speed", "5"});
    EXPECT_EQ(quiet.err, "");
}

TEST_F(ZrkCtl, ClAllOpensTheChosenSerialIndexOfTheCommonLibrary) {
    std::string clLog = path("cl.log");
    std::vector<std::string> env = {"ZR_SIM_CL_LOG=" + clLog, "ZR_SIM_CL_PORTS=2",
                                    "ZRK880_CL_PATH=" + simDir() + "/cl"};
    auto r = runProcess(cliPath(), {"--cl-all", "1", "--baud", "115200", "get", "6"}, env);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "gain_level = 0\n");
    EXPECT_EQ(readFile(clLog), "810C000000\n");
    auto beyond = runProcess(cliPath(), {"--cl-all", "2", "get", "6"}, env);
    EXPECT_EQ(beyond.exitCode, 1);
    EXPECT_NE(beyond.err.find("CL Board Connect Error"), std::string::npos) << beyond.err;
}

}  // namespace
}  // namespace zr::test
