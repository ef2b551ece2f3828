// The calls on the camera's settings as a whole: snapshots to a text or a
// file, restoring and comparing them, and the camera's setting memories.

#include <cstring>
#include <string>
#include <vector>

#include "ApiCall.h"
#include "params/FileErrorText.h"
#include "params/ParamNames.h"
#include "params/SafeFileReplace.h"
#include "params/SettingsFile.h"

using namespace zr::lib;

namespace {

ApiError parseSettings(const char* text, size_t length, std::vector<zr::SettingsEntry>& entries,
                       const std::string& source = {}) {
    if (!text && length > 0) return missing("the settings text");
    std::string error;
    static const zr::CameraParamTable table;
    if (!zr::SettingsFile::parse(std::string_view(text ? text : "", length), table, entries, error))
        return apiFail(ZRK880_ERR_INPUT, source.empty() ? error : source + ": " + error);
    return apiOk();
}

ApiError readSettingsFile(const char* path, std::vector<zr::SettingsEntry>& entries) {
    if (!path) return missing("the file name");
    std::string text;
    const zr::SettingsFileRead read = zr::SettingsFile::read(path, text);
    if (!read.ok()) return apiFail(ZRK880_ERR_FILE, std::string(path) + ": " + read.problem);
    return parseSettings(text.data(), text.size(), entries, path);
}

ApiError differencesOut(const std::vector<zr::lib::SettingDifference>& found,
                        zrk880_difference* out, size_t* count) {
    const size_t room = *count;
    for (size_t i = 0; i < found.size() && i < room; ++i) {
        const int row = found[i].row;
        out[i] = {row, zr::ParamNames::name(row).data(), found[i].camera, found[i].file,
                  zr::CameraParamTable::defaults()[row].defaultValue};
    }
    *count = found.size();
    if (found.size() > room)
        return apiFail(ZRK880_ERR_BUFFER,
                       std::to_string(found.size()) + " settings differ, more than the room given");
    return apiOk();
}

// Settings given as a text or as a file's name.
struct SettingsSource {
    const char* text;
    size_t length;
    const char* path;
    bool fromFile = false;

    ApiError read(std::vector<zr::SettingsEntry>& entries) const {
        return fromFile ? readSettingsFile(path, entries) : parseSettings(text, length, entries);
    }
};

int restoreSettings(zrk880_camera* handle, const SettingsSource& source, int* written) {
    return onCamera(handle, [&](Camera& camera) {
        std::vector<zr::SettingsEntry> entries;
        if (ApiError e = source.read(entries); !e.ok()) return e;
        int count = 0;
        ApiError e = camera.restore(std::move(entries), count);
        if (written) *written = count;
        return e;
    });
}

int compareSettings(zrk880_camera* handle, const SettingsSource& source,
                    zrk880_difference* differences, size_t* count) {
    return onCamera(handle, [&](Camera& camera) {
        if (!count) return missing("the count's address");
        if (!differences && *count > 0) return missing("the differences");
        std::vector<zr::SettingsEntry> entries;
        if (ApiError e = source.read(entries); !e.ok()) return e;
        std::vector<zr::lib::SettingDifference> found;
        if (ApiError e = camera.compare(entries, found); !e.ok()) return e;
        return differencesOut(found, differences, count);
    });
}

}  // namespace

extern "C" {

int zrk880_snapshot(zrk880_camera* handle, zrk880_format format, char* buffer, size_t* size) {
    return onCamera(handle, [&](Camera& camera) {
        ApiError e;
        if (!size) return missing("the size's address");
        if (format != ZRK880_FORMAT_JSON && format != ZRK880_FORMAT_CSV)
            return apiFail(ZRK880_ERR_INPUT, "unknown format " + std::to_string(format));
        std::string text;
        e = camera.snapshot(format == ZRK880_FORMAT_CSV ? zr::SettingsFile::Format::Csv
                                                        : zr::SettingsFile::Format::Json,
                            text);
        if (!e.ok()) return e;
        const size_t room = buffer ? *size : 0;
        *size = text.size();
        if (room <= text.size())
            return apiFail(ZRK880_ERR_BUFFER,
                           "the snapshot takes " + std::to_string(text.size() + 1) + " bytes");
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return apiOk();
    });
}

int zrk880_snapshot_file(zrk880_camera* handle, const char* path) {
    return onCamera(handle, [&](Camera& camera) {
        ApiError e;
        if (!path) return missing("the file name");
        std::string text;
        e = camera.snapshot(zr::SettingsFile::formatForPath(path), text);
        if (!e.ok()) return e;
        // A failed write never destroys the snapshot that was there.
        if (const int err = zr::replaceFileSafely(path, text); err != 0)
            return apiFail(ZRK880_ERR_FILE, zr::fileErrorMessage(err, path));
        return apiOk();
    });
}

int zrk880_restore(zrk880_camera* handle, const char* text, size_t length, int* written) {
    return restoreSettings(handle, {text, length, nullptr}, written);
}

int zrk880_restore_file(zrk880_camera* handle, const char* path, int* written) {
    return restoreSettings(handle, {nullptr, 0, path, true}, written);
}

int zrk880_compare(zrk880_camera* handle, const char* text, size_t length,
                   zrk880_difference* differences, size_t* count) {
    return compareSettings(handle, {text, length, nullptr}, differences, count);
}

int zrk880_compare_file(zrk880_camera* handle, const char* path, zrk880_difference* differences,
                        size_t* count) {
    return compareSettings(handle, {nullptr, 0, path, true}, differences, count);
}

int zrk880_load_memory(zrk880_camera* handle, int memory) {
    return onCamera(handle, [&](Camera& camera) {
        if (memory < 0 || memory > 4)
            return apiFail(
                ZRK880_ERR_INPUT,
                std::to_string(memory) + " is not a setting memory (0 DEFAULT, 1-4 FILE1-FILE4)");
        return camera.loadMemory(memory);
    });
}

int zrk880_save_memory(zrk880_camera* handle, int memory) {
    return onCamera(handle, [&](Camera& camera) {
        if (memory < 1 || memory > 4)
            return apiFail(ZRK880_ERR_INPUT,
                           std::to_string(memory) + " is not a setting memory (1-4 FILE1-FILE4)");
        return camera.saveMemory(memory);
    });
}

int zrk880_factory_setting(zrk880_camera* handle) {
    return onCamera(handle, [&](Camera& camera) { return camera.factorySetting(); });
}

}  // extern "C"
