#include "params/LutFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "params/SafeFileReplace.h"

namespace zr {

LutFileResult loadLutFile(const std::string& path, LutTable& table) {
    LutFileResult result;
    // Non-blocking open so that a FIFO chosen by mistake cannot hang the window.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        result.err = refineMissingFile(errno, path);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.err = errno;
    } else if (S_ISDIR(st.st_mode)) {
        result.err = EISDIR;
    } else if (!S_ISREG(st.st_mode)) {
        result.err = EACCES;  // devices and pipes are no table files
    }
    if (result.err != 0) {
        ::close(fd);
        return result;
    }

    // Read into a copy so that a refused file leaves the table as it was.
    LutTable work = table;
    LutCsvReader reader(work);
    char buffer[4096];
    for (bool more = true; more;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.err = errno;
            break;
        }
        if (n == 0) break;
        more = reader.feed(std::string_view(buffer, static_cast<size_t>(n)));
    }
    ::close(fd);
    if (result.err != 0) return result;
    result.csv = reader.finish();
    if (result.csv.ok()) table = work;
    return result;
}

LutFileResult saveLutFile(const std::string& path, const LutTable& table) {
    LutFileResult result;
    result.err = replaceFileSafely(path, formatLutCsv(table));
    return result;
}

}  // namespace zr
