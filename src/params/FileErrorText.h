#pragma once

#include <string>

namespace zr {

// Why a file could not be opened, created, read or written, in the terms the
// user is shown.
enum class FileErrorCause {
    None,
    NotFound,
    BadPath,
    TooManyOpenFiles,
    AccessDenied,
    DirectoryFull,
    SharingViolation,
    LockViolation,
    DiskFull,
    HardIO,
    Generic,
};

// The cause of a failed POSIX file operation, from its errno.
FileErrorCause fileErrorCause(int err);

// The message for a cause, naming the file ("an unnamed file" for an empty path).
std::string fileErrorMessage(FileErrorCause cause, const std::string& path);
// The message for a failed POSIX operation on `path` with errno `err`; a
// missing folder on the way reads as a bad path, not a missing file.
std::string fileErrorMessage(int err, const std::string& path);

}  // namespace zr
