// The calls on the camera's look-up tables: reading and writing them, and
// loading and saving them as CSV files.

#include <string>

#include "ApiCall.h"
#include "params/FileErrorText.h"
#include "params/LutFile.h"

using namespace zr::lib;

namespace {

zr::LutTable tableFrom(const uint8_t* bytes) {
    zr::LutTable table{};
    for (int c = 0; c < zr::kLutChannels; ++c)
        for (int i = 0; i < zr::kLutEntries; ++i) table[c][i] = bytes[c * zr::kLutEntries + i];
    return table;
}

void copyTable(const zr::LutTable& table, uint8_t* bytes) {
    for (int c = 0; c < zr::kLutChannels; ++c)
        for (int i = 0; i < zr::kLutEntries; ++i)
            bytes[c * zr::kLutEntries + i] = static_cast<uint8_t>(table[c][i]);
}

zr::LutProgress progressOf(zrk880_progress_fn progress, void* user) {
    if (!progress) return {};
    return [progress, user](int done, int total, int channel) {
        zr::lib::CallbackScope scope;
        return progress(done, total, channel, user) == 0;
    };
}

}  // namespace

extern "C" {

int zrk880_lut_read(zrk880_camera* handle, uint8_t table[ZRK880_LUT_SIZE],
                    zrk880_progress_fn progress, void* user) {
    return onCamera(handle, [&](Camera& camera) {
        ApiError e;
        if (!table) return missing("the table");
        // Entries the walk does not reach keep what the caller had there.
        zr::LutTable read = tableFrom(table);
        e = camera.lutRead(read, progressOf(progress, user));
        copyTable(read, table);
        return e;
    });
}

int zrk880_lut_write(zrk880_camera* handle, const uint8_t table[ZRK880_LUT_SIZE],
                     zrk880_progress_fn progress, void* user) {
    return onCamera(handle, [&](Camera& camera) {
        if (!table) return missing("the table");
        return camera.lutWrite(tableFrom(table), progressOf(progress, user));
    });
}

int zrk880_lut_load_csv(const char* path, uint8_t table[ZRK880_LUT_SIZE]) {
    return guarded([&] {
        if (!path) return missing("the file name");
        if (!table) return missing("the table");
        zr::LutTable loaded = zr::identityLut();
        const zr::LutFileResult result = zr::loadLutFile(path, loaded);
        if (result.fileFailed())
            return apiFail(ZRK880_ERR_FILE, zr::fileErrorMessage(result.cause(), path));
        if (!result.csv.ok())
            return apiFail(ZRK880_ERR_INPUT, std::string(path) + ": " + result.csv.message());
        copyTable(loaded, table);
        return apiOk();
    });
}

int zrk880_lut_save_csv(const char* path, const uint8_t table[ZRK880_LUT_SIZE]) {
    return guarded([&] {
        if (!path) return missing("the file name");
        if (!table) return missing("the table");
        const zr::LutFileResult result = zr::saveLutFile(path, tableFrom(table));
        if (!result.ok())
            return apiFail(ZRK880_ERR_FILE, zr::fileErrorMessage(result.cause(), path));
        return apiOk();
    });
}

}  // extern "C"
