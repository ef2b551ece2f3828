#include "params/ParamNames.h"

#include <charconv>

#include "params/CameraParamTable.h"

namespace zr {

std::string_view ParamNames::name(int row) {
    if (row < 0 || row >= CameraParamRows) return {};
    return CameraParamTable::defaults()[static_cast<size_t>(row)].name;
}

std::optional<int> ParamNames::find(std::string_view nameOrRow) {
    if (nameOrRow.empty()) return std::nullopt;
    int row = -1;
    auto [end, ec] = std::from_chars(nameOrRow.data(), nameOrRow.data() + nameOrRow.size(), row);
    if (ec == std::errc() && end == nameOrRow.data() + nameOrRow.size()) {
        return name(row).empty() ? std::nullopt : std::optional<int>(row);
    }
    for (int r = 0; r < CameraParamRows; ++r)
        if (name(r) == nameOrRow) return r;
    return std::nullopt;
}

}  // namespace zr
