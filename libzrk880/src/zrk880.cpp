// The library's own calls: its version, result names and last error, and the
// handles: opening and closing a camera and the callbacks it reports through.

#include <memory>
#include <string>

#include "ApiCall.h"
#include "Route.h"

using namespace zr::lib;

extern "C" {

const char* zrk880_version(void) {
    return ZRK880_VERSION;
}

const char* zrk880_last_error(void) {
    return zr::lib::lastErrorText();
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
