#include "params/SafeFileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace zr {

namespace {

std::string parentDirectory(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Larger files are not ours to copy whole; overwriting one in place keeps no copy.
constexpr off_t kMaxBackup = 1 << 20;

// The folder, not the file or the disk, stopped the replace.
bool refusedByFolder(int err) {
    return err == EACCES || err == EPERM || err == ENAMETOOLONG;
}

// Writes the whole of `data` from the start of the file.
int writeAllAt(int fd, std::string_view data) {
    for (off_t offset = 0; !data.empty();) {
        const ssize_t n = ::pwrite(fd, data.data(), data.size(), offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) return EIO;
        data.remove_prefix(static_cast<size_t>(n));
        offset += n;
    }
    return 0;
}

// Up to `size` bytes from the start; fewer when reading fails.
std::string readAllAt(int fd, size_t size) {
    std::string data(size, '\0');
    size_t got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, data.data() + got, size - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    data.resize(got);
    return data;
}

// Creates a new file beside the target that no one else uses.
int createTemporary(const std::string& target, std::string& tempPath) {
    const std::string stem =
        parentDirectory(target) + "/." + baseName(target) + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_string(attempt) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -errno;
    }
    return -EEXIST;
}

void syncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: the rename is already done
    ::close(fd);
}

// Writes the content to a temporary file beside the target and renames it
// over the target. `folderRefused` tells that the folder did not allow the
// temporary file or the rename; the target is untouched then.
int replaceFile(const std::string& target, std::string_view content, const mode_t* keepMode,
                bool& folderRefused) {
    folderRefused = false;
    std::string tempPath;
    const int fd = createTemporary(target, tempPath);
    if (fd < 0) {
        folderRefused = refusedByFolder(-fd);
        return refineMissingFile(-fd, tempPath);
    }
    if (keepMode != nullptr) ::fchmod(fd, *keepMode);  // harmless if refused
    int err = writeAllAt(fd, content);
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) {
        err = errno;
        folderRefused = refusedByFolder(err);
    }
    if (err != 0) {
        ::unlink(tempPath.c_str());
        return err;
    }
    syncDirectory(parentDirectory(target));
    return 0;
}

// Writes the content over the file itself: no truncation first, so a new
// content that fits needs no more room; on a failure the old bytes are put
// back as far as they can be. Only regular files; never blocks on a FIFO.
int overwriteInPlace(const std::string& target, std::string_view content) {
    const int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(target.c_str(), O_RDWR | flags);
    const bool readable = fd >= 0;
    if (!readable && errno == EACCES) fd = ::open(target.c_str(), O_WRONLY | flags);
    if (fd < 0) return errno;
    struct stat st {};
    int err = ::fstat(fd, &st) != 0 ? errno : 0;
    if (err == 0 && !S_ISREG(st.st_mode)) err = EACCES;  // devices and pipes are not replaced
    if (err != 0) {
        ::close(fd);
        return err;
    }
    std::string old;
    if (readable && st.st_size <= kMaxBackup) old = readAllAt(fd, static_cast<size_t>(st.st_size));
    err = writeAllAt(fd, content);
    if (err == 0 && ::ftruncate(fd, static_cast<off_t>(content.size())) != 0) err = errno;
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (err != 0 && old.size() == static_cast<size_t>(st.st_size)) {
        if (writeAllAt(fd, old) == 0) ::ftruncate(fd, st.st_size);  // best effort
    }
    if (::close(fd) != 0 && err == 0) err = errno;
    return err;
}

}  // namespace

int refineMissingFile(int err, const std::string& path) {
    if (err == ENOENT && !isDirectory(parentDirectory(path))) return ENOTDIR;
    return err;
}

int replaceFileSafely(const std::string& path, std::string_view content) {
    // Replace what a symbolic link points at, not the link.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    bool exists = false;
    mode_t mode = 0;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return EISDIR;
        // A device or a pipe named by mistake must not be renamed away (as
        // root, /dev/null would be) nor written to.
        if (!S_ISREG(st.st_mode)) return EACCES;
        if (::access(target.c_str(), W_OK) != 0) return errno;
        exists = true;
        mode = st.st_mode & 07777;
    }

    bool folderRefused = false;
    int err = replaceFile(target, content, exists ? &mode : nullptr, folderRefused);
    // A folder the user may not write (or a sticky one that keeps another
    // user's file in place) still lets a writable file be overwritten.
    if (folderRefused && exists) err = overwriteInPlace(target, content);
    return err;
}

}  // namespace zr
