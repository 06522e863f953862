// Runs the component tests with the program's instance handle set as WinMain would set it, and
// with the process's own settings pointed at a test key, so that neither the tests nor the save
// at exit ever write a user's real settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "app/settings.h"
#include "tests/e2e/support/registry.h"
#include "tests/win/window_support.h"

namespace {

constexpr char kProcessKey[] = "Software\\Tarnwell\\Peerix\\WinTestsProcess";

// Every value of the real settings key with its type and bytes; empty when there is none.
std::string RealKeyContents() {
    std::string contents;
    for (const std::string& name : e2e::ValueNames()) {
        const e2e::RegValue v = e2e::ReadValue(name.c_str());
        contents += name + '\0' + std::to_string(v.type) + '\0';
        contents.append(v.data.begin(), v.data.end());
        contents += '\n';
    }
    return contents;
}

// Constructed before every other static object of the process and so destroyed after them all,
// after the settings' save at exit: only then has the whole run had its chance to write. It
// compares the real key with what it held before the first test and removes the test key.
struct RealKeyGuard {
    std::string before;
    bool armed = false;
    ~RealKeyGuard() {
        RegDeleteKeyA(HKEY_CURRENT_USER, kProcessKey);
        if (!armed) return;
        if (RealKeyContents() != before) {
            std::fputs("FAILED: the test run changed the real settings key\n", stderr);
            std::fflush(stderr);
            std::_Exit(3);
        }
        std::puts("The real settings key is as it was before the tests.");
    }
};
__attribute__((init_priority(101))) RealKeyGuard realKeyGuard;

}  // namespace

int main(int argc, char** argv) {
    programInstance = GetModuleHandleA(nullptr);
    settings.UseKey(kProcessKey);
    realKeyGuard.before = RealKeyContents();
    realKeyGuard.armed = true;
    KeepHelpClosedAtStart();  // the tests of the start-up check set the time themselves
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
