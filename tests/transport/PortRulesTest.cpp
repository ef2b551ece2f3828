#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <optional>

#include "PortDir.h"
#include "TransportFixture.h"
#include "link/ClLibrary.h"
#include "link/ComPort.h"
#include "link/ComPortResolver.h"

namespace zr::test {
namespace {

TEST(PortText, SplitsTwoBlankSeparatedTokens) {
    struct Case {
        const char* text;
        const char* device;
        const char* baud;
    };
    const Case cases[] = {
        {"COM3 9600", "COM3", "9600"},
        {"   COM3 9600", "COM3", "9600"},
        {"COM3      115200", "COM3", "115200"},
        {"\tCOM3\t \t9600 more", "COM3", "9600"},
        {"COM3", "COM3", ""},
        {"", "", ""},
        {"   ", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const PortText tokens = SplitPortText(c.text);
        EXPECT_EQ(tokens.device, c.device);
        EXPECT_EQ(tokens.baud, c.baud);
    }
}

TEST(PortText, ComNameGivesItsNumber) {
    const std::pair<const char*, int> cases[] = {
        {"COM1", 1},  {"com10", 10},     {"Com255", 255}, {"COM256", 0}, {"COM0", 0},
        {"COM03", 0}, {"COM", 0},        {"COM3x", 0},    {"LPT1", 0},   {"COM-1", 0},
        {"COM+3", 0}, {"/dev/ttyS0", 0}, {"CON3", 0},
    };
    for (const auto& [name, number] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ComPortNumber(name), number);
    }
}

TEST(ComPortRule, BuiltInDefaults) {
    const std::pair<int, const char*> cases[] = {
        {1, "/dev/ttyS0"},
        {4, "/dev/ttyS3"},
        {5, "/dev/ttyUSB0"},
        {8, "/dev/ttyUSB3"},
        {9, "/dev/ttyACM0"},
        {10, "/dev/ttyACM1"},
        {11, ""},
        {0, ""},
        {-1, ""},
        {255, ""},
    };
    for (const auto& [number, device] : cases) {
        SCOPED_TRACE(number);
        EXPECT_EQ(ComPortResolver::builtInDevice(number), device);
        EXPECT_EQ(ComPortResolver("/nonexistent-zrk880").devicePath(number), device);
    }
}

TEST(ComPortRule, EntryInThePortDirectoryWinsEvenWhenItLeadsNowhere) {
    PortDir dir;
    dir.remove(2);
    dir.link(3, "/dev/null");
    dir.link(12, "/dev/zero");
    const ComPortResolver rule(dir.path());

    const ComPortResolver::Location com3 = rule.locate(3);
    EXPECT_EQ(com3.path, dir.entry(3));
    EXPECT_EQ(com3.device, "/dev/null");
    EXPECT_TRUE(com3.fromPortDir);
    EXPECT_EQ(rule.devicePath(12), dir.entry(12));

    const ComPortResolver::Location com4 = rule.locate(4);  // a link to nothing hides ttyS3
    EXPECT_EQ(com4.path, dir.entry(4));
    EXPECT_EQ(com4.device, dir.path() + "/absent");

    const ComPortResolver::Location com2 = rule.locate(2);  // no entry: the default
    EXPECT_EQ(com2.path, "/dev/ttyS1");
    EXPECT_FALSE(com2.fromPortDir);

    EXPECT_EQ(comPortDevice(3), "/dev/null");  // PortDir names itself in the environment
    EXPECT_EQ(comPortDevice(2), "/dev/ttyS1");
    EXPECT_EQ(comPortDevice(13), "");
}

TEST(ComPortRule, PortDirectoryFromTheEnvironment) {
    EnvVar home("HOME", "/home/op");
    {
        EnvVar dir("ZRK880_PORT_DIR", "/srv/ports");
        EnvVar xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(ComPortResolver::portDirFromEnvironment(), "/srv/ports");
    }
    EnvVar dir("ZRK880_PORT_DIR", nullptr);
    {
        EnvVar xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(ComPortResolver::portDirFromEnvironment(), "/cfg/ZR_K880TM_Control/ports");
    }
    for (const char* ignored : {"", "relative/cfg"}) {
        EnvVar xdg("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(ComPortResolver::portDirFromEnvironment(),
                  "/home/op/.config/ZR_K880TM_Control/ports");
    }
    EnvVar xdg("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(ComPortResolver::portDirFromEnvironment(),
              "/home/op/.config/ZR_K880TM_Control/ports");
}

TEST(ClLibraryNames, DllNamesAreTriedAsSharedObjects) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(ClLibrary::candidateNames("clallserial.dll"),
              (Names{"clallserial.dll", "libclallserial.so", "clallserial.so"}));
    EXPECT_EQ(ClLibrary::candidateNames("CLSERMTX.DLL"),
              (Names{"CLSERMTX.DLL", "libCLSERMTX.so", "CLSERMTX.so"}));
    EXPECT_EQ(ClLibrary::candidateNames("/opt/grabber/clseremc.dll"),
              Names{"/opt/grabber/clseremc.dll"});
    EXPECT_EQ(ClLibrary::candidateNames("libclserme4.so"), Names{"libclserme4.so"});
    EXPECT_EQ(ClLibrary::candidateNames("clsermtx"), Names{"clsermtx"});
}

}  // namespace
}  // namespace zr::test
