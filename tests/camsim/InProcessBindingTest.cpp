#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ModelHarness.h"
#include "model/ClErrors.h"
#include "model/SimClSerial.h"

using namespace zr::sim;

namespace {

class InProcessBinding : public ::testing::Test {
  protected:
    void SetUp() override { attachModel(3, &h.model); }
    void TearDown() override { attachModel(3, nullptr); }

    ModelHarness h;
    const zr::ClSerialFunctions& cl = inProcessClFunctions();
};

TEST_F(InProcessBinding, AllFunctionsAreThere) {
    EXPECT_TRUE(cl.serialInit && cl.serialRead && cl.serialWrite && cl.serialClose &&
                cl.getNumPorts && cl.getPortInfo && cl.getSupportedBaudRates && cl.setBaudRate &&
                cl.getErrorText);
}

TEST_F(InProcessBinding, WriteReadAndClose) {
    void* ref = nullptr;
    ASSERT_EQ(cl.serialInit(3, &ref), 0);
    ASSERT_NE(ref, nullptr);
    EXPECT_TRUE(inProcessPortOpen(3));

    std::string frame = commandFrame("8111000000");
    uint32_t size = static_cast<uint32_t>(frame.size());
    EXPECT_EQ(cl.serialWrite(ref, reinterpret_cast<int8_t*>(frame.data()), &size, 1000), 0);
    EXPECT_EQ(size, 18u);

    int8_t buffer[100];
    size = 100;
    cl.serialRead(ref, buffer, &size, 10);
    ASSERT_EQ(size, 1u);
    EXPECT_EQ(buffer[0], ACK);
    size = 100;
    cl.serialRead(ref, buffer, &size, 10);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), size), answerFrame(0x034200, ETX));
    size = 100;
    cl.serialRead(ref, buffer, &size, 10);
    EXPECT_EQ(size, 0u);

    cl.serialClose(ref);
    EXPECT_FALSE(inProcessPortOpen(3));
    size = 100;
    EXPECT_NE(cl.serialRead(ref, buffer, &size, 10), 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(h.model.commandTexts(), std::vector<std::string>{"8111000000"});
}

TEST_F(InProcessBinding, ReadSizeLimitsWhatIsTaken) {
    void* ref = nullptr;
    ASSERT_EQ(cl.serialInit(3, &ref), 0);
    h.model.updateFaults([](FaultSettings& f) { f.mergeAckAndAnswer = true; });
    h.command("8108000000");
    int8_t buffer[100];
    uint32_t size = 4;
    cl.serialRead(ref, buffer, &size, 10);
    EXPECT_EQ(size, 4u);
    size = 100;
    cl.serialRead(ref, buffer, &size, 10);
    EXPECT_EQ(size, 7u);
    cl.serialClose(ref);
}

TEST_F(InProcessBinding, UnattachedIndexAndInitResults) {
    void* ref = nullptr;
    EXPECT_EQ(cl.serialInit(2, &ref), CL_ERR_INVALID_INDEX);
    EXPECT_EQ(cl.serialInit(99, &ref), CL_ERR_INVALID_INDEX);
    EXPECT_EQ(ref, nullptr);
    setInProcessInitResult(3, -10003);
    EXPECT_EQ(cl.serialInit(3, &ref), -10003);
    EXPECT_FALSE(inProcessPortOpen(3));
    setInProcessInitResult(3, 5);
    EXPECT_EQ(cl.serialInit(3, &ref), 5);
    cl.serialClose(ref);
}

TEST_F(InProcessBinding, PortsAndBaudRates) {
    uint32_t count = 0;
    cl.getNumPorts(&count);
    EXPECT_EQ(count, 4u);
    int8_t name[100];
    int8_t id[100];
    uint32_t nameBytes = 100;
    uint32_t idBytes = 100;
    uint32_t version = 0;
    EXPECT_EQ(cl.getPortInfo(3, name, &nameBytes, id, &idBytes, &version), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(id), "camsim3");

    setInProcessBaudRates(3, zr::CL_BAUDRATE_9600 | zr::CL_BAUDRATE_38400);
    void* ref = nullptr;
    ASSERT_EQ(cl.serialInit(3, &ref), 0);
    uint32_t mask = 0;
    cl.getSupportedBaudRates(ref, &mask);
    EXPECT_EQ(mask, 5u);
    EXPECT_EQ(cl.setBaudRate(ref, zr::CL_BAUDRATE_115200), CL_ERR_BAUD_RATE_NOT_SUPPORTED);
    EXPECT_EQ(cl.setBaudRate(ref, zr::CL_BAUDRATE_38400), 0);
    EXPECT_EQ(inProcessBaudRate(3), zr::CL_BAUDRATE_38400);
    cl.serialClose(ref);
}

TEST_F(InProcessBinding, ErrorTextsAndSmallBuffers) {
    int8_t text[100];
    uint32_t size = 100;
    EXPECT_EQ(cl.getErrorText(nullptr, CL_ERR_TIMEOUT, text, &size), 0);
    EXPECT_STREQ(reinterpret_cast<char*>(text), "Time-out");
    EXPECT_EQ(cl.getErrorText(nullptr, 12345, text, &size), CL_ERR_ERROR_NOT_FOUND);
    size = 3;
    EXPECT_EQ(cl.getErrorText(nullptr, CL_ERR_TIMEOUT, text, &size), CL_ERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(size, 9u);
}

}  // namespace

namespace {

// A host thread drives the port while another thread reconfigures the
// camera and inspects it; run under ThreadSanitizer this finds unlocked state.
TEST(InProcessBindingThreads, HostAndConfigurationRunConcurrently) {
    ModelHarness h;
    attachModel(5, &h.model);
    const auto& cl = inProcessClFunctions();
    void* ref = nullptr;
    ASSERT_EQ(cl.serialInit(5, &ref), 0);
    std::atomic<bool> done{false};
    std::thread host([&] {
        std::string frame = commandFrame("8117000000");
        for (int i = 0; i < 300; ++i) {
            uint32_t size = static_cast<uint32_t>(frame.size());
            cl.serialWrite(ref, reinterpret_cast<int8_t*>(frame.data()), &size, 1000);
            int8_t buffer[100];
            size = 100;
            cl.serialRead(ref, buffer, &size, 10);
        }
        done = true;
    });
    int changes = 0;
    while (!done) {
        h.model.updateFaults([&](FaultSettings& f) { f.mergeAckAndAnswer = (++changes % 2) != 0; });
        h.model.updateBehaviour([](BehaviourSettings& b) { b.temperatureTenths++; });
        h.model.frames();
        h.model.reg(0x01, 0x17);
    }
    host.join();
    cl.serialClose(ref);
    attachModel(5, nullptr);
    EXPECT_EQ(h.model.commandTexts().size(), 300u);
}

}  // namespace
