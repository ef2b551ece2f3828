// Built into every test program: points the tests at this build's simulated
// camera and programs unless the environment already says otherwise, so a
// test binary runs the same under ctest and by hand.
#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("ZR_SIM_DIR", ZR_TEST_SIM_DIR, 0);
        setenv("ZR_BIN_DIR", ZR_TEST_BIN_DIR, 0);
    }
};

const TestEnvironment environment;

}  // namespace
