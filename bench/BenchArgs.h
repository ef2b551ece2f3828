#pragma once

namespace zr::bench {

// A whole decimal number from a command-line argument, within low..high.
bool parseInt(const char* text, int low, int high, int& value);

}  // namespace zr::bench
