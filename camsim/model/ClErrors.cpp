#include "model/ClErrors.h"

#include <cstring>
#include <utility>

namespace zr::sim {

int32_t copyClText(const char* text, int8_t* buffer, uint32_t* size) {
    if (!size) return CL_ERR_BUFFER_TOO_SMALL;
    const auto needed = static_cast<uint32_t>(std::strlen(text) + 1);
    const bool fits = buffer && *size >= needed;
    if (fits) std::memcpy(buffer, text, needed);
    *size = needed;
    return fits ? CL_ERR_NO_ERR : CL_ERR_BUFFER_TOO_SMALL;
}

int32_t copyClErrorText(int32_t code, int8_t* buffer, uint32_t* size) {
    static constexpr std::pair<int32_t, const char*> kTexts[] = {
        {CL_ERR_NO_ERR, "No error"},
        {CL_ERR_BUFFER_TOO_SMALL, "Buffer too small"},
        {CL_ERR_MANU_DOES_NOT_EXIST, "Manufacturer does not exist"},
        {CL_ERR_PORT_IN_USE, "Port in use"},
        {CL_ERR_TIMEOUT, "Time-out"},
        {CL_ERR_INVALID_INDEX, "Invalid serial index"},
        {CL_ERR_INVALID_REFERENCE, "Invalid serial reference"},
        {CL_ERR_ERROR_NOT_FOUND, "Error code not found"},
        {CL_ERR_BAUD_RATE_NOT_SUPPORTED, "Baud rate not supported"},
        {CL_ERR_OUT_OF_MEMORY, "Out of memory"},
    };
    for (const auto& [known, text] : kTexts) {
        if (known == code) return copyClText(text, buffer, size);
    }
    return CL_ERR_ERROR_NOT_FOUND;
}

}  // namespace zr::sim
