// Entry point of the screen tests: one QApplication for all of them, offscreen.
#include <QApplication>
#include <cstdlib>

#include <gtest/gtest.h>

// The toolkit and the font library keep allocations until the process ends; leak reports
// of screen tests would be about them, not about our code (logic tests keep leak checks).
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
