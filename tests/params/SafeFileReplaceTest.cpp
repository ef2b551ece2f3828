// Replacing a file: temporary file and rename, or overwrite in place where the
// folder refuses; what is left on each failure.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <iterator>

#include "params/FileErrorText.h"
#include "params/SafeFileReplace.h"
#include "support/TempDir.h"

namespace {

using zr::test::readFile;
using zr::test::TempDir;
using zr::test::writeFile;

namespace fs = std::filesystem;
using zr::FileErrorCause;

// Longer than the old contents below, several lines with CR LF.
std::string content() {
    std::string text;
    for (int line = 0; line < 3; ++line) {
        for (int i = 0; i < 256; ++i) text += std::to_string((255 - i + 40 * line) % 256) + ",";
        text += "\r\n";
    }
    return text;
}

TEST(SafeFileReplace, ReplacesAnExistingFileAndKeepsItsPermissions) {
    TempDir dir;
    const std::string path = dir.file("old.csv");
    writeFile(path, "old content that is longer than nothing\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_FALSE(zr::replaceFileSafely(path, content()) != 0);
    EXPECT_EQ(readFile(path), content());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(SafeFileReplace, ThroughASymbolicLinkWritesItsTarget) {
    TempDir dir;
    const std::string target = dir.file("real.csv");
    const std::string link = dir.file("link.csv");
    writeFile(target, "x");
    fs::create_symlink(target, link);
    ASSERT_FALSE(zr::replaceFileSafely(link, content()) != 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), content());
}

// A file size limit makes the write itself fail, as a full disk would.
TEST(SafeFileReplace, AFailedWriteLeavesThePreviousFileWhole) {
    TempDir dir;
    const std::string path = dir.file("keep.csv");
    const std::string previous(400, '7');
    writeFile(path, previous);

    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int err = zr::replaceFileSafely(path, content());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(err, EFBIG);
    EXPECT_EQ(zr::fileErrorCause(err), FileErrorCause::DiskFull);
    EXPECT_EQ(readFile(path), previous);
    EXPECT_EQ(dir.entries(), 1u) << "the half-written temporary file is removed";
}

// Runs a replace in a child process as an ordinary user, so that permission
// bits stop it even when the tests run as root: root drops to "nobody"
// first. The child may also limit the file size. Its errno, or -1
// when the child could not run it.
constexpr uid_t kNobody = 65534;

int replaceAsUser(const std::string& path, const std::string& text, rlim_t sizeLimit) {
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
        _exit(zr::replaceFileSafely(path, text) & 0xff);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
}

// Where the folder refuses the temporary file or the rename, a file the user
// may write is overwritten in place; anything else is still refused.
TEST(SafeFileReplace, IntoAFolderTheUserMayNotWrite) {
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
        TempDir dir;
        ASSERT_EQ(::chmod(dir.file("").c_str(), 0755), 0);  // the user may pass through
        const std::string folder = dir.file("folder");
        const std::string path = folder + "/table.csv";
        ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
        if (c.fileExists) {
            writeFile(path, previous);
            ASSERT_EQ(::chmod(path.c_str(), c.fileMode), 0);
            if (!c.fileOfAnotherUser) {
                ASSERT_EQ(::chown(path.c_str(), user, user), 0);
            }
        }
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        struct stat before {};
        ::stat(path.c_str(), &before);

        EXPECT_EQ(replaceAsUser(path, content(), c.sizeLimit), c.err);
        struct stat after {};
        EXPECT_EQ(::stat(path.c_str(), &after) == 0, c.fileExists);
        if (c.fileExists) {
            EXPECT_EQ(readFile(path), c.err == 0 ? content() : previous);
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_mode, before.st_mode);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
                  c.fileExists ? 1 : 0)
            << "no temporary file is left behind";
        ::chmod(folder.c_str(), 0755);
    }
}

TEST(SafeFileReplace, IntoAMissingFolderIsAnInvalidPath) {
    TempDir dir;
    const int err = zr::replaceFileSafely(dir.file("no/such/folder.csv"), content());
    EXPECT_EQ(zr::fileErrorCause(err), FileErrorCause::BadPath);
}

// Neither is renamed away nor written to; a pipe would block the writer.
TEST(SafeFileReplace, OverAFolderOrAPipeIsRefused) {
    TempDir dir;
    fs::create_directory(dir.file("sub.csv"));
    ASSERT_EQ(::mkfifo(dir.file("pipe.csv").c_str(), 0666), 0);
    fs::create_symlink(dir.file("pipe.csv"), dir.file("link.csv"));
    EXPECT_EQ(zr::replaceFileSafely(dir.file("sub.csv"), content()), EISDIR);
    EXPECT_EQ(zr::replaceFileSafely(dir.file("pipe.csv"), content()), EACCES);
    EXPECT_EQ(zr::replaceFileSafely(dir.file("link.csv"), content()), EACCES);
    EXPECT_EQ(zr::fileErrorCause(EISDIR), FileErrorCause::AccessDenied);
    EXPECT_TRUE(fs::is_directory(dir.file("sub.csv")));
    EXPECT_TRUE(fs::is_fifo(dir.file("pipe.csv")));
    EXPECT_EQ(dir.entries(), 3u) << "no temporary file is left behind";
}

}  // namespace
