// The C functions: they check what the caller hands in, find the handle and
// turn the camera's result into a result code and the thread's last error.
// No exception crosses this boundary.

#include "zrk880.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "ApiError.h"
#include "CallbackScope.h"
#include "Camera.h"
#include "HandleTable.h"
#include "Route.h"
#include "params/FileErrorText.h"
#include "params/LutFile.h"
#include "params/ParamNames.h"
#include "params/SafeFileReplace.h"
#include "params/SettingsFile.h"

using zr::lib::ApiError;
using zr::lib::apiFail;
using zr::lib::apiOk;
using zr::lib::Camera;

namespace {

thread_local std::string lastError;

int finish(const ApiError& result) {
    lastError = result.text;
    return result.code;
}

int fail(int code, std::string text) {
    return finish(apiFail(code, std::move(text)));
}

template <class Body>
int guarded(Body&& body) noexcept {
    try {
        if (zr::lib::CallbackScope::active())
            return fail(ZRK880_ERR_INPUT, "the library cannot be called from inside its callbacks");
        return finish(body());
    } catch (const std::bad_alloc&) {
        return fail(ZRK880_ERR_INTERNAL, "out of memory");
    } catch (const std::exception& e) {
        return fail(ZRK880_ERR_INTERNAL, e.what());
    } catch (...) {
        return fail(ZRK880_ERR_INTERNAL, "unexpected failure");
    }
}

ApiError notAHandle() {
    return apiFail(ZRK880_ERR_HANDLE, "not a handle of an open camera");
}

// A call on the camera of an open handle. The share taken here keeps the
// camera alive while another thread closes its handle.
template <class Body>
int onCamera(zrk880_camera* handle, Body&& body) noexcept {
    return guarded([&] {
        auto camera = zr::lib::HandleTable::instance().find(reinterpret_cast<uintptr_t>(handle));
        return camera ? body(*camera) : notAHandle();
    });
}

ApiError missing(const char* what) {
    return apiFail(ZRK880_ERR_INPUT, std::string(what) + " is NULL");
}

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

const char* zrk880_version(void) {
    return ZRK880_VERSION;
}

const char* zrk880_last_error(void) {
    return lastError.c_str();
}

const char* zrk880_result_name(int result) {
    static const char* const names[] = {
        "ZRK880_OK",          "ZRK880_ERR_LINK",   "ZRK880_ERR_RANGE",
        "ZRK880_ERR_INPUT",   "ZRK880_ERR_PORT",   "ZRK880_ERR_FILE",
        "ZRK880_ERR_HANDLE",  "ZRK880_ERR_BUFFER", "ZRK880_ERR_CANCELLED",
        "ZRK880_ERR_INTERNAL"};
    if (result < 0 || result >= static_cast<int>(sizeof names / sizeof names[0]))
        return "ZRK880_UNKNOWN_RESULT";
    return names[result];
}

int zrk880_open_with_messages(const char* route, int baud, zrk880_message_fn message, void* user,
                              zrk880_camera** camera) {
    return guarded([&] {
        if (!camera) return missing("the handle's address");
        *camera = nullptr;
        if (!route) return missing("the route");
        zr::lib::Route parsed;
        std::string error;
        if (!zr::lib::parseRoute(route, parsed, error)) return apiFail(ZRK880_ERR_INPUT, error);
        auto opened = std::make_shared<Camera>();
        opened->setMessageCallback(message, user);
        ApiError result = opened->open(parsed, baud);
        if (!result.ok()) return result;
        *camera = reinterpret_cast<zrk880_camera*>(
            zr::lib::HandleTable::instance().add(std::move(opened)));
        return apiOk();
    });
}

int zrk880_open(const char* route, int baud, zrk880_camera** camera) {
    return zrk880_open_with_messages(route, baud, nullptr, nullptr, camera);
}

int zrk880_close(zrk880_camera* handle) {
    return guarded([&] {
        if (!handle) return apiOk();
        auto camera = zr::lib::HandleTable::instance().remove(reinterpret_cast<uintptr_t>(handle));
        if (!camera) return notAHandle();
        // After a call another thread still runs on it; the camera itself goes
        // with the last share.
        camera->close();
        return apiOk();
    });
}

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

int zrk880_set_trace(zrk880_camera* handle, zrk880_trace_fn trace, void* user) {
    return onCamera(handle, [&](Camera& camera) {
        camera.setTrace(trace, user);
        return apiOk();
    });
}

int zrk880_set_message_callback(zrk880_camera* handle, zrk880_message_fn message, void* user) {
    return onCamera(handle, [&](Camera& camera) {
        camera.setMessageCallback(message, user);
        return apiOk();
    });
}

}  // extern "C"
