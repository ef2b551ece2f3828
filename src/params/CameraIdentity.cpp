#include "params/CameraIdentity.h"

#include "params/ParamAccess.h"
#include "params/RegisterText.h"

namespace zr {

namespace {

// Vendor and model: up to eight registers, ending after the first one that
// holds a zero byte; the serial number: always all four.
std::optional<std::string> readText(ParamAccess& params, int firstRow, int rows, bool endAtZero) {
    std::string text;
    for (int row = firstRow; row < firstRow + rows; ++row) {
        int32_t value = 0;
        if (params.ReadParam(row, value) != 0) return std::nullopt;
        text += register_text::chars(value);
        if (endAtZero &&
            (register_text::highByte(value) == 0 || register_text::lowByte(value) == 0)) {
            break;
        }
    }
    return register_text::cutAtZero(text);
}

// A version's two registers; the second is not read when the first fails.
std::optional<std::string> readVersion(ParamAccess& params, int row,
                                       std::string (*format)(int32_t, int32_t)) {
    int32_t first = 0;
    int32_t second = 0;
    if (params.ReadParam(row, first) != 0 || params.ReadParam(row + 1, second) != 0)
        return std::nullopt;
    return format(first, second);
}

}  // namespace

CameraIdentity CameraIdentity::read(ParamAccess& params) {
    CameraIdentity identity;
    identity.vendor = readText(params, ROW_VENDOR_NAME, NameRegisterRows, true);
    identity.model = readText(params, ROW_MODEL_NAME, NameRegisterRows, true);
    identity.cpuVersion = readVersion(params, ROW_CPU_VERSION, register_text::cpuVersion);
    identity.fpgaVersion = readVersion(params, ROW_FPGA_VERSION, register_text::fpgaVersion);
    identity.serialNumber = readText(params, ROW_SERIAL_NUMBER, SerialNumberRows, false);
    return identity;
}

}  // namespace zr
