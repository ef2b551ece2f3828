#include "tools/WhiteSpotFormat.h"

#include <cstdio>

namespace zr::tools {

std::string thresholdOpeningText(int value) {
    char text[24];
    std::snprintf(text, sizeof text, "%2d\n", value);
    return text;
}

std::string thresholdMovedText(int value) {
    char text[24];
    std::snprintf(text, sizeof text, " %d ", value);
    return text;
}

std::string spotCoordinateReadText(int colour, int spot, int coordinate) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X000000", (0x8C + colour) & 0xFF,
                  (2 * spot + coordinate) & 0xFF);
    return text;
}

const char* colourName(int colour) {
    switch (colour) {
        case 0:
            return "RED";
        case 1:
            return "GREEN";
        default:
            return "BLUE";
    }
}

std::string spotLine(int colour, int number, int x, int y) {
    char text[80];
    std::snprintf(text, sizeof text, "[%s]\tNo.%2d: x = %4d,  y = %4d %s", colourName(colour),
                  number, x, y, "\r\n");
    return text;
}

const char* detectResultText(int status) {
    switch (status) {
        case 0:
            return "Detect is finished.";
        case 2:
            return "Number of detect is over.";
        default:
            // The camera's wording, kept as users know it.
            return "Detetion is failed. Please retly.";
    }
}

}  // namespace zr::tools
