#include "params/FileErrorText.h"

#include <cerrno>

namespace zr {

FileErrorCause fileErrorCause(int err) {
    switch (err) {
        case 0:
            return FileErrorCause::None;
        case ENOENT:
            return FileErrorCause::NotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EINVAL:
            return FileErrorCause::BadPath;
        case EMFILE:
        case ENFILE:
            return FileErrorCause::TooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return FileErrorCause::AccessDenied;
        case EMLINK:
            return FileErrorCause::DirectoryFull;
        case ETXTBSY:
        case EBUSY:
            return FileErrorCause::SharingViolation;
        case ENOLCK:
        case EDEADLK:
            return FileErrorCause::LockViolation;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileErrorCause::DiskFull;
        case EIO:
        case ENXIO:
        case ENODEV:
            return FileErrorCause::HardIO;
        default:
            return FileErrorCause::Generic;
    }
}

std::string fileErrorMessage(FileErrorCause cause, const std::string& path) {
    const std::string name = path.empty() ? std::string("an unnamed file") : path;
    switch (cause) {
        case FileErrorCause::None:
            return {};
        case FileErrorCause::NotFound:
            return name + " was not found.";
        case FileErrorCause::BadPath:
            return name + " contains an invalid path.";
        case FileErrorCause::TooManyOpenFiles:
            return name + " could not be opened because there are too many open files.";
        case FileErrorCause::AccessDenied:
            return "Access to " + name + " was denied.";
        case FileErrorCause::DirectoryFull:
            return name + " could not be created because the directory is full.";
        case FileErrorCause::SharingViolation:
            return "A sharing violation occurred while accessing " + name + ".";
        case FileErrorCause::LockViolation:
            return "A locking violation occurred while accessing " + name + ".";
        case FileErrorCause::DiskFull:
            return "Disk full while accessing " + name + ".";
        case FileErrorCause::HardIO:
            return "A hardware I/O error was reported while accessing " + name + ".";
        case FileErrorCause::Generic:
            return "An unknown error occurred while accessing " + name + ".";
    }
    return {};
}

}  // namespace zr
