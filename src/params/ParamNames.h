#pragma once

#include <optional>
#include <string_view>

namespace zr {

// Finds the table rows by their stable names (CameraParam::name), for
// scripts and snapshot files.
class ParamNames {
  public:
    // The row's name; empty for the two empty rows.
    static std::string_view name(int row);
    // A name or a decimal row number (0..101, empty rows excluded) to a row.
    static std::optional<int> find(std::string_view nameOrRow);
};

}  // namespace zr
