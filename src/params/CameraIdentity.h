#pragma once

#include <optional>
#include <string>

namespace zr {

class ParamAccess;

// The camera's identity texts as its registers hold them: the bytes up to the
// first zero byte, nothing where a read failed.
struct CameraIdentity {
    std::optional<std::string> vendor;
    std::optional<std::string> model;
    std::optional<std::string> cpuVersion;
    std::optional<std::string> fpgaVersion;
    std::optional<std::string> serialNumber;

    // Reads the identity registers in the adjustment window's order: vendor,
    // model, CPU and FPGA versions, serial number. A failed read ends its own
    // text only; the next text is read all the same.
    static CameraIdentity read(ParamAccess& params);
};

}  // namespace zr
