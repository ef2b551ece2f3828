#include "model/CameraBehaviour.h"

#include "params/CameraParamTable.h"

namespace zr::sim {

namespace {

// Rows of the register table with a behaviour of their own.
constexpr int kRowWhiteShadingCommand = 48;
constexpr int kRowAdjustModeFlag = 55;
constexpr int kRowGainR = 60;
constexpr int kRowAutoGain = 63;
constexpr int kRowAdjustSave = 74;
constexpr int kRowVendor = 75;
constexpr int kRowModel = 83;
constexpr int kRowSerialNumber = 91;
constexpr int kRowCpuVersion = 95;
constexpr int kRowFpgaVersion = 97;
constexpr int kRowTemperatureFirst = 99;
constexpr int kRowTemperature = 100;

// Registers outside the table: the full initialisation command beside the
// adjust-mode key, the spot coordinate lists and the look-up tables.
constexpr uint8_t kAllInitAddress = 0x01;
constexpr uint16_t kAllInitValue = 0xFFFF;
constexpr uint8_t kSpotArea = 0x0C;  // + colour
constexpr uint8_t kLutArea = 0x20;   // + colour

const CameraParam& rowDef(int row) {
    return CameraParamTable::defaults()[static_cast<size_t>(row)];
}
bool twoBytes(int row) {
    return rowDef(row).dataBytes() == 2;
}
int key(uint8_t area, uint8_t address) {
    return (area & 0x7F) << 8 | address;
}

// Command rows start something; they are not settings a memory keeps.
bool isCommandRow(int row) {
    return row == ROW_WHITE_SPOT_DETECT || row == kRowWhiteShadingCommand;
}

}  // namespace

CameraBehaviour::CameraBehaviour() {
    for (int row = 0; row < CameraParamRows; ++row) {
        const auto& def = rowDef(row);
        if (def.readArea == 0 && def.writeArea == 0) continue;  // empty rows
        rowByRegister_[key(def.writeArea, def.address)] = row;
        setRow(row, def.defaultValue);
    }
    const auto defaults = defaultMemory();
    memories_.fill(defaults);
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 256; ++i) {
            regs_.set(static_cast<uint8_t>(kLutArea + c), static_cast<uint8_t>(i),
                      RegisterMap::pack(i, false));
        }
        setHeldSpots(c, {});
    }
    writeIdentity();
}

int CameraBehaviour::rowAt(uint8_t area, uint8_t address) const {
    const auto it = rowByRegister_.find(key(area, address));
    return it == rowByRegister_.end() ? -1 : it->second;
}

uint32_t CameraBehaviour::rowData(int row) const {
    return regs_.get(rowDef(row).writeArea, rowDef(row).address);
}

void CameraBehaviour::setRow(int row, int value) {
    regs_.set(rowDef(row).writeArea, rowDef(row).address, RegisterMap::pack(value, twoBytes(row)));
}

CameraBehaviour::Memory CameraBehaviour::defaultMemory() const {
    Memory memory{};
    for (int row = 0; row < kMemoryRows; ++row) {
        memory[static_cast<size_t>(row)] =
            RegisterMap::pack(rowDef(row).defaultValue, twoBytes(row));
    }
    return memory;
}

CameraBehaviour::Memory CameraBehaviour::currentSettings() const {
    Memory memory{};
    for (int row = 0; row < kMemoryRows; ++row) memory[static_cast<size_t>(row)] = rowData(row);
    return memory;
}

void CameraBehaviour::loadMemory(const Memory& memory) {
    for (int row = 0; row < kMemoryRows; ++row) {
        if (isCommandRow(row)) continue;
        regs_.set(rowDef(row).writeArea, rowDef(row).address, memory[static_cast<size_t>(row)]);
    }
}

uint32_t CameraBehaviour::memoryData(int memory, int row) const {
    if (memory < 0 || memory >= kMemoryCount || row < 0 || row >= kMemoryRows) return 0;
    return memories_[static_cast<size_t>(memory)][static_cast<size_t>(row)];
}

bool CameraBehaviour::write(uint8_t area, uint8_t address, uint32_t data) {
    area &= 0x7F;
    const int row = rowAt(area, address);
    const auto& keyRow = rowDef(ROW_ADJUST_KEY);
    const bool keyed = area == rowDef(kRowVendor).writeArea ||
                       (area == keyRow.writeArea && address != keyRow.address);
    if (settings_.adjustNeedsKey && !adjustMode_ && keyed) return false;

    const int value = row >= 0 ? RegisterMap::unpack(data, twoBytes(row)) : 0;
    switch (row) {
        case ROW_MEMORY_LOAD:
            // Out-of-range memory numbers are ignored; the register keeps the memory loaded last.
            if (value >= 0 && value < kMemoryCount) {
                loadMemory(memories_[static_cast<size_t>(value)]);
                currentMemory_ = value;
                setRow(ROW_MEMORY_LOAD, value);
            }
            return true;
        case ROW_MEMORY_SAVE:
            // DEFAULT (0) cannot be overwritten.
            if (value >= 1 && value < kMemoryCount) {
                memories_[static_cast<size_t>(value)] = currentSettings();
                setRow(ROW_MEMORY_SAVE, value);
            }
            return true;
        case ROW_FACTORY_SETTING:
            if (value == 1) {
                loadMemory(defaultMemory());
                currentMemory_ = 0;
                setRow(ROW_MEMORY_LOAD, 0);
            }
            return true;
        case ROW_WHITE_SPOT_DETECT:
            regs_.set(area, address, data);
            detecting_ = value == 1;
            detectPollsLeft_ = settings_.detectPolls;
            return true;
        case kRowAutoGain:
            regs_.set(area, address, data);
            autoGainRunning_ = value == 1;
            autoGainPollsLeft_ = settings_.agcPolls;
            return true;
        case ROW_ADJUST_KEY:
            regs_.set(area, address, data);
            adjustMode_ = value == kAdjustKey;
            return true;
        default:
            break;
    }
    regs_.set(area, address, data);
    if (area == keyRow.writeArea && address == kAllInitAddress &&
        RegisterMap::unpack(data, true) == kAllInitValue && adjustMode_) {
        allInitialise();
    }
    return true;
}

uint32_t CameraBehaviour::read(uint8_t area, uint8_t address) {
    area &= 0x7F;
    const int row = rowAt(area, address);
    if (row == ROW_WHITE_SPOT_DETECT && detecting_) advanceDetection();
    if (row == kRowAutoGain && autoGainRunning_) advanceAutoGain();
    if (row == kRowTemperatureFirst || row == kRowTemperature) {
        return RegisterMap::pack(settings_.temperatureTenths, true);
    }
    return regs_.get(area, address);
}

void CameraBehaviour::advanceDetection() {
    if (detectPollsLeft_ > 0) {
        --detectPollsLeft_;
        return;
    }
    detecting_ = false;
    setRow(ROW_WHITE_SPOT_DETECT, settings_.detectResult & 0xFF);
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
    setRow(kRowAutoGain, settings_.agcResult & 0xFF);
    if (settings_.agcResult == 0) {
        for (int i = 0; i < 3; ++i)
            setRow(kRowGainR + i, settings_.agcGains[static_cast<size_t>(i)]);
    }
}

void CameraBehaviour::allInitialise() {
    const auto defaults = defaultMemory();
    loadMemory(defaults);
    for (int n = 1; n < kMemoryCount; ++n) memories_[static_cast<size_t>(n)] = defaults;
    currentMemory_ = 0;
    for (int row = ROW_MEMORY_LOAD; row <= ROW_FACTORY_SETTING; ++row)
        setRow(row, rowDef(row).defaultValue);
    for (int row = kRowAdjustModeFlag; row <= kRowAdjustSave; ++row)
        setRow(row, rowDef(row).defaultValue);
}

void CameraBehaviour::setHeldSpots(int colour, const std::vector<Spot>& spots) {
    if (colour < 0 || colour > 2) return;
    const auto area = static_cast<uint8_t>(kSpotArea + colour);
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
    const BehaviourSettings old = settings_;
    settings_ = settings;
    if (old.vendor != settings.vendor) writeText(kRowVendor, 8, settings.vendor);
    if (old.model != settings.model) writeText(kRowModel, 8, settings.model);
    if (old.serialNumber != settings.serialNumber) {
        writeText(kRowSerialNumber, 4, settings.serialNumber);
    }
    if (old.cpuVersion != settings.cpuVersion) writeText(kRowCpuVersion, 2, settings.cpuVersion);
    if (old.fpgaVersion != settings.fpgaVersion)
        writeText(kRowFpgaVersion, 2, settings.fpgaVersion);
}

void CameraBehaviour::writeText(int firstRow, int rows, const std::string& text) {
    for (int i = 0; i < rows; ++i) {
        const auto at = static_cast<size_t>(2 * i);
        const int high = at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
        const int low = at + 1 < text.size() ? static_cast<unsigned char>(text[at + 1]) : 0;
        setRow(firstRow + i, high << 8 | low);
    }
}

void CameraBehaviour::writeIdentity() {
    writeText(kRowVendor, 8, settings_.vendor);
    writeText(kRowModel, 8, settings_.model);
    writeText(kRowSerialNumber, 4, settings_.serialNumber);
    writeText(kRowCpuVersion, 2, settings_.cpuVersion);
    writeText(kRowFpgaVersion, 2, settings_.fpgaVersion);
}

}  // namespace zr::sim
