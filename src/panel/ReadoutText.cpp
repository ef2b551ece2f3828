#include "panel/ReadoutText.h"

#include <cmath>
#include <cstdio>

#include "panel/PanelControlIds.h"

namespace zr::panel {

namespace {

// printf into a string of the size the text needs: a camera value far
// outside the row's range gives a long text, never a cut or overrun buffer.
template <typename T>
std::string format(const char* fmt, T value) {
    const int size = std::snprintf(nullptr, 0, fmt, value);
    if (size <= 0) return {};
    std::string text(static_cast<size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), fmt, value);
    text.resize(static_cast<size_t>(size));
    return text;
}

constexpr double kGainDbPerStep = 0.03519;

}  // namespace

double exposureMicroseconds(int position) {
    const int decade = position / 256;
    const int step = position % 256;
    return std::pow(10.0, decade + 1) * (1.0 + 9.0 * step / 256.0);
}

std::string exposureText(int position) {
    const double t = exposureMicroseconds(position);
    if (position <= 1023) return format("1/%.2f sec", 1000000.0 / t);
    if (position <= 1279) return format("1/%.3f sec", 1000000.0 / t);
    return format("%.2f sec", t / 1000000.0);
}

std::string gainText(int position) {
    return format("%2.2f dB", position * kGainDbPerStep);
}

std::string plainValueText(int position) {
    return format(" %d ", position);
}

std::string readoutText(int scrollId, int position) {
    if (scrollId == IDC_VSHUTTER_SCROLL) return exposureText(position);
    if (scrollId == IDC_GAIN_SCROLL) return gainText(position);
    return plainValueText(position);
}

}  // namespace zr::panel
