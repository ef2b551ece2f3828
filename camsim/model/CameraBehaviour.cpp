#include "model/CameraBehaviour.h"

namespace zr::sim {

namespace {

// The identity texts, in the order of their registers.
constexpr std::array kIdentityTexts = {
    &BehaviourSettings::vendor, &BehaviourSettings::model, &BehaviourSettings::serialNumber,
    &BehaviourSettings::cpuVersion, &BehaviourSettings::fpgaVersion};

bool twoBytes(const CameraRegister& reg) {
    return reg.width == 2;
}

// The look-up tables power on as the identity curve; everything else at the
// value its description gives.
int powerOnValue(const CameraRegister& reg, int offset) {
    return reg.role == RegisterRole::LutEntry ? offset : reg.powerOn;
}

// Command registers start something; they are not settings a memory restores.
bool restoredByMemory(const CameraRegister& reg) {
    return reg.role != RegisterRole::Command && reg.role != RegisterRole::WhiteSpotDetect;
}

}  // namespace

CameraBehaviour::CameraBehaviour() {
    size_t slot = 0;
    for (const auto& reg : CameraRegisters::all()) {
        for (int offset = 0; offset < reg.count; ++offset) {
            const Cell cell{&reg, offset};
            cells_[RegisterMap::slot(reg.area, static_cast<uint8_t>(reg.address + offset))] = cell;
            if (reg.keep == RegisterKeep::InMemory) memorySlots_[slot++] = cell;
            setCell(reg, offset, powerOnValue(reg, offset));
        }
    }
    // The power-on settings are the DEFAULT memory's, and every memory's at first.
    defaults_ = currentSettings();
    memories_.fill(defaults_);
    for (size_t n = 0; n < kIdentityTexts.size(); ++n) writeText(n, settings_.*kIdentityTexts[n]);
}

const CameraBehaviour::Cell* CameraBehaviour::cellAt(uint8_t area, uint8_t address) const {
    const auto it = cells_.find(RegisterMap::slot(area, address));
    return it == cells_.end() ? nullptr : &it->second;
}

void CameraBehaviour::setCell(const CameraRegister& reg, int offset, int value) {
    regs_.set(reg.area, static_cast<uint8_t>(reg.address + offset),
              RegisterMap::pack(value, twoBytes(reg)));
}

CameraBehaviour::Memory CameraBehaviour::currentSettings() const {
    Memory memory{};
    for (size_t slot = 0; slot < memory.size(); ++slot) {
        const Cell& cell = memorySlots_[slot];
        memory[slot] =
            regs_.get(cell.reg->area, static_cast<uint8_t>(cell.reg->address + cell.offset));
    }
    return memory;
}

void CameraBehaviour::loadMemory(const Memory& memory) {
    for (size_t slot = 0; slot < memory.size(); ++slot) {
        const Cell& cell = memorySlots_[slot];
        if (!restoredByMemory(*cell.reg)) continue;
        regs_.set(cell.reg->area, static_cast<uint8_t>(cell.reg->address + cell.offset),
                  memory[slot]);
    }
}

uint32_t CameraBehaviour::memoryData(int memory, int row) const {
    if (memory < 0 || memory >= kMemoryCount || row < 0 || row >= CameraRegisters::kMemorySlots)
        return 0;
    return memories_[static_cast<size_t>(memory)][static_cast<size_t>(row)];
}

bool CameraBehaviour::write(uint8_t area, uint8_t address, uint32_t data) {
    area &= 0x7F;
    const Cell* cell = cellAt(area, address);
    // Writes to the identity area, and to the adjust area beside the key,
    // need the open adjust mode when the camera asks for the key.
    const auto& key = CameraRegisters::withRole(RegisterRole::AdjustKey);
    const bool keyed = area == CameraRegisters::withRole(RegisterRole::IdentityText).area ||
                       (area == key.area && address != key.address);
    if (settings_.adjustNeedsKey && !adjustMode_ && keyed) return false;

    const CameraRegister* reg = cell ? cell->reg : nullptr;
    const int value = reg ? RegisterMap::unpack(data, twoBytes(*reg)) : 0;
    const bool isMemory = value >= 0 && value < kMemoryCount;
    switch (reg ? reg->role : RegisterRole::Setting) {
        case RegisterRole::MemoryLoad:
            // Other memory numbers are ignored; the register keeps the memory loaded last.
            if (reg->accepts(value) && isMemory) {
                loadMemory(memories_[static_cast<size_t>(value)]);
                currentMemory_ = value;
                setCell(*reg, 0, value);
            }
            return true;
        case RegisterRole::MemorySave:
            // DEFAULT (0) cannot be overwritten.
            if (reg->accepts(value) && isMemory) {
                memories_[static_cast<size_t>(value)] = currentSettings();
                setCell(*reg, 0, value);
            }
            return true;
        case RegisterRole::FactorySetting:
            if (reg->accepts(value)) {
                loadMemory(defaults_);
                currentMemory_ = 0;
                setCell(CameraRegisters::withRole(RegisterRole::MemoryLoad), 0, 0);
            }
            return true;
        case RegisterRole::WhiteSpotDetect:
            regs_.set(area, address, data);
            detecting_ = value == 1;
            detectPollsLeft_ = settings_.detectPolls;
            return true;
        case RegisterRole::AutoGain:
            regs_.set(area, address, data);
            autoGainRunning_ = value == 1;
            autoGainPollsLeft_ = settings_.agcPolls;
            return true;
        case RegisterRole::AdjustKey:
            regs_.set(area, address, data);
            adjustMode_ = value == kAdjustKey;
            return true;
        default:
            break;
    }
    regs_.set(area, address, data);
    if (reg && reg->role == RegisterRole::FullInitialise && reg->accepts(value) && adjustMode_) {
        allInitialise();
    }
    return true;
}

uint32_t CameraBehaviour::read(uint8_t area, uint8_t address) {
    area &= 0x7F;
    const Cell* cell = cellAt(area, address);
    const RegisterRole role = cell ? cell->reg->role : RegisterRole::Setting;
    if (role == RegisterRole::WhiteSpotDetect && detecting_) advanceDetection();
    if (role == RegisterRole::AutoGain && autoGainRunning_) advanceAutoGain();
    if (role == RegisterRole::Temperature) {
        return RegisterMap::pack(settings_.temperatureTenths, twoBytes(*cell->reg));
    }
    return regs_.get(area, address);
}

void CameraBehaviour::advanceDetection() {
    if (detectPollsLeft_ > 0) {
        --detectPollsLeft_;
        return;
    }
    detecting_ = false;
    setCell(CameraRegisters::withRole(RegisterRole::WhiteSpotDetect), 0,
            settings_.detectResult & 0xFF);
    if (settings_.detectResult == 0) {
        for (int c = 0; c < 3; ++c)
            setHeldSpots(c, settings_.detectedSpots[static_cast<size_t>(c)]);
    }
}

void CameraBehaviour::advanceAutoGain() {
    if (autoGainPollsLeft_ > 0) {
        --autoGainPollsLeft_;
        return;
    }
    autoGainRunning_ = false;
    setCell(CameraRegisters::withRole(RegisterRole::AutoGain), 0, settings_.agcResult & 0xFF);
    if (settings_.agcResult == 0) {
        const auto& gains = CameraRegisters::withRole(RegisterRole::AdjustGain);
        for (int i = 0; i < gains.count && i < 3; ++i)
            setCell(gains, i, settings_.agcGains[static_cast<size_t>(i)]);
    }
}

void CameraBehaviour::allInitialise() {
    loadMemory(defaults_);
    memories_.fill(defaults_);
    currentMemory_ = 0;
    for (const auto& reg : CameraRegisters::all()) {
        if (reg.keep != RegisterKeep::UntilFullReset) continue;
        for (int offset = 0; offset < reg.count; ++offset)
            setCell(reg, offset, powerOnValue(reg, offset));
    }
}

void CameraBehaviour::setHeldSpots(int colour, const std::vector<Spot>& spots) {
    if (colour < 0 || colour > 2) return;
    const auto area = CameraRegisters::withRole(RegisterRole::SpotCoordinate, colour).area;
    for (int n = 0; n < kMaxSpots; ++n) {
        const bool held = static_cast<size_t>(n) < spots.size();
        const uint16_t x = held ? spots[static_cast<size_t>(n)].x : kSpotListEnd;
        const uint16_t y = held ? spots[static_cast<size_t>(n)].y : kSpotListEnd;
        regs_.set(area, static_cast<uint8_t>(2 * n), RegisterMap::pack(x, true));
        regs_.set(area, static_cast<uint8_t>(2 * n + 1), RegisterMap::pack(y, true));
    }
}

void CameraBehaviour::setSettings(const BehaviourSettings& settings) {
    // Only texts that changed are rewritten, so a serial number the host set
    // survives a change of some other setting.
    for (size_t n = 0; n < kIdentityTexts.size(); ++n) {
        const std::string& text = settings.*kIdentityTexts[n];
        if (text != settings_.*kIdentityTexts[n]) writeText(n, text);
    }
    settings_ = settings;
}

void CameraBehaviour::writeText(size_t nth, const std::string& text) {
    const auto& reg = CameraRegisters::withRole(RegisterRole::IdentityText, static_cast<int>(nth));
    for (int i = 0; i < reg.count; ++i) {
        const auto at = static_cast<size_t>(2 * i);
        const int high = at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
        const int low = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
        setCell(reg, i, high << 8 | low);
    }
}

}  // namespace zr::sim
