// The adjustment data log against the simulated camera, in real files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "adjust/AdjustDataLog.h"
#include "params/ParamAccess.h"
#include "support/SimLinkFixture.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::string kFileName = "ZR-K880TM_AdjustData.csv";

using zr::test::readFile;
using zr::test::writeFile;

class AdjustDataLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fixture.open());
        log.setPath(path.string());
        log.setLocalTime([this] { return now; });
        setIdentity(0x4B38, 0x3830, 0x3030, 0x3432, 0x3130, 0x3032, 0x3031, 0x3035);
        // Sub voltages, gains, registration H and V, white spots.
        const int values[] = {150, 151, 152, 180, 170, 256, 0, 17, 9, 12, 6, 9, 1, 2, 3};
        const int rows[] = {57, 58, 59, 60, 61, 62, 64, 65, 66, 67, 68, 69, 71, 72, 73};
        for (int i = 0; i < 15; ++i) setRow(rows[i], values[i]);
    }
    void TearDown() override { fixture.close(); }

    void setRow(int row, int value) { zr::test::setCameraRow(fixture.camera, row, value); }
    // Serial number rows 91-94, CPU 95-96, FPGA 97-98.
    void setIdentity(int s1, int s2, int s3, int s4, int c1, int c2, int f1, int f2) {
        const int values[] = {s1, s2, s3, s4, c1, c2, f1, f2};
        for (int i = 0; i < 8; ++i) setRow(91 + i, values[i]);
    }

    zr::test::SimLinkFixture fixture;
    zr::ParamAccess params{fixture.link};
    zr::AdjustDataLog log{params, fixture.relay, nullptr, 9};
    zr::LogDateTime now{2011, 5, 9, 14, 5};
    zr::test::TempDir dir;
    const fs::path path = dir.file(kFileName);
};

// The record the camera's values above give, at 9 May 2011 14:05.
const std::string kRecord =
    "2011. 5. 9 14:5,K8800042,1002,0105,150,151,152,180,170,256,-9,+8,+0,+3,-3,+0,1,2,3\r\n";

TEST(AdjustDataLogHeader, IsTheShiftJisColumnNamesWithCrLf) {
    const std::string_view header = zr::AdjustDataLog::header();
    ASSERT_EQ(header.size(), 151u);
    // 日時, in Shift-JIS, and the last column 白傷B.
    EXPECT_EQ(header.substr(0, 5), "\x93\xFA\x8E\x9E,");
    EXPECT_EQ(header.substr(144),
              "\x94\x92\x8F\x9D"
              "B\r\n");
    EXPECT_EQ(std::count(header.begin(), header.end(), ','), 18);
}

TEST(AdjustDataLogDate, FormatsLikeTheFactoryRecords) {
    struct Case {
        zr::LogDateTime when;
        const char* text;
    };
    for (const Case& c : {Case{{2011, 5, 9, 14, 5}, "2011. 5. 9 14:5,"},
                          Case{{2024, 12, 31, 0, 0}, "2024.12.31 0:0,"},
                          Case{{999, 1, 10, 9, 59}, " 999. 1.10 9:59,"}}) {
        EXPECT_EQ(zr::AdjustDataLog::dateTimeField(c.when), c.text);
    }
}

TEST_F(AdjustDataLogTest, FirstSaveWritesHeaderAndRecordReadingInOrder) {
    fixture.camera.clearLog();
    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    EXPECT_EQ(readFile(path), std::string(zr::AdjustDataLog::header()) + kRecord);
    EXPECT_EQ(
        fixture.camera.commandTexts(),
        (std::vector<std::string>{
            "9010000000", "9011000000", "9012000000", "9013000000", "9014000000", "9015000000",
            "9016000000", "9017000000", "B077000000", "B078000000", "B079000000", "B01B000000",
            "B01C000000", "B01D000000", "B014000000", "B015000000", "B016000000", "B011000000",
            "B012000000", "B013000000", "B04D000000", "B04E000000", "B04F000000"}));
    EXPECT_EQ(fixture.sink.count(), 0u);
}

TEST_F(AdjustDataLogTest, SecondSaveAppendsWithoutAnotherHeader) {
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    now = {2011, 5, 9, 14, 30};
    setRow(66, 0);
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    std::string second = kRecord;
    second.replace(second.find("14:5,"), 5, "14:30,");
    second.replace(second.find("+8,+0,"), 6, "+8,-9,");
    EXPECT_EQ(readFile(path), std::string(zr::AdjustDataLog::header()) + kRecord + second);
}

TEST_F(AdjustDataLogTest, FileWithContentGetsNoHeader) {
    writeFile(path, "old line\r\n");
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    EXPECT_EQ(readFile(path), "old line\r\n" + kRecord);
}

TEST_F(AdjustDataLogTest, TextRegistersEndAtTheirZeroBytes) {
    // "AB", "A" + 0, 0 + "C" (nothing), "DE"; CPU "1" + 0 then "2" + "3";
    // FPGA second register 0 + "5": the comma after it stays.
    setIdentity(0x4142, 0x4100, 0x0043, 0x4445, 0x3100, 0x3233, 0x3031, 0x0035);
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    const std::string file = readFile(path);
    EXPECT_EQ(file.substr(zr::AdjustDataLog::header().size()),
              "2011. 5. 9 14:5,ABADE,123,01,150,151,152,180,170,256,-9,+8,+0,+3,-3,+0,1,2,3\r\n");
}

TEST_F(AdjustDataLogTest, TextBytesGoInAsReadAndSeparatorsAreQuoted) {
    setIdentity(0xB1B2, 0x2C22, 0x3132, 0x3334, 0x3130, 0x3032, 0x3031, 0x3035);
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    const std::string record = readFile(path).substr(zr::AdjustDataLog::header().size());
    // Half-width katakana bytes as they are; "," and '"' would otherwise split the line.
    const std::string expected = "2011. 5. 9 14:5,\"\xB1\xB2,\"\"1234\",1002,0105,150,";
    EXPECT_EQ(record.substr(0, expected.size()), expected);
}

TEST_F(AdjustDataLogTest, HeldFileIsRefusedAndLeftAlone) {
    writeFile(path, "held\r\n");
    int ready[2];
    int finish[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(finish), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Another program holding the file: only async-signal-safe calls here.
        const int fd = ::open(path.c_str(), O_RDWR);
        const char ok = (fd >= 0 && ::flock(fd, LOCK_EX) == 0) ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        char byte;
        (void)!::read(finish[0], &byte, 1);
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');
    fixture.camera.clearLog();

    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::FileBusy);
    (void)!::write(finish[1], "x", 1);
    waitpid(child, nullptr, 0);
    for (int fd : {ready[0], ready[1], finish[0], finish[1]}) ::close(fd);

    const auto messages = fixture.sink.messages();
    ASSERT_EQ(messages.size(), 1u);
    const std::string name = path.string();
    EXPECT_EQ(messages[0].message.text, name + " is opend. Please close " + name);
    EXPECT_EQ(messages[0].message.caption, "Serial Number");
    EXPECT_EQ(messages[0].message.icon, zr::MsgIcon::Exclamation);
    EXPECT_EQ(readFile(path), "held\r\n");
    EXPECT_TRUE(fixture.camera.commandTexts().empty());  // nothing read

    // Released: the next save goes through.
    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
}

TEST_F(AdjustDataLogTest, DefaultPathIsInTheCurrentFolderAndNamedWhole) {
    const fs::path previous = fs::current_path();
    fs::current_path(dir.path());
    zr::AdjustDataLog plain(params, fixture.relay, nullptr, 9);
    plain.setLocalTime([this] { return now; });
    EXPECT_EQ(plain.path(), "./ZR-K880TM_AdjustData.csv");
    const int holder = ::open(kFileName.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);  // a second open file is refused as well
    EXPECT_EQ(plain.AppendAdjustDataLog(), zr::AdjustDataLog::Result::FileBusy);
    ::close(holder);
    EXPECT_EQ(plain.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    fs::current_path(previous);
    EXPECT_EQ(fixture.sink.texts(),
              std::vector<std::string>{"./ZR-K880TM_AdjustData.csv is opend. Please close "
                                       "./ZR-K880TM_AdjustData.csv"});
    EXPECT_EQ(readFile(path), std::string(zr::AdjustDataLog::header()) + kRecord);
}

TEST_F(AdjustDataLogTest, FolderThatCannotBeWrittenGivesTheOpenMessage) {
    log.setPath(dir.file("missing/" + kFileName));
    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::FileBusy);
    EXPECT_EQ(fixture.sink.count(), 1u);
}

TEST_F(AdjustDataLogTest, FailedReadWritesNoRecord) {
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    const std::string before = readFile(path);
    fixture.close();
    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::ReadFailed);
    EXPECT_EQ(readFile(path), before);
    // The link's one message for the refused read, then what became of the save.
    EXPECT_EQ(fixture.sink.texts(),
              (std::vector<std::string>{
                  "PORT isn't open.",
                  "Could not read the camera. No data was added to " + path.string() + "."}));
}

TEST_F(AdjustDataLogTest, ReadFailingHalfwayLeavesAnEmptyFileEmpty) {
    // From the CPU version on the camera falls silent: the read times out.
    fixture.camera.setFrameObserver([this](const zr::sim::ReceivedFrame& frame) {
        if (frame.text == "9014000000") {
            fixture.camera.updateFaults([](zr::sim::FaultSettings& f) { f.silent = true; });
        }
    });
    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::ReadFailed);
    fixture.camera.setFrameObserver(nullptr);
    EXPECT_EQ(readFile(path), "");
}

TEST_F(AdjustDataLogTest, WriteThatStopsHalfwayIsTakenBack) {
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    const std::string before = readFile(path);
    // A disk that fills after 20 bytes of the record.
    log.setWriter([](int fd, const void* data, size_t size) -> ssize_t {
        if (size > 20) return ::write(fd, data, 20);
        errno = ENOSPC;
        return -1;
    });
    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::WriteFailed);
    EXPECT_EQ(readFile(path), before);
    ASSERT_EQ(fixture.sink.count(), 1u);
    EXPECT_EQ(fixture.sink.texts()[0], "Could not write to " + path.string() +
                                           " (No space left on device). No data was added.");
    EXPECT_EQ(fixture.sink.messages()[0].message.caption, "Error");

    // The next record starts on its own line.
    log.setWriter([](int fd, const void* data, size_t size) { return ::write(fd, data, size); });
    EXPECT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    EXPECT_EQ(readFile(path), before + kRecord);
}

TEST_F(AdjustDataLogTest, FileSizeLimitCutsNoRecordInHalf) {
    ASSERT_EQ(log.AppendAdjustDataLog(), zr::AdjustDataLog::Result::Appended);
    const std::string before = readFile(path);
    // The real write path against a limit that ends the file mid-record.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit limited = old;
    limited.rlim_cur = before.size() + 30;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto result = log.AppendAdjustDataLog();
    setrlimit(RLIMIT_FSIZE, &old);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(result, zr::AdjustDataLog::Result::WriteFailed);
    EXPECT_EQ(readFile(path), before);
    ASSERT_EQ(fixture.sink.count(), 1u);
    EXPECT_NE(fixture.sink.texts()[0].find("File too large"), std::string::npos);
}

}  // namespace
