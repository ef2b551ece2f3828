#include "link/ClSerialApi.h"

namespace zr {

uint32_t clBaudBitFor(int baudRate) {
    switch (baudRate) {
        case 9600:
            return CL_BAUDRATE_9600;
        case 19200:
            return CL_BAUDRATE_19200;
        case 38400:
            return CL_BAUDRATE_38400;
        default:
            return CL_BAUDRATE_115200;
    }
}

}  // namespace zr
