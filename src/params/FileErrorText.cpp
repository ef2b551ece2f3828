#include "params/FileErrorText.h"

#include <cerrno>
#include <iterator>
#include <utility>

#include "params/SafeFileReplace.h"

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
    // The words before and after the file's name, in the order of the causes.
    static constexpr std::pair<const char*, const char*> kTexts[] = {
        {"", ""},
        {"", " was not found."},
        {"", " contains an invalid path."},
        {"", " could not be opened because there are too many open files."},
        {"Access to ", " was denied."},
        {"", " could not be created because the directory is full."},
        {"A sharing violation occurred while accessing ", "."},
        {"A locking violation occurred while accessing ", "."},
        {"Disk full while accessing ", "."},
        {"A hardware I/O error was reported while accessing ", "."},
        {"An unknown error occurred while accessing ", "."},
    };
    static_assert(std::size(kTexts) == static_cast<size_t>(FileErrorCause::Generic) + 1);
    const auto index = static_cast<size_t>(cause);
    if (cause == FileErrorCause::None || index >= std::size(kTexts)) return {};
    const std::string name = path.empty() ? std::string("an unnamed file") : path;
    return kTexts[index].first + name + kTexts[index].second;
}

std::string fileErrorMessage(int err, const std::string& path) {
    return fileErrorMessage(fileErrorCause(refineMissingFile(err, path)), path);
}

}  // namespace zr
