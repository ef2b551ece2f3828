#include "model/RegisterMap.h"

namespace zr::sim {

size_t RegisterMap::slot(uint8_t area, uint8_t address) {
    return static_cast<size_t>(area & 0x7F) * 256 + address;
}

uint32_t RegisterMap::get(uint8_t area, uint8_t address) const {
    return data_[slot(area, address)];
}

void RegisterMap::set(uint8_t area, uint8_t address, uint32_t data) {
    data_[slot(area, address)] = data & 0xFFFFFF;
}

uint32_t RegisterMap::pack(int value, bool twoBytes) {
    const auto v = static_cast<uint32_t>(value);
    return twoBytes ? ((v >> 8) & 0xFF) << 16 | (v & 0xFF) << 8 : (v & 0xFF) << 16;
}

int RegisterMap::unpack(uint32_t data, bool twoBytes) {
    return twoBytes ? static_cast<int>((data >> 8) & 0xFFFF)
                    : static_cast<int>((data >> 16) & 0xFF);
}

}  // namespace zr::sim
