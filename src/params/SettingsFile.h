#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "params/CameraParamTable.h"

namespace zr {

// The camera model a settings file names in its JSON "camera" member.
inline constexpr char kSettingsFileCamera[] = "ZR-K880TM";

struct SettingsEntry {
    int row;
    int32_t value;
};

// The outcome of reading a settings file's bytes.
struct SettingsFileRead {
    int err = 0;          // errno of a failed system call, 0 otherwise
    std::string problem;  // empty when read; else what went wrong, in words
    bool ok() const { return problem.empty(); }
};

// Settings files as JSON or CSV: (name, row, value) per user setting. The
// command-line tool and the panel both write and read them through here, so
// a file from either loads in the other.
class SettingsFile {
  public:
    enum class Format { Json, Csv };

    static std::string format(const std::vector<SettingsEntry>& entries, Format format);
    // Parses a settings file (JSON when it starts with '{' or '[', CSV
    // otherwise) and checks every entry against the table: a known user row
    // (0..52), name and row agreeing, no row twice, value in the row's range,
    // and no other camera model named. On any fault returns false with a
    // message naming the first bad entry by the file's line, the setting's
    // name and its row ("line 43: knee_point (row 41) = 33 is out of range
    // (0..32)") and leaves `entries` empty.
    static bool parse(std::string_view text, const CameraParamTable& table,
                      std::vector<SettingsEntry>& entries, std::string& error);
    static Format formatForPath(std::string_view path);
    // Reads a whole regular file of at most 1 MiB into `out`. A folder, a
    // device or a pipe named by mistake is refused before it is read (a
    // device such as /dev/zero would never end).
    static SettingsFileRead read(const std::string& path, std::string& out);
};

}  // namespace zr
