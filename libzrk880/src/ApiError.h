#pragma once

#include <string>

#include "zrk880.h"

namespace zr::lib {

// What a call hands back to its caller: a result code and, on failure, the
// message the panel would have shown.
struct ApiError {
    int code = ZRK880_OK;
    std::string text;

    bool ok() const { return code == ZRK880_OK; }
};

inline ApiError apiOk() {
    return {};
}
inline ApiError apiFail(int code, std::string text) {
    return {code, std::move(text)};
}

}  // namespace zr::lib
