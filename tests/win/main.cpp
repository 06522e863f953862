// Runs the component tests with the program's instance handle set as WinMain would set it.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "tests/win/window_support.h"

int main(int argc, char** argv) {
    programInstance = GetModuleHandleA(nullptr);
    KeepHelpClosedAtStart();  // the tests of the start-up check set the time themselves
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
