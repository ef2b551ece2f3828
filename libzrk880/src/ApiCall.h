#pragma once

// How every C function runs its body: it checks what the caller hands in,
// finds the handle and turns the camera's result into a result code and the
// thread's last error. No exception crosses this boundary.

#include <new>
#include <string>

#include "ApiError.h"
#include "CallbackScope.h"
#include "Camera.h"
#include "HandleTable.h"
#include "zrk880.h"

namespace zr::lib {

// Keeps the result's text as the thread's last error and returns its code.
int finish(const ApiError& result);
int fail(int code, std::string text);
// The text of the thread's last result, empty after a success.
const char* lastErrorText();

ApiError notAHandle();
// "<what> is NULL", for an argument the call needs.
ApiError missing(const char* what);

template <class Body>
int guarded(Body&& body) noexcept {
    try {
        if (CallbackScope::active())
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

// A call on the camera of an open handle. The share taken here keeps the
// camera alive while another thread closes its handle.
template <class Body>
int onCamera(zrk880_camera* handle, Body&& body) noexcept {
    return guarded([&] {
        auto camera = HandleTable::instance().find(reinterpret_cast<uintptr_t>(handle));
        return camera ? body(*camera) : notAHandle();
    });
}

}  // namespace zr::lib
