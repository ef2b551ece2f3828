#include <gtest/gtest.h>

#include "ModelHarness.h"

using namespace zr::sim;

namespace {

// Writes a command and checks that the camera accepted it.
void write(ModelHarness& h, const std::string& text, char reply = ACK) {
    h.command(text);
    EXPECT_EQ(h.readAll(), std::string(1, reply)) << text;
}

TEST(Memories, SaveThenLoadBringsTheSettingsBack) {
    ModelHarness h;
    write(h, "01170A0000");  // brightness 10
    write(h, "010C015500");  // gain 341
    write(h, "0103020000");  // save FILE 2
    write(h, "0117140000");
    write(h, "0102020000");  // load FILE 2
    EXPECT_EQ(h.readRegister("8117000000"), 0x0A0000);
    EXPECT_EQ(h.readRegister("810C000000"), 0x015500);
    EXPECT_EQ(h.readRegister("8102000000"), 0x020000);
    EXPECT_EQ(h.model.currentMemory(), 2);
    write(h, "0102030000");  // FILE 3 was never saved: it holds the defaults
    EXPECT_EQ(h.readRegister("8117000000"), 0x800000);
    EXPECT_EQ(h.readRegister("8102000000"), 0x030000);
}

TEST(Memories, DefaultCannotBeOverwritten) {
    ModelHarness h;
    write(h, "0117010000");
    write(h, "0103000000");  // save to DEFAULT: ignored
    write(h, "0102000000");
    EXPECT_EQ(h.readRegister("8117000000"), 0x800000);
    EXPECT_EQ(h.model.memoryData(0, 13), 0x800000u);
}

TEST(Memories, OutOfRangeLoadKeepsTheCurrentMemory) {
    ModelHarness h;
    write(h, "0102010000");
    write(h, "0102050000");
    EXPECT_EQ(h.readRegister("8102000000"), 0x010000);
}

TEST(Memories, FactorySettingRestoresDefaultsButKeepsFiles) {
    ModelHarness h;
    write(h, "0129000000");  // white balance ATW
    write(h, "0103010000");  // save FILE 1
    write(h, "0102010000");
    write(h, "0145010000");
    EXPECT_EQ(h.readRegister("8129000000"), 0x020000);
    EXPECT_EQ(h.readRegister("8102000000"), 0x000000);
    EXPECT_EQ(h.readRegister("8145000000"), 0x010000);
    EXPECT_EQ(h.model.memoryData(1, 19), 0x000000u);
}

TEST(LookUpTable, WrittenEntriesReadBackPerChannel) {
    ModelHarness h;
    EXPECT_EQ(h.readRegister("A140000000"), 0x400000);  // identity table at start
    write(h, "20057F0000");
    write(h, "22FF010000");
    EXPECT_EQ(h.readRegister("A005000000"), 0x7F0000);
    EXPECT_EQ(h.readRegister("A105000000"), 0x050000);
    EXPECT_EQ(h.readRegister("A2FF000000"), 0x010000);
}

struct DetectCase {
    int result;
    std::vector<int> expectedStatuses;
    bool listsTaken;
};

class WhiteSpotDetection : public ::testing::TestWithParam<DetectCase> {};

TEST_P(WhiteSpotDetection, StatusSequenceAndLists) {
    const auto& c = GetParam();
    ModelHarness h;
    h.model.updateBehaviour([&](BehaviourSettings& b) {
        b.detectPolls = 2;
        b.detectResult = c.result;
        b.detectedSpots[0] = {{12, 345}};
    });
    write(h, "014D010000");
    std::vector<int> statuses;
    for (size_t i = 0; i < c.expectedStatuses.size(); ++i) {
        statuses.push_back(static_cast<int>(h.readRegister("814D000000") >> 16));
    }
    EXPECT_EQ(statuses, c.expectedStatuses);
    EXPECT_EQ(h.readRegister("8C00000000"), c.listsTaken ? 0x000C00 : 0xFFFF00);
}

INSTANTIATE_TEST_SUITE_P(Results, WhiteSpotDetection,
                         ::testing::Values(DetectCase{0, {1, 1, 0, 0}, true},
                                           DetectCase{2, {1, 1, 2, 2}, false},
                                           DetectCase{7, {1, 1, 7}, false}));

TEST(WhiteSpotLists, XThenYPerSpotEndedByFFFF) {
    ModelHarness h;
    h.model.setHeldSpots(0, {{12, 345}, {100, 200}});
    EXPECT_EQ(h.readRegister("8C00000000"), 0x000C00);
    EXPECT_EQ(h.readRegister("8C01000000"), 0x015900);
    EXPECT_EQ(h.readRegister("8C02000000"), 0x006400);
    EXPECT_EQ(h.readRegister("8C03000000"), 0x00C800);
    EXPECT_EQ(h.readRegister("8C04000000"), 0xFFFF00);
    EXPECT_EQ(h.readRegister("8D00000000"), 0xFFFF00);
}

TEST(WhiteSpotLists, SixtyFourSpotsFillAddresses0To127) {
    ModelHarness h;
    std::vector<Spot> spots;
    for (uint16_t i = 0; i < 70; ++i) spots.push_back({i, static_cast<uint16_t>(1000 + i)});
    h.model.setHeldSpots(2, spots);
    EXPECT_EQ(h.readRegister("8E7E000000"), 0x003F00);  // x of spot 63
    EXPECT_EQ(h.readRegister("8E7F000000"), 0x042700);  // y of spot 63: 1063
    EXPECT_EQ(h.readRegister("8E80000000"), 0x000000);  // nothing past the 64th
}

TEST(AutoGain, FinishesWithNewGains) {
    ModelHarness h;
    h.model.updateBehaviour([](BehaviourSettings& b) { b.agcPolls = 1; });
    write(h, "301A010000");
    EXPECT_EQ(h.readRegister("B01A000000"), 0x010000);
    EXPECT_EQ(h.readRegister("B01A000000"), 0x000000);
    EXPECT_EQ(h.readRegister("B01B000000"), 0x00B400);  // 180
    EXPECT_EQ(h.readRegister("B01C000000"), 0x00AA00);
    EXPECT_EQ(h.readRegister("B01D000000"), 0x00BE00);
}

TEST(AutoGain, FailureKeepsTheGains) {
    ModelHarness h;
    h.model.updateBehaviour([](BehaviourSettings& b) {
        b.agcPolls = 0;
        b.agcResult = 2;
    });
    write(h, "301B010000");  // gain R 256
    write(h, "301A010000");
    EXPECT_EQ(h.readRegister("B01A000000"), 0x020000);
    EXPECT_EQ(h.readRegister("B01B000000"), 0x010000);
}

TEST(AdjustMode, KeyOpensAndZeroCloses) {
    ModelHarness h;
    write(h, "30004A5C00");
    EXPECT_TRUE(h.model.adjustMode());
    write(h, "3000000000");
    EXPECT_FALSE(h.model.adjustMode());
}

TEST(AdjustMode, WritesNeedTheKeyWhenAsked) {
    ModelHarness h;
    h.model.updateBehaviour([](BehaviourSettings& b) { b.adjustNeedsKey = true; });
    write(h, "3077960000", NAK);
    write(h, "1010414200", NAK);
    write(h, "30004A5C00");
    write(h, "3077960000");
    write(h, "3014050000");
    EXPECT_EQ(h.readRegister("B077000000"), 0x960000);
    EXPECT_EQ(h.readRegister("B014000000"), 0x050000);
}

TEST(AdjustMode, FullInitialisationNeedsTheKey) {
    ModelHarness h;
    write(h, "0117010000");
    write(h, "0103010000");
    write(h, "3001FFFF00");  // without the key: stored, nothing else
    EXPECT_EQ(h.readRegister("8117000000"), 0x010000);
    write(h, "30004A5C00");
    write(h, "3077640000");
    write(h, "3001FFFF00");
    EXPECT_EQ(h.readRegister("8117000000"), 0x800000);
    EXPECT_EQ(h.readRegister("B077000000"), 0x960000);
    EXPECT_EQ(h.model.memoryData(1, 13), 0x800000u);
}

TEST(Identity, TextsTwoCharactersPerRegister) {
    ModelHarness h;
    h.model.updateBehaviour([](BehaviourSettings& b) {
        b.vendor = "ABCDEFGHIJKLMNOPQR";  // cut to 16
        b.model = "K8";
        b.serialNumber = "12345678";
    });
    EXPECT_EQ(h.readRegister("9000000000"), 0x414200);
    EXPECT_EQ(h.readRegister("9007000000"), 0x4F5000);
    EXPECT_EQ(h.readRegister("9008000000"), 0x4B3800);
    EXPECT_EQ(h.readRegister("9009000000"), 0x000000);
    EXPECT_EQ(h.readRegister("9013000000"), 0x373800);
    EXPECT_EQ(h.readRegister("9014000000"), 0x313000);  // CPU "1002"
    write(h, "1010414100");                             // the host sets a serial number
    EXPECT_EQ(h.readRegister("9010000000"), 0x414100);
}

TEST(Identity, TemperatureInTenthsInBothRegisters) {
    ModelHarness h;
    EXPECT_EQ(h.readRegister("B07F000000"), 0x00FD00);
    h.model.updateBehaviour([](BehaviourSettings& b) { b.temperatureTenths = 300; });
    EXPECT_EQ(h.readRegister("B07E000000"), 0x012C00);
}

}  // namespace

namespace {

TEST(Identity, OtherSettingChangesKeepASerialNumberTheHostSet) {
    ModelHarness h;
    write(h, "1010414100");
    h.model.updateBehaviour([](BehaviourSettings& b) { b.detectPolls = 9; });
    EXPECT_EQ(h.readRegister("9010000000"), 0x414100);
    h.model.updateBehaviour([](BehaviourSettings& b) { b.serialNumber = "ZZ"; });
    EXPECT_EQ(h.readRegister("9010000000"), 0x5A5A00);
    EXPECT_EQ(h.readRegister("9011000000"), 0x000000);
}

}  // namespace
