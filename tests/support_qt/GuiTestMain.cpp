#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// One QApplication for every GUI test; the offscreen platform unless a display is asked for.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName("ZR_K880TM_Control");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
