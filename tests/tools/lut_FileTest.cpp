#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "lut_TempDir.h"
#include "params/FileErrorText.h"
#include "params/LutFile.h"

namespace {

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
    LutTempDir dir;
    const std::string path = dir.file("table.csv");
    ASSERT_FALSE(zr::saveLutFile(path, sampleTable()).fileFailed());
    EXPECT_EQ(readAll(path), zr::formatLutCsv(sampleTable()));
    zr::LutTable loaded = zr::identityLut();
    const auto result = zr::loadLutFile(path, loaded);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(loaded, sampleTable());
    EXPECT_EQ(dir.entries(), 1u) << "no temporary file is left behind";
}

TEST(LutFile, SaveReplacesAnExistingFileAndKeepsItsPermissions) {
    LutTempDir dir;
    const std::string path = dir.file("old.csv");
    writeAll(path, "old content that is longer than nothing\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_FALSE(zr::saveLutFile(path, sampleTable()).fileFailed());
    EXPECT_EQ(readAll(path), zr::formatLutCsv(sampleTable()));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(LutFile, SaveThroughASymbolicLinkWritesItsTarget) {
    LutTempDir dir;
    const std::string target = dir.file("real.csv");
    const std::string link = dir.file("link.csv");
    writeAll(target, "x");
    fs::create_symlink(target, link);
    ASSERT_FALSE(zr::saveLutFile(link, sampleTable()).fileFailed());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readAll(target), zr::formatLutCsv(sampleTable()));
}

// A file size limit makes the write itself fail, as a full disk would.
TEST(LutFile, FailedSaveLeavesThePreviousFileWhole) {
    LutTempDir dir;
    const std::string path = dir.file("keep.csv");
    const std::string previous = zr::formatLutCsv(zr::identityLut());
    writeAll(path, previous);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = zr::saveLutFile(path, sampleTable());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result.err, EFBIG);
    EXPECT_EQ(result.cause(), FileErrorCause::DiskFull);
    EXPECT_EQ(readAll(path), previous);
    EXPECT_EQ(dir.entries(), 1u) << "the half-written temporary file is removed";
}

// Runs a save in a child process as an ordinary user, so that permission
// bits stop it even when the tests run as root: root drops to "nobody"
// first. The child may also limit the file size. The save's errno, or -1
// when the child could not run it.
constexpr uid_t kNobody = 65534;

int saveAsUser(const std::string& path, const zr::LutTable& table, rlim_t sizeLimit) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            _exit(255);
        }
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            sizeLimit, sizeLimit
        };
        if (sizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(255);
        _exit(zr::saveLutFile(path, table).err & 0xff);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

// Where the folder refuses the temporary file or the rename, a file the user
// may write is overwritten in place; anything else is still refused.
TEST(LutFile, SaveIntoAFolderTheUserMayNotWrite) {
    const bool root = ::geteuid() == 0;
    const uid_t user = root ? kNobody : ::getuid();
    const std::string previous = "previous,table,\r\n";
    struct Case {
        const char* name;
        mode_t folderMode;
        bool fileExists;
        mode_t fileMode;
        bool fileOfAnotherUser;  // needs root to arrange
        rlim_t sizeLimit;
        int err;
    } cases[] = {
        {"WritableFileInReadOnlyFolder", 0555, true, 0644, false, RLIM_INFINITY, 0},
        {"OthersWritableFileInStickyFolder", 01777, true, 0666, true, RLIM_INFINITY, 0},
        {"ReadOnlyFileInReadOnlyFolder", 0555, true, 0444, false, RLIM_INFINITY, EACCES},
        {"NewFileInReadOnlyFolder", 0555, false, 0, false, RLIM_INFINITY, EACCES},
        {"FailedInPlaceWriteKeepsTheOldContent", 0555, true, 0644, false, 100, EFBIG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fileOfAnotherUser && !root) continue;
        LutTempDir dir;
        ASSERT_EQ(::chmod(dir.file("").c_str(), 0755), 0);  // the user may pass through
        const std::string folder = dir.file("folder");
        const std::string path = folder + "/table.csv";
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        if (c.fileExists) {
            writeAll(path, previous);
            ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);
            if (!c.fileOfAnotherUser) {
                ASSERT_EQ(::chown(path.c_str(), user, user), 0);
            }
        }
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        struct stat before {};
        ::stat(path.c_str(), &before);

        EXPECT_EQ(saveAsUser(path, sampleTable(), c.sizeLimit), c.err);
        struct stat after {};
        EXPECT_EQ(::stat(path.c_str(), &after) == 0, c.fileExists);
        if (c.fileExists) {
            EXPECT_EQ(readAll(path), c.err == 0 ? zr::formatLutCsv(sampleTable()) : previous);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_mode, before.st_mode);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                  c.fileExists ? 1 : 0)
            << "no temporary file is left behind";
        ::chmod(folder.c_str(), 0755);
    }
}

TEST(LutFile, SaveIntoAMissingFolderIsAnInvalidPath) {
    LutTempDir dir;
    const auto result = zr::saveLutFile(dir.file("no/such/folder.csv"), sampleTable());
    EXPECT_EQ(result.cause(), FileErrorCause::BadPath);
}

TEST(LutFile, SaveOverAFolderIsRefused) {
    LutTempDir dir;
    fs::create_directory(dir.file("sub.csv"));
    EXPECT_EQ(zr::saveLutFile(dir.file("sub.csv"), sampleTable()).cause(),
              FileErrorCause::AccessDenied);
    EXPECT_TRUE(fs::is_directory(dir.file("sub.csv")));
}

TEST(LutFile, LoadFailuresLeaveTheTableAlone) {
    LutTempDir dir;
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
