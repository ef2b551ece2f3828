#pragma once

#include <string>

namespace zr::tools {

// The texts of the white spot detection window, kept apart from the window so
// that they can be checked character for character.

// The threshold read-out as the window opens: "%2d\n".
std::string thresholdOpeningText(int value);
// The threshold read-out after a move: " %d ".
std::string thresholdMovedText(int value);

// Read text of one spot coordinate: area 0x8C + colour, relative address
// 2 * spot for x (coordinate 0) and 2 * spot + 1 for y (coordinate 1).
std::string spotCoordinateReadText(int colour, int spot, int coordinate);

// One line of the spot list for the spot numbered `number` (from 1):
// "[%s]\tNo.%2d: x = %4d,  y = %4d " and CR LF.
std::string spotLine(int colour, int number, int x, int y);

// "RED", "GREEN", "BLUE" for colours 0, 1, 2.
const char* colourName(int colour);

// The message that reports a detection's final status: 0 finished, 2 too
// many spots, anything else failed.
const char* detectResultText(int status);

inline constexpr const char* kNoWhiteSpotText = "There is no white spot.";

}  // namespace zr::tools
