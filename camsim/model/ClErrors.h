#pragma once

#include <cstdint>

namespace zr::sim {

// Result codes of the Camera Link serial API as the standard numbers them.
enum : int32_t {
    CL_ERR_NO_ERR = 0,
    CL_ERR_BUFFER_TOO_SMALL = -10001,
    CL_ERR_MANU_DOES_NOT_EXIST = -10002,
    CL_ERR_PORT_IN_USE = -10003,
    CL_ERR_TIMEOUT = -10004,
    CL_ERR_INVALID_INDEX = -10005,
    CL_ERR_INVALID_REFERENCE = -10006,
    CL_ERR_ERROR_NOT_FOUND = -10007,
    CL_ERR_BAUD_RATE_NOT_SUPPORTED = -10008,
    CL_ERR_OUT_OF_MEMORY = -10009,
};

// Copies `text` into a caller's buffer of *size bytes, as the API's text
// functions do: the size becomes the bytes needed, terminator included.
int32_t copyClText(const char* text, int8_t* buffer, uint32_t* size);
// Copies the standard's text for a result code (clGetErrorText);
// CL_ERR_ERROR_NOT_FOUND for an unknown code.
int32_t copyClErrorText(int32_t code, int8_t* buffer, uint32_t* size);

}  // namespace zr::sim
