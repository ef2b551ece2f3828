#include <gtest/gtest.h>

#include <QApplication>
#include <QThreadPool>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

// One QApplication for every GUI test; the offscreen platform unless a display is asked for.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("ZR_K880TM_Control");
    // Qt paints large images on its global thread pool. A pool thread that is
    // still exiting when the process ends holds its thread data where the leak
    // checker no longer looks, so the check would fail now and then. Keep the
    // threads alive and check for leaks while they are still running.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    // Every test and fixture is gone by now, so whatever they leaked is found
    // here; a leak ends the process with the checker's exit code, and the
    // check at exit is then skipped.
    __lsan_do_leak_check();
#endif
    return result;
}
