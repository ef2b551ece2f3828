#pragma once

#include <cstdio>
#include <cstdlib>

namespace zr::fuzz {

// Ends the run on a broken invariant, naming it, so the fuzzer keeps the input.
inline void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace zr::fuzz
