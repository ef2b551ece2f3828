#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "params/CameraParamTable.h"

namespace zr::cli {

struct SnapshotEntry {
    int row;
    int32_t value;
};

// Settings snapshots as JSON or CSV: (name, row, value) per user setting.
class Snapshot {
  public:
    enum class Format { Json, Csv };

    static std::string format(const std::vector<SnapshotEntry>& entries, Format format);
    // Parses a snapshot (JSON when it starts with '{' or '[', CSV otherwise)
    // and checks every entry against the table: a known user row (0..52),
    // name and row agreeing, no row twice, value in the row's range. On any
    // fault returns false with a message and leaves `entries` empty.
    static bool parse(std::string_view text, const CameraParamTable& table,
                      std::vector<SnapshotEntry>& entries, std::string& error);
    static Format formatForPath(std::string_view path);
};

}  // namespace zr::cli
