#pragma once

#include <string>

namespace zr::panel {

// Exposure time in microseconds of a variable shutter position: each step of
// 256 multiplies the time by ten; inside a step the time runs linearly from
// 1 to 9.96484375 times the step's base of 10 microseconds times 10^step.
double exposureMicroseconds(int position);

// The read-out texts of the scroll bars.
std::string exposureText(int position);    // variable shutter
std::string gainText(int position);        // gain level in dB
std::string plainValueText(int position);  // every other scroll bar

// The text for the read-out of scroll bar `scrollId`.
std::string readoutText(int scrollId, int position);

}  // namespace zr::panel
