// A display change while Peerix runs: the screen made smaller under the point and large again,
// by a helper process as the display settings would, in the virtual desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/view.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

// Runs the helper that sets the screen's size; true when it did.
bool SetScreenSize(int width, int height) {
    char command[MAX_PATH + 32];
    std::snprintf(command, sizeof command, "\"%sdisplay_mode.exe\" %d %d", ProgramFolder().c_str(), width, height);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    DWORD code = 1;
    if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0 && waiting::WaitFor([&] { return GetSystemMetrics(SM_CXSCREEN) == width; }, 5000);
}

// Puts the screen's size back when the test ends, whatever happened in it.
class ScreenSizeGuard {
public:
    ScreenSizeGuard() : width(GetSystemMetrics(SM_CXSCREEN)), height(GetSystemMetrics(SM_CYSCREEN)) {}
    ~ScreenSizeGuard() {
        if (GetSystemMetrics(SM_CXSCREEN) != width || GetSystemMetrics(SM_CYSCREEN) != height)
            SetScreenSize(width, height);
    }
    ScreenSizeGuard(const ScreenSizeGuard&) = delete;
    ScreenSizeGuard& operator=(const ScreenSizeGuard&) = delete;

private:
    int width, height;
};

std::string StatusFor(POINT p) {
    char text[64];
    std::snprintf(text, sizeof text, " %ld, %ld ", p.x, p.y);
    return text;
}

class DisplayChange : public testing::Test {
protected:
    void SetUp() override { ResetSettings(); }
    void TearDown() override { DeletePeerixKey(); }
};

}  // namespace

TEST_F(DisplayChange, ASmallerScreenReclampsThePointAndTheLargerOneIsReachableAgain) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    ScreenSizeGuard restore;
    // The pattern under both bottom-right corners; Peerix well inside the smaller screen.
    pixels::PatternWindow pattern(RECT{480, 280, 1024, 768});
    ASSERT_TRUE(pattern.WaitUntilShown());
    WriteDword("DisplayToolbar", 0);
    WriteDword("DisplayStatusbar", 1);
    WriteDword("ZoomFactor", 3);
    WritePoint("ZoomPoint", 1010, 750);
    const RECT place = WindowForClient(40, 60, 300, 220);
    WriteRect("WindowPos", place.left, place.top, place.right, place.bottom);
    PeerixProcess peerix;
    ASSERT_TRUE(peerix.Start());
    HWND w = peerix.Window();
    HWND status = FindChrome(w).statusBar;
    ASSERT_EQ(WaitForView(w, 3, POINT{1010, 750}), "");

    // 800 x 600: the view holds the new corner at its own, and the status bar follows the
    // cursor there with the colour under it.
    ASSERT_TRUE(SetScreenSize(800, 600));
    EXPECT_EQ(WaitForView(w, 3, POINT{799, 599}), "");
    const POINT corner = {799, 599};
    input::MoveTo(corner.x, corner.y);
    const COLORREF c = pixels::PatternColour(corner.x, corner.y);
    char colour[64];
    std::snprintf(colour, sizeof colour, " RGB:%03d,%03d,%03d ", GetRValue(c), GetGValue(c), GetBValue(c));
    EXPECT_TRUE(waiting::WaitFor(
        [&] { return remote::StatusText(status, 3) == StatusFor(corner) && remote::StatusText(status, 1) == colour; },
        3000))
        << remote::StatusText(status, 3) << remote::StatusText(status, 1);

    // Back to 1024 x 768: the keys take the view to the old corner again.
    ASSERT_TRUE(SetScreenSize(1024, 768));
    ASSERT_TRUE(input::FocusForKeys(w));
    for (int i = 0; i < 4; ++i) {
        input::Press(VK_NEXT, {VK_CONTROL});
        input::Press(VK_NEXT);
    }
    EXPECT_EQ(WaitForView(w, 3, POINT{1023, 767}), "");
    ASSERT_TRUE(peerix.Close());
}
