#include "ApiCall.h"

namespace zr::lib {

namespace {

thread_local std::string lastError;

}  // namespace

int finish(const ApiError& result) {
    lastError = result.text;
    return result.code;
}

int fail(int code, std::string text) {
    return finish(apiFail(code, std::move(text)));
}

const char* lastErrorText() {
    return lastError.c_str();
}

ApiError notAHandle() {
    return apiFail(ZRK880_ERR_HANDLE, "not a handle of an open camera");
}

ApiError missing(const char* what) {
    return apiFail(ZRK880_ERR_INPUT, std::string(what) + " is NULL");
}

}  // namespace zr::lib
