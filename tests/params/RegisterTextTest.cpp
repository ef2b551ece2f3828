// Text and number registers as the adjustment window shows them.
#include <gtest/gtest.h>

#include <optional>

#include "params/RegisterText.h"

namespace rt = register_text;

TEST(RegisterText, VersionsPutThePointInTheirOwnPlace) {
    struct Case {
        int first, second;
        const char* cpu;
        const char* fpga;
    };
    for (const Case& c :
         {Case{0x3130, 0x3032, "1.002", "10.02"}, Case{0x3100, 0x3032, "1.", "1"},  // zero low byte
          Case{0x0031, 0x3032, "", ""},        // zero high byte
          Case{0x3130, 0x0032, "1.0", "10."},  // second register empty
          Case{0x3130, 0x3200, "1.02", "10.2"}}) {
        EXPECT_EQ(rt::cpuVersion(c.first, c.second), c.cpu) << std::hex << c.first;
        EXPECT_EQ(rt::fpgaVersion(c.first, c.second), c.fpga) << std::hex << c.first;
    }
}

TEST(RegisterText, TemperatureIsTenthsWithOneDecimal) {
    struct Case {
        int tenths;
        const char* text;
    };
    for (const Case& c : {Case{253, "25.3"}, Case{5, "0.5"}, Case{0, "0.0"}, Case{1000, "100.0"},
                          Case{65535, "6553.5"}}) {
        EXPECT_EQ(rt::temperature(c.tenths), c.text);
    }
}

TEST(RegisterText, SerialNumberNeedsEightOneByteCharacters) {
    using Regs = std::array<int32_t, 4>;
    EXPECT_EQ(rt::serialRegisters("AB123456"), (Regs{0x4142, 0x3132, 0x3334, 0x3536}));
    EXPECT_EQ(rt::serialRegisters("K8 00-42"), (Regs{0x4B38, 0x2030, 0x302D, 0x3432}));
    for (const char* bad : {"AB12345", "AB1234567", "", "AB1234\xC3\x89",  // 8 bytes, 7 characters
                            "AB12345\xC3\x89",                             // 8 characters, 9 bytes
                            "AB12345\t",
                            "\xEF\xBD\xB1"
                            "B12345"}) {
        EXPECT_EQ(rt::serialRegisters(bad), std::nullopt) << bad;
    }
}
