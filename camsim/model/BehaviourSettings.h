#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zr::sim {

struct Spot {
    uint16_t x = 0;
    uint16_t y = 0;
};

inline constexpr int kMaxSpots = 64;  // per colour
inline constexpr uint16_t kSpotListEnd = 0xFFFF;

// What the simulated camera does with its command registers, and the values
// its sensors and identity registers report.
struct BehaviourSettings {
    // White spot detection: after the start the status reads 1 this many
    // times, then detectResult. On 0 the spot lists become the held lists.
    int detectPolls = 3;
    int detectResult = 0;
    std::array<std::vector<Spot>, 3> detectedSpots;  // RED, GREEN, BLUE; at most 64 each are held

    // Automatic gain adjustment: status 1 this many reads, then agcResult;
    // on 0 the adjustment gains become agcGains.
    int agcPolls = 3;
    int agcResult = 0;
    std::array<int, 3> agcGains = {180, 170, 190};

    // When set, writes to the adjustment and identity areas are refused (NAK)
    // unless the adjust mode is open.
    bool adjustNeedsKey = false;

    // Identity texts, two characters per register; longer texts are cut.
    std::string vendor = "CAMSIM";
    std::string model = "ZR-K880TM";
    std::string serialNumber = "SIM00001";
    std::string cpuVersion = "1002";
    std::string fpgaVersion = "0105";
    int temperatureTenths = 253;  // 25.3 degrees
};

}  // namespace zr::sim
