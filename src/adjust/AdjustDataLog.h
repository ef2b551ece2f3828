#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "link/Message.h"
#include "link/MessageRelay.h"
#include "params/ParamAccess.h"

namespace zr {

// Local date and time of a save, as the log's first column shows it.
struct LogDateTime {
    int year;
    int month;  // 1-12
    int day;
    int hour;
    int minute;
};

// The adjustment data log: one CSV record per save with the camera's serial
// number, versions and every adjustment value, read fresh from the camera.
// Records accumulate in one file that the factory opens in a spreadsheet.
//
// The file is locked exclusively while a record is added. A record is built
// in memory while the registers are read and written in one piece; a record
// that cannot be read completely or written completely is not left in the
// file, so the file never holds a partial or made-up line.
class AdjustDataLog {
  public:
    static constexpr const char* DefaultPath = "./ZR-K880TM_AdjustData.csv";

    enum class Result { Appended, FileBusy, ReadFailed, WriteFailed };

    using LocalTime = std::function<LogDateTime()>;
    // write(2)-like: bytes written or -1 with errno set.
    using Writer = std::function<ssize_t(int fd, const void* data, size_t size)>;

    AdjustDataLog(ParamAccess& params, MessageRelay& messages, MsgOwner owner,
                  int32_t registrationCentre);

    void setPath(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }
    void setLocalTime(LocalTime localTime) { localTime_ = std::move(localTime); }
    void setWriter(Writer writer) { writer_ = std::move(writer); }

    // Adds one record (and the header line when the file is empty).
    Result AppendAdjustDataLog();

    // The header line in Shift-JIS, CR LF included.
    static std::string_view header();
    // "%4d.%2d.%2d %d:%d,"
    static std::string dateTimeField(const LogDateTime& when);
    // A text column as it goes into the file: quoted only when its bytes would
    // otherwise break the line into other columns or lines.
    static std::string textField(std::string_view bytes);
    static LogDateTime systemLocalTime();

  private:
    // Reads the columns after the date into `record`; false at the first failed read.
    bool readRecord(std::string& record);
    bool writeAll(int fd, std::string_view bytes);
    void show(const std::string& text, const char* caption);

    ParamAccess& params_;
    MessageRelay& messages_;
    MsgOwner owner_;
    int32_t registrationCentre_;
    std::string path_ = DefaultPath;
    LocalTime localTime_;
    Writer writer_;
};

}  // namespace zr
