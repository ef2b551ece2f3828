// libzrk880 as a program uses it: loaded as the shared library, talking to the
// simulated camera program on a pseudo-terminal. What the core does is tested
// with the core; here: the result codes and texts, handles, threads and
// callbacks the C API adds.

#include <gtest/gtest.h>
#include <signal.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/CamsimProcess.h"
#include "support/EnvVar.h"
#include "support/FileText.h"
#include "support/TempDir.h"
#include "zrk880.h"

namespace zr::test {
namespace {

// A simulated camera and an open handle on it.
class LibraryApi : public ::testing::Test {
  protected:
    // Starts a camera on COM<port> and opens it by its device path.
    zrk880_camera* openCamera(int port = 3, const std::vector<std::string>& options = {}) {
        cameras_.push_back(std::make_unique<CamsimProcess>(dir_.path(), port, options));
        EXPECT_TRUE(cameras_.back()->ready());
        zrk880_camera* camera = nullptr;
        EXPECT_EQ(zrk880_open(cameras_.back()->slavePath().c_str(), 9600, &camera), ZRK880_OK)
            << zrk880_last_error();
        handles_.push_back(camera);
        return camera;
    }
    void TearDown() override {
        for (zrk880_camera* h : handles_) zrk880_close(h);
    }

    TempDir dir_;
    std::vector<std::unique_ptr<CamsimProcess>> cameras_;
    std::vector<zrk880_camera*> handles_;
};

struct ErrorCase {
    const char* what;
    std::function<int(zrk880_camera*)> call;
    int code;
    std::string text;
};

TEST_F(LibraryApi, FailuresComeBackAsCodesWithThePanelsTexts) {
    zrk880_camera* cam = openCamera();
    TempDir files;
    writeFile(files.file("bad.csv"), "1,2,300\n");
    int32_t value = 0;
    const std::vector<ErrorCase> cases = {
        {"out of range", [](auto* c) { return zrk880_set(c, "gain_level", 342); }, ZRK880_ERR_RANGE,
         "Setting value is out of range"},
        {"unknown name", [&](auto* c) { return zrk880_get(c, "gain", &value); }, ZRK880_ERR_INPUT,
         "unknown setting \"gain\" (see: zrk880ctl names)"},
        {"no value address", [](auto* c) { return zrk880_get(c, "gain_level", nullptr); },
         ZRK880_ERR_INPUT, "the value's address is NULL"},
        {"command register", [](auto* c) { return zrk880_set(c, "memory_load", 1); },
         ZRK880_ERR_INPUT,
         "memory_load is a command register: load or save a memory, or run the factory "
         "setting, with their own calls"},
        {"no identity texts", [](auto* c) { return zrk880_identity(c, nullptr); }, ZRK880_ERR_INPUT,
         "the identity texts' address is NULL"},
        {"bad command text", [](auto* c) { return zrk880_command(c, "01G", nullptr, nullptr); },
         ZRK880_ERR_INPUT, "Character error."},
        {"short command text", [](auto* c) { return zrk880_command(c, "01", nullptr, nullptr); },
         ZRK880_ERR_INPUT, "Command Length error."},
        {"settings text",
         [](auto* c) { return zrk880_restore(c, "gain_level,6,999\n", 17, nullptr); },
         ZRK880_ERR_INPUT, "line 1: gain_level (row 6) = 999 is out of range (0..341)"},
        {"settings file",
         [&](auto* c) { return zrk880_restore_file(c, "/nonexistent.json", nullptr); },
         ZRK880_ERR_FILE, ""},
        {"memory", [](auto* c) { return zrk880_save_memory(c, 0); }, ZRK880_ERR_INPUT,
         "0 is not a setting memory (1-4 FILE1-FILE4)"},
        {"table file",
         [&](auto*) {
             uint8_t t[ZRK880_LUT_SIZE];
             return zrk880_lut_load_csv(files.file("bad.csv").c_str(), t);
         },
         ZRK880_ERR_INPUT, ""},
        {"closed handle",
         [](auto*) {
             return zrk880_get(reinterpret_cast<zrk880_camera*>(uintptr_t{999999}), "gain_level",
                               nullptr);
         },
         ZRK880_ERR_HANDLE, "not a handle of an open camera"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(cam), c.code) << zrk880_result_name(c.call(cam));
        if (!c.text.empty()) {
            EXPECT_EQ(zrk880_last_error(), c.text);
        }
        EXPECT_STRNE(zrk880_last_error(), "");
    }
    // Nothing of it reached the camera; a good call clears the last error.
    ASSERT_EQ(zrk880_get(cam, "gain_level", &value), ZRK880_OK);
    EXPECT_EQ(value, 0);
    EXPECT_STREQ(zrk880_last_error(), "");
}

TEST_F(LibraryApi, OpeningFailuresNameTheRoutesProblem) {
    zrk880_camera* held = openCamera(3);
    ASSERT_NE(held, nullptr);
    const EnvVar portDir("ZRK880_PORT_DIR", dir_.path().c_str());
    struct OpenCase {
        const char* route;
        int baud;
        int code;
        std::string text;
    };
    const std::vector<OpenCase> cases = {
        {"", 9600, ZRK880_ERR_INPUT, ""},
        {"COM3", 9600, ZRK880_ERR_PORT, "Port Open Error"},  // held by the first handle
        {cameras_[0]->slavePath().c_str(), 9600, ZRK880_ERR_PORT, "Port Open Error"},
        {"COM7", 9600, ZRK880_ERR_PORT, "Port Open Error"},  // no such port
        {"/dev/null", 1234, ZRK880_ERR_PORT, "Baud rate \"1234\" is not supported."},
        {"cllib:/nonexistent/libmaker.so", 9600, ZRK880_ERR_PORT,
         "/nonexistent/libmaker.so does not exist."},
        {"clall:x", 9600, ZRK880_ERR_INPUT, ""},
    };
    for (const OpenCase& c : cases) {
        SCOPED_TRACE(c.route);
        zrk880_camera* cam = reinterpret_cast<zrk880_camera*>(uintptr_t{1});
        EXPECT_EQ(zrk880_open(c.route, c.baud, &cam), c.code) << zrk880_last_error();
        EXPECT_EQ(cam, nullptr);
        if (!c.text.empty()) {
            EXPECT_EQ(zrk880_last_error(), c.text);
        }
    }
    EXPECT_EQ(zrk880_open(nullptr, 9600, nullptr), ZRK880_ERR_INPUT);
    // The held port still works through its handle, and by COM name once freed.
    int32_t value = -1;
    EXPECT_EQ(zrk880_get(held, "gain_level", &value), ZRK880_OK);
    EXPECT_EQ(zrk880_close(held), ZRK880_OK);
    EXPECT_EQ(zrk880_close(held), ZRK880_ERR_HANDLE);
    EXPECT_EQ(zrk880_get(held, "gain_level", &value), ZRK880_ERR_HANDLE);
    EXPECT_EQ(zrk880_close(nullptr), ZRK880_OK);
    handles_.clear();
    zrk880_camera* byName = nullptr;
    ASSERT_EQ(zrk880_open("COM3", 9600, &byName), ZRK880_OK) << zrk880_last_error();
    handles_.push_back(byName);
}

TEST_F(LibraryApi, ASilentCameraIsALinkFailureForReadsAndWrites) {
    zrk880_camera* cam = openCamera(3, {"--silent"});
    int32_t value = 0;
    EXPECT_EQ(zrk880_get(cam, "gain_level", &value), ZRK880_ERR_LINK);
    EXPECT_STREQ(zrk880_last_error(), "There is no [ACK]");
    // The link takes a write's frame at once; its missing ACK still fails the call.
    EXPECT_EQ(zrk880_set(cam, "gain_level", 5), ZRK880_ERR_LINK);
    EXPECT_STREQ(zrk880_last_error(), "There is no [ACK]");
}

TEST_F(LibraryApi, SnapshotsRestoreAndCompareInMemoryAndInFiles) {
    zrk880_camera* cam = openCamera();
    std::vector<char> text(ZRK880_SNAPSHOT_SIZE);
    size_t size = 8;
    ASSERT_EQ(zrk880_snapshot(cam, ZRK880_FORMAT_JSON, text.data(), &size), ZRK880_ERR_BUFFER);
    const size_t needed = size;
    size = text.size();
    ASSERT_EQ(zrk880_snapshot(cam, ZRK880_FORMAT_JSON, text.data(), &size), ZRK880_OK);
    EXPECT_EQ(size, needed);
    EXPECT_NE(std::string(text.data()).find("\"camera\": \"ZR-K880TM\""), std::string::npos);

    TempDir files;
    ASSERT_EQ(zrk880_snapshot_file(cam, files.file("golden.csv").c_str()), ZRK880_OK);
    ASSERT_EQ(zrk880_set(cam, "gain_level", 120), ZRK880_OK);
    ASSERT_EQ(zrk880_set(cam, "shutter_speed", 3), ZRK880_OK);

    std::array<zrk880_difference, 1> one{};
    size_t count = one.size();
    EXPECT_EQ(zrk880_compare(cam, text.data(), size, one.data(), &count), ZRK880_ERR_BUFFER);
    EXPECT_EQ(count, 2u);
    std::array<zrk880_difference, ZRK880_USER_SETTINGS> all{};
    count = all.size();
    ASSERT_EQ(zrk880_compare_file(cam, files.file("golden.csv").c_str(), all.data(), &count),
              ZRK880_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(all[0].name, "shutter_speed");
    EXPECT_EQ(all[0].camera_value, 3);
    EXPECT_STREQ(all[1].name, "gain_level");
    EXPECT_EQ(all[1].camera_value, 120);
    EXPECT_EQ(all[1].file_value, 0);

    int written = 0;
    ASSERT_EQ(zrk880_restore(cam, text.data(), size, &written), ZRK880_OK);
    EXPECT_EQ(written, ZRK880_USER_SETTINGS - 3);  // not the three command registers
    count = all.size();
    ASSERT_EQ(zrk880_compare(cam, text.data(), size, all.data(), &count), ZRK880_OK);
    EXPECT_EQ(count, 0u);
}

TEST_F(LibraryApi, TwoCamerasFromTwoThreads) {
    zrk880_camera* cams[] = {openCamera(3), openCamera(4)};
    std::array<int, 2> failures{};
    auto drive = [&](int i) {
        for (int32_t v = 0; v < 40; ++v) {
            int32_t back = -1;
            const int32_t want = v + 100 * i;
            if (zrk880_set(cams[i], "gain_level", want) != ZRK880_OK ||
                zrk880_get(cams[i], "gain_level", &back) != ZRK880_OK || back != want)
                ++failures[i];
        }
    };
    std::thread other(drive, 1);
    drive(0);
    other.join();
    EXPECT_EQ(failures, (std::array<int, 2>{0, 0}));
}

TEST_F(LibraryApi, TwoThreadsOnOneHandleTakeTurns) {
    zrk880_camera* cam = openCamera();
    // Each thread reads back what it wrote: interleaved exchanges would hand
    // one thread the other's answer.
    std::array<int, 2> failures{};
    const char* names[] = {"gain_level", "shutter_speed"};
    auto drive = [&](int i) {
        for (int32_t v = 0; v < 60; ++v) {
            int32_t back = -1;
            if (zrk880_set(cam, names[i], v) != ZRK880_OK ||
                zrk880_get(cam, names[i], &back) != ZRK880_OK || back != v)
                ++failures[i];
        }
    };
    std::thread other(drive, 1);
    drive(0);
    other.join();
    EXPECT_EQ(failures, (std::array<int, 2>{0, 0}));
}

struct Progress {
    zrk880_camera* camera;
    int stopAt;
    int calls = 0;
    int reentry = ZRK880_OK;
};

TEST_F(LibraryApi, ProgressCanCancelAndCallbacksCannotCallBackIn) {
    zrk880_camera* cam = openCamera();
    std::array<uint8_t, ZRK880_LUT_SIZE> table{};
    table.fill(7);
    Progress p{cam, 10};
    auto progress = [](int done, int, int, void* user) {
        auto* self = static_cast<Progress*>(user);
        ++self->calls;
        int32_t v = 0;
        if (done == 1) self->reentry = zrk880_get(self->camera, "gain_level", &v);
        return done == self->stopAt ? 1 : 0;
    };
    EXPECT_EQ(zrk880_lut_read(cam, table.data(), progress, &p), ZRK880_ERR_CANCELLED);
    EXPECT_STREQ(zrk880_last_error(), "LUT read cancelled: 10 of 768 entries were read.");
    EXPECT_EQ(p.calls, 10);
    EXPECT_EQ(p.reentry, ZRK880_ERR_INPUT);
    EXPECT_EQ(table[9], 9);   // the simulated camera starts with the identity table
    EXPECT_EQ(table[10], 7);  // not reached: as it was

    // A written table reads back whole.
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(255 - i % 256);
    ASSERT_EQ(zrk880_lut_write(cam, table.data(), nullptr, nullptr), ZRK880_OK);
    std::array<uint8_t, ZRK880_LUT_SIZE> back{};
    ASSERT_EQ(zrk880_lut_read(cam, back.data(), nullptr, nullptr), ZRK880_OK);
    EXPECT_EQ(back, table);
}

TEST_F(LibraryApi, TraceAndMessageCallbacksSeeWhatThePanelWouldShow) {
    zrk880_camera* cam = openCamera();
    std::vector<std::string> lines, messages;
    auto trace = [](const zrk880_trace_line* line, void* user) {
        static_cast<std::vector<std::string>*>(user)->push_back(std::string(line->direction) + " " +
                                                                line->meaning);
    };
    auto message = [](const char* caption, const char* text, int, void* user) {
        static_cast<std::vector<std::string>*>(user)->push_back(std::string(caption) + ": " + text);
    };
    ASSERT_EQ(zrk880_set_trace(cam, trace, &lines), ZRK880_OK);
    ASSERT_EQ(zrk880_set_message_callback(cam, message, &messages), ZRK880_OK);
    int32_t value = 0;
    ASSERT_EQ(zrk880_get(cam, "gain_level", &value), ZRK880_OK);
    EXPECT_EQ(zrk880_set(cam, "gain_level", 400), ZRK880_ERR_RANGE);
    ASSERT_EQ(zrk880_set_trace(cam, nullptr, nullptr), ZRK880_OK);
    ASSERT_EQ(zrk880_get(cam, "gain_level", &value), ZRK880_OK);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"-> read gain_level",
                                        "<- ACK, answer 00 00 00: gain_level = 0", "-> ACK"}));
    EXPECT_EQ(messages, (std::vector<std::string>{"Send error: Setting value is out of range"}));
}

}  // namespace
}  // namespace zr::test
