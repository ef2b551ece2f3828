// The calls on one setting at a time: what a setting is, reading and setting
// its value, and a raw command of the camera's own; and the identity texts.

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "ApiCall.h"
#include "params/ParamNames.h"

using namespace zr::lib;

namespace {

// A setting's row by its name or row text.
ApiError findRow(const char* nameOrRow, int& row) {
    if (!nameOrRow) return missing("the setting's name");
    const auto found = zr::ParamNames::find(nameOrRow);
    if (!found)
        return apiFail(ZRK880_ERR_INPUT,
                       "unknown setting \"" + std::string(nameOrRow) + "\" (see: zrk880ctl names)");
    row = *found;
    return apiOk();
}

// A text into its fixed array, cut to fit and ended with a zero; empty when
// it could not be read.
template <size_t N>
void copyText(char (&out)[N], const std::optional<std::string>& text) {
    const size_t length = text ? std::min(text->size(), N - 1) : 0;
    if (length > 0) std::memcpy(out, text->data(), length);
    out[length] = '\0';
}

}  // namespace

extern "C" {

int zrk880_setting_info(const char* nameOrRow, zrk880_setting* info) {
    return guarded([&] {
        int row = 0;
        if (ApiError e = findRow(nameOrRow, row); !e.ok()) return e;
        if (!info) return missing("the setting's info");
        const zr::CameraParam& p = zr::CameraParamTable::defaults()[row];
        *info = {row, zr::ParamNames::name(row).data(), p.minValue, p.maxValue, p.defaultValue};
        return apiOk();
    });
}

const char* zrk880_setting_name(int row) {
    if (row < 0 || row >= zr::CameraParamRows) return nullptr;
    const std::string_view name = zr::ParamNames::name(row);
    return name.empty() ? nullptr : name.data();
}

int zrk880_get(zrk880_camera* handle, const char* nameOrRow, int32_t* value) {
    return onCamera(handle, [&](Camera& camera) {
        ApiError e;
        int row = 0;
        if (e = findRow(nameOrRow, row); !e.ok()) return e;
        if (!value) return missing("the value's address");
        int32_t read = 0;
        e = camera.get(row, read);
        if (e.ok()) *value = read;
        return e;
    });
}

int zrk880_set(zrk880_camera* handle, const char* nameOrRow, int32_t value) {
    return onCamera(handle, [&](Camera& camera) {
        ApiError e;
        int row = 0;
        if (e = findRow(nameOrRow, row); !e.ok()) return e;
        if (row == zr::ROW_MEMORY_LOAD || row == zr::ROW_MEMORY_SAVE ||
            row == zr::ROW_FACTORY_SETTING)
            return apiFail(ZRK880_ERR_INPUT,
                           std::string(zr::ParamNames::name(row)) +
                               " is a command register: load or save a memory, or run the "
                               "factory setting, with their own calls");
        return camera.set(row, value);
    });
}

int zrk880_command(zrk880_camera* handle, const char* text, uint8_t answer[3], int* answered) {
    if (answered) *answered = 0;
    return onCamera(handle, [&](Camera& camera) {
        if (!text) return missing("the command text");
        if (!*text) return apiFail(ZRK880_ERR_INPUT, "the command text is empty");
        zr::AnswerBytes bytes{};
        bool read = false;
        ApiError e = camera.command(text, bytes, read);
        if (read && answer) std::memcpy(answer, bytes.data(), 3);
        if (answered) *answered = read ? 1 : 0;
        return e;
    });
}

int zrk880_identity(zrk880_camera* handle, zrk880_identity_texts* texts) {
    return onCamera(handle, [&](Camera& camera) {
        if (!texts) return missing("the identity texts' address");
        zr::CameraIdentity identity;
        ApiError e = camera.identity(identity);
        copyText(texts->vendor, identity.vendor);
        copyText(texts->model, identity.model);
        copyText(texts->serial_number, identity.serialNumber);
        copyText(texts->cpu_version, identity.cpuVersion);
        copyText(texts->fpga_version, identity.fpgaVersion);
        return e;
    });
}

}  // extern "C"
