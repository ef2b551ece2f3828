// Table files: loading, and saving back the same table; the file error texts.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "params/FileErrorText.h"
#include "params/LutFile.h"
#include "support/TempDir.h"

namespace {

using zr::test::readFile;
using zr::test::TempDir;

namespace fs = std::filesystem;
using zr::FileErrorCause;

zr::LutTable sampleTable() {
    zr::LutTable table{};
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 256; ++i) table[c][i] = (255 - i + 40 * c) % 256;
    }
    return table;
}

TEST(LutFile, SaveThenLoadGivesTheSameTable) {
    TempDir dir;
    const std::string path = dir.file("table.csv");
    ASSERT_FALSE(zr::saveLutFile(path, sampleTable()).fileFailed());
    EXPECT_EQ(readFile(path), zr::formatLutCsv(sampleTable()));
    zr::LutTable loaded = zr::identityLut();
    const auto result = zr::loadLutFile(path, loaded);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(loaded, sampleTable());
    EXPECT_EQ(dir.entries(), 1u) << "no temporary file is left behind";
}

TEST(LutFile, LoadFailuresLeaveTheTableAlone) {
    TempDir dir;
    fs::create_directory(dir.file("folder"));
    struct Case {
        std::string path;
        FileErrorCause cause;
    } cases[] = {
        {dir.file("missing.csv"), FileErrorCause::NotFound},
        {dir.file("nofolder/missing.csv"), FileErrorCause::BadPath},
        {dir.file("folder"), FileErrorCause::AccessDenied},
        {"/dev/null", FileErrorCause::AccessDenied},
    };
    for (const Case& c : cases) {
        zr::LutTable table = sampleTable();
        const auto result = zr::loadLutFile(c.path, table);
        EXPECT_TRUE(result.fileFailed()) << c.path;
        EXPECT_EQ(result.cause(), c.cause) << c.path;
        EXPECT_EQ(table, sampleTable()) << c.path;
    }
}

struct ErrnoCase {
    int err;
    FileErrorCause cause;
};

TEST(FileErrorText, ErrnoMapsToCause) {
    const ErrnoCase cases[] = {
        {ENOENT, FileErrorCause::NotFound},
        {ENAMETOOLONG, FileErrorCause::BadPath},
        {EMFILE, FileErrorCause::TooManyOpenFiles},
        {EROFS, FileErrorCause::AccessDenied},
        {ETXTBSY, FileErrorCause::SharingViolation},
        {ENOSPC, FileErrorCause::DiskFull},
        {EIO, FileErrorCause::HardIO},
        {EOVERFLOW, FileErrorCause::Generic},
    };
    for (const ErrnoCase& c : cases) EXPECT_EQ(zr::fileErrorCause(c.err), c.cause) << c.err;
}

TEST(FileErrorText, MessagesNameTheFile) {
    const std::pair<FileErrorCause, std::string> cases[] = {
        {FileErrorCause::NotFound, "/t/a.csv was not found."},
        {FileErrorCause::BadPath, "/t/a.csv contains an invalid path."},
        {FileErrorCause::TooManyOpenFiles,
         "/t/a.csv could not be opened because there are too many open files."},
        {FileErrorCause::AccessDenied, "Access to /t/a.csv was denied."},
        {FileErrorCause::DirectoryFull,
         "/t/a.csv could not be created because the directory is full."},
        {FileErrorCause::SharingViolation,
         "A sharing violation occurred while accessing /t/a.csv."},
        {FileErrorCause::LockViolation, "A locking violation occurred while accessing /t/a.csv."},
        {FileErrorCause::DiskFull, "Disk full while accessing /t/a.csv."},
        {FileErrorCause::HardIO, "A hardware I/O error was reported while accessing /t/a.csv."},
        {FileErrorCause::Generic, "An unknown error occurred while accessing /t/a.csv."},
    };
    for (const auto& [cause, text] : cases)
        EXPECT_EQ(zr::fileErrorMessage(cause, "/t/a.csv"), text);
    EXPECT_EQ(zr::fileErrorMessage(FileErrorCause::NotFound, ""), "an unnamed file was not found.");
}

}  // namespace
