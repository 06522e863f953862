// Runs the component tests with the program's instance handle set as WinMain would set it.
#include <gtest/gtest.h>

#include "app/globals.h"

int main(int argc, char** argv) {
    programInstance = GetModuleHandleA(nullptr);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
