#include "adjust/AdjustDataLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "params/CameraParamTable.h"
#include "params/RegisterText.h"

namespace zr {
namespace {

// "日時,シリアルNo.,CPU Ver.,FPGA ver.,サブ電圧R,サブ電圧G,サブ電圧B,ゲインR,ゲインG,ゲインB,
// レジRH,レジGH,レジBH,レジRV,レジGV,レジBV,白傷R,白傷G,白傷B" in Shift-JIS (149 bytes), CR LF.
// The factory's spreadsheets read the file in that code page.
constexpr unsigned char kHeader[] = {
    0x93, 0xFA, 0x8E, 0x9E, 0x2C, 0x83, 0x56, 0x83, 0x8A, 0x83, 0x41, 0x83, 0x8B, 0x4E, 0x6F, 0x2E,
    0x2C, 0x43, 0x50, 0x55, 0x20, 0x56, 0x65, 0x72, 0x2E, 0x2C, 0x46, 0x50, 0x47, 0x41, 0x20, 0x76,
    0x65, 0x72, 0x2E, 0x2C, 0x83, 0x54, 0x83, 0x75, 0x93, 0x64, 0x88, 0xB3, 0x52, 0x2C, 0x83, 0x54,
    0x83, 0x75, 0x93, 0x64, 0x88, 0xB3, 0x47, 0x2C, 0x83, 0x54, 0x83, 0x75, 0x93, 0x64, 0x88, 0xB3,
    0x42, 0x2C, 0x83, 0x51, 0x83, 0x43, 0x83, 0x93, 0x52, 0x2C, 0x83, 0x51, 0x83, 0x43, 0x83, 0x93,
    0x47, 0x2C, 0x83, 0x51, 0x83, 0x43, 0x83, 0x93, 0x42, 0x2C, 0x83, 0x8C, 0x83, 0x57, 0x52, 0x48,
    0x2C, 0x83, 0x8C, 0x83, 0x57, 0x47, 0x48, 0x2C, 0x83, 0x8C, 0x83, 0x57, 0x42, 0x48, 0x2C, 0x83,
    0x8C, 0x83, 0x57, 0x52, 0x56, 0x2C, 0x83, 0x8C, 0x83, 0x57, 0x47, 0x56, 0x2C, 0x83, 0x8C, 0x83,
    0x57, 0x42, 0x56, 0x2C, 0x94, 0x92, 0x8F, 0x9D, 0x52, 0x2C, 0x94, 0x92, 0x8F, 0x9D, 0x47, 0x2C,
    0x94, 0x92, 0x8F, 0x9D, 0x42, 0x0D, 0x0A};
static_assert(sizeof kHeader == 149 + 2);

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    const int n = std::snprintf(nullptr, 0, fmt, args...);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), fmt, args...);
    out.pop_back();
    return out;
}

// The file's name as the messages show it: what follows the last backslash,
// which for a path without one is the whole path.
std::string displayName(const std::string& path) {
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class FileHandle {
  public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);  // also releases the lock
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

AdjustDataLog::AdjustDataLog(ParamAccess& params, MessageRelay& messages, MsgOwner owner,
                             int32_t registrationCentre)
    : params_(params),
      messages_(messages),
      owner_(owner),
      registrationCentre_(registrationCentre),
      writer_([](int fd, const void* data, size_t size) { return ::write(fd, data, size); }) {}

std::string_view AdjustDataLog::header() {
    return {reinterpret_cast<const char*>(kHeader), sizeof kHeader};
}

std::string AdjustDataLog::dateTimeField(const LogDateTime& when) {
    return format("%4d.%2d.%2d %d:%d,", when.year, when.month, when.day, when.hour, when.minute);
}

std::string AdjustDataLog::textField(std::string_view bytes) {
    if (bytes.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(bytes);
    std::string quoted = "\"";
    for (char c : bytes) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

LogDateTime AdjustDataLog::systemLocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
}

AdjustDataLog::Result AdjustDataLog::AppendAdjustDataLog() {
    const std::string name = displayName(path_);
    int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        fd = -1;
    }
    if (fd < 0) {
        show(format("%s is opend. Please close %s", name.c_str(), name.c_str()), "Serial Number");
        return Result::FileBusy;
    }
    FileHandle file(fd);

    const off_t end = ::lseek(fd, 0, SEEK_END);
    if (end < 0) {
        show(format("Could not write to %s (%s). No data was added.", name.c_str(),
                    std::strerror(errno)),
             "Error");
        return Result::WriteFailed;
    }
    std::string bytes;
    if (end == 0) bytes += header();
    bytes += dateTimeField(localTime_ ? localTime_() : systemLocalTime());
    if (!readRecord(bytes)) {
        // The link has already said why; a record with guessed values would
        // pass for the camera's data in the factory's records.
        show(format("Could not read the camera. No data was added to %s.", name.c_str()), "Error");
        return Result::ReadFailed;
    }
    if (!writeAll(fd, bytes)) {
        const int error = errno;
        // Take back whatever part went in, so the next record starts on a line of its own.
        const bool restored = ::ftruncate(fd, end) == 0;
        show(format("Could not write to %s (%s). No data was added.%s", name.c_str(),
                    std::strerror(error),
                    restored ? "" : " The end of the file may hold an incomplete line."),
             "Error");
        return Result::WriteFailed;
    }
    return Result::Appended;
}

bool AdjustDataLog::readRecord(std::string& record) {
    int32_t value = 0;
    auto read = [&](int row) { return params_.ReadParam(row, value) == 0; };
    // Columns in the order they are read: serial number, CPU and FPGA
    // versions as text, then the values of consecutive rows.
    auto text = [&](int firstRow, int rows) {
        std::string bytes;
        for (int row = firstRow; row < firstRow + rows; ++row) {
            if (!read(row)) return false;
            bytes += register_text::cutAtZero(register_text::chars(value));
        }
        record += textField(bytes) + ",";
        return true;
    };
    auto numbers = [&](int firstRow, int lastRow, const char* fmt, int32_t offset) {
        for (int row = firstRow; row <= lastRow; ++row) {
            if (!read(row)) return false;
            record += format(fmt, value - offset);
        }
        return true;
    };
    if (!text(ROW_SERIAL_NUMBER, SerialNumberRows) || !text(ROW_CPU_VERSION, 2) ||
        !text(ROW_FPGA_VERSION, 2) || !numbers(ROW_SUB_VOLTAGE_R, ROW_ADJUST_GAIN_B, "%d,", 0) ||
        !numbers(ROW_H_REGISTRATION_R, ROW_V_REGISTRATION_B, "%+d,", registrationCentre_) ||
        !numbers(ROW_WHITE_SPOT_R, ROW_WHITE_SPOT_B, "%d,", 0)) {
        return false;
    }
    record.back() = '\r';  // the last column ends the line
    record += '\n';
    return true;
}

bool AdjustDataLog::writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = writer_(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

void AdjustDataLog::show(const std::string& text, const char* caption) {
    messages_.show(
        {.text = text, .caption = caption, .icon = MsgIcon::Exclamation, .owner = owner_});
}

}  // namespace zr
