#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "link/ClSerialApi.h"
#include "model/ClErrors.h"
#include "model/FrameCodec.h"
#include "support/CamsimProcess.h"
#include "support/FileText.h"

using namespace zr::sim;

namespace {

using zr::test::simDir;

const char* const kEnvironment[] = {
    "ZR_SIM_CL_PORTS",       "ZR_SIM_CL_MANUFACTURERS", "ZR_SIM_CL_PORT_IDS", "ZR_SIM_CL_BAUD_MASK",
    "ZR_SIM_CL_INIT_RESULT", "ZR_SIM_CL_OPTIONS",       "ZR_SIM_CL_LOG",      "ZR_SIM_CL_READ"};

template <typename F>
F symbol(void* handle, const char* name) {
    return reinterpret_cast<F>(::dlsym(handle, name));
}

class ClLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : kEnvironment) ::unsetenv(name);
        handle = ::dlopen((simDir() + "/cl/libclallserial.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << ::dlerror();
        cl.serialInit = symbol<clSerialInit_t>(handle, "clSerialInit");
        cl.serialRead = symbol<clSerialRead_t>(handle, "clSerialRead");
        cl.serialWrite = symbol<clSerialWrite_t>(handle, "clSerialWrite");
        cl.serialClose = symbol<clSerialClose_t>(handle, "clSerialClose");
        cl.getNumPorts = symbol<clGetNumPorts_t>(handle, "clGetNumPorts");
        cl.getPortInfo = symbol<clGetPortInfo_t>(handle, "clGetPortInfo");
        cl.getSupportedBaudRates =
            symbol<clGetSupportedBaudRates_t>(handle, "clGetSupportedBaudRates");
        cl.setBaudRate = symbol<clSetBaudRate_t>(handle, "clSetBaudRate");
        cl.getErrorText = symbol<clGetErrorText_t>(handle, "clGetErrorText");
    }
    void TearDown() override {
        if (ref) cl.serialClose(ref);
        if (handle) ::dlclose(handle);
        for (const char* name : kEnvironment) ::unsetenv(name);
    }

    void write(const std::string& bytes) {
        uint32_t size = static_cast<uint32_t>(bytes.size());
        cl.serialWrite(ref, reinterpret_cast<int8_t*>(const_cast<char*>(bytes.data())), &size,
                       1000);
    }
    // Reads as the link does: 100 bytes, 10 ms, taking what is there, until
    // `count` bytes came (with a generous safety limit).
    std::string read(size_t count) {
        std::string got;
        for (int pass = 0; pass < 500 && got.size() < count; ++pass) {
            int8_t buffer[100];
            uint32_t size = 100;
            cl.serialRead(ref, buffer, &size, 10);
            got.append(reinterpret_cast<char*>(buffer), size);
        }
        return got;
    }
    std::pair<std::string, std::string> portInfo(uint32_t index, int32_t* result = nullptr) {
        int8_t name[100] = {};
        int8_t id[100] = {};
        uint32_t nameBytes = 100;
        uint32_t idBytes = 100;
        uint32_t version = 0;
        const int32_t r = cl.getPortInfo(index, name, &nameBytes, id, &idBytes, &version);
        if (result) *result = r;
        return {reinterpret_cast<char*>(name), reinterpret_cast<char*>(id)};
    }

    void* handle = nullptr;
    zr::ClSerialFunctions cl;
    void* ref = nullptr;
};

TEST_F(ClLibrary, ExchangesFramesWithTheDefaults) {
    uint32_t count = 0;
    cl.getNumPorts(&count);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(portInfo(0), std::make_pair(std::string("camsim"), std::string("camsim#0")));
    ASSERT_EQ(cl.serialInit(0, &ref), 0);
    write(commandFrame("8111000000"));
    EXPECT_EQ(read(11), "\x06" + answerFrame(0x034200, ETX));
    write("\x06");
}

TEST_F(ClLibrary, ReadReturningAtOnceStillDeliversEverything) {
    ::setenv("ZR_SIM_CL_READ", "now", 1);
    ::setenv("ZR_SIM_CL_OPTIONS", "--split 2,3", 1);
    ASSERT_EQ(cl.serialInit(0, &ref), 0);
    int8_t buffer[100];
    uint32_t size = 100;
    EXPECT_EQ(cl.serialRead(ref, buffer, &size, 10), 0);
    EXPECT_EQ(size, 0u);
    write(commandFrame("8111000000"));
    EXPECT_EQ(read(11), "\x06" + answerFrame(0x034200, ETX));
}

TEST_F(ClLibrary, PortsNamesAndIdsFromTheEnvironment) {
    ::setenv("ZR_SIM_CL_PORTS", "12", 1);
    ::setenv("ZR_SIM_CL_MANUFACTURERS", "Alpha;Beta", 1);
    ::setenv("ZR_SIM_CL_PORT_IDS", "a0;a1;b0", 1);
    uint32_t count = 0;
    cl.getNumPorts(&count);
    EXPECT_EQ(count, 12u);
    EXPECT_EQ(portInfo(0), std::make_pair(std::string("Alpha"), std::string("a0")));
    EXPECT_EQ(portInfo(2), std::make_pair(std::string("Beta"), std::string("b0")));
    EXPECT_EQ(portInfo(11), std::make_pair(std::string("Beta"), std::string("b0")));
    int32_t result = 0;
    portInfo(12, &result);
    EXPECT_EQ(result, CL_ERR_INVALID_INDEX);
    EXPECT_EQ(cl.serialInit(12, &ref), CL_ERR_INVALID_INDEX);
    ASSERT_EQ(cl.serialInit(11, &ref), 0);
}

TEST_F(ClLibrary, InitResults) {
    ::setenv("ZR_SIM_CL_INIT_RESULT", "-10003", 1);
    EXPECT_EQ(cl.serialInit(0, &ref), -10003);
    EXPECT_EQ(ref, nullptr);
    ::setenv("ZR_SIM_CL_INIT_RESULT", "7", 1);
    EXPECT_EQ(cl.serialInit(0, &ref), 7);
    EXPECT_NE(ref, nullptr);
    void* second = nullptr;
    ::unsetenv("ZR_SIM_CL_INIT_RESULT");
    EXPECT_EQ(cl.serialInit(0, &second), CL_ERR_PORT_IN_USE);
}

TEST_F(ClLibrary, BaudRateMask) {
    ::setenv("ZR_SIM_CL_BAUD_MASK", "0x5", 1);
    ASSERT_EQ(cl.serialInit(0, &ref), 0);
    uint32_t mask = 0;
    EXPECT_EQ(cl.getSupportedBaudRates(ref, &mask), 0);
    EXPECT_EQ(mask, 5u);
    EXPECT_EQ(cl.setBaudRate(ref, zr::CL_BAUDRATE_115200), CL_ERR_BAUD_RATE_NOT_SUPPORTED);
    EXPECT_EQ(cl.setBaudRate(ref, zr::CL_BAUDRATE_38400), 0);
}

TEST_F(ClLibrary, FaultOptionsAndBadOptions) {
    ::setenv("ZR_SIM_CL_OPTIONS", "--nak", 1);
    ASSERT_EQ(cl.serialInit(0, &ref), 0);
    write(commandFrame("0108050000"));
    EXPECT_EQ(read(1), "\x15");
    cl.serialClose(ref);
    ref = nullptr;
    ::setenv("ZR_SIM_CL_OPTIONS", "--delay soon", 1);
    EXPECT_LT(cl.serialInit(0, &ref), 0);
    EXPECT_EQ(ref, nullptr);
}

TEST_F(ClLibrary, FrameLog) {
    const auto log =
        std::filesystem::temp_directory_path() / ("camsim-cl-" + std::to_string(::getpid()));
    std::filesystem::remove(log);
    ::setenv("ZR_SIM_CL_LOG", log.c_str(), 1);
    ASSERT_EQ(cl.serialInit(0, &ref), 0);
    std::string bad = commandFrame("0108050000");
    bad[16] = 'X';
    write(commandFrame("0108050000") + bad);
    read(2);
    EXPECT_EQ(zr::test::readFile(log), "0108050000\n0108050000 BAD\n");
    std::filesystem::remove(log);
}

TEST_F(ClLibrary, ErrorTexts) {
    int8_t text[100];
    uint32_t size = sizeof text;
    EXPECT_EQ(cl.getErrorText(nullptr, CL_ERR_INVALID_INDEX, text, &size), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(text), "Invalid serial index");
}

TEST(ClIncompleteLibrary, LacksOnlyClSerialClose) {
    void* handle = ::dlopen((simDir() + "/libclser_incomplete.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << ::dlerror();
    EXPECT_EQ(::dlsym(handle, "clSerialClose"), nullptr);
    for (const char* name :
         {"clSerialInit", "clSerialRead", "clSerialWrite", "clGetNumPorts", "clGetPortInfo",
          "clGetSupportedBaudRates", "clSetBaudRate", "clGetErrorText"}) {
        EXPECT_NE(::dlsym(handle, name), nullptr) << name;
    }
    ::dlclose(handle);
}

}  // namespace
