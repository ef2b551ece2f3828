#include "model/ClErrors.h"

namespace zr::sim {

const char* clErrorText(int32_t code) {
    switch (code) {
        case CL_ERR_NO_ERR:
            return "No error";
        case CL_ERR_BUFFER_TOO_SMALL:
            return "Buffer too small";
        case CL_ERR_MANU_DOES_NOT_EXIST:
            return "Manufacturer does not exist";
        case CL_ERR_PORT_IN_USE:
            return "Port in use";
        case CL_ERR_TIMEOUT:
            return "Time-out";
        case CL_ERR_INVALID_INDEX:
            return "Invalid serial index";
        case CL_ERR_INVALID_REFERENCE:
            return "Invalid serial reference";
        case CL_ERR_ERROR_NOT_FOUND:
            return "Error code not found";
        case CL_ERR_BAUD_RATE_NOT_SUPPORTED:
            return "Baud rate not supported";
        case CL_ERR_OUT_OF_MEMORY:
            return "Out of memory";
        default:
            return nullptr;
    }
}

}  // namespace zr::sim
