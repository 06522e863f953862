// A display change while Peerix runs: the screen made smaller under the point and large again,
// by a helper process as the display settings would, in the virtual desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/view.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

std::string StatusFor(POINT p) {
    char text[64];
    std::snprintf(text, sizeof text, " %ld, %ld ", p.x, p.y);
    return text;
}

class DisplayChange : public PeerixTest {};

}  // namespace

TEST_F(DisplayChange, ASmallerScreenReclampsThePointAndTheLargerOneIsReachableAgain) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    // The pattern under both bottom-right corners; Peerix well inside the smaller screen.
    pixels::PatternWindow pattern(RECT{480, 280, 1024, 768});
    ASSERT_TRUE(pattern.WaitUntilShown());
    WriteStartSettings(false, true, 3, POINT{1010, 750}, WindowForClient(40, 60, 300, 220));
    ASSERT_TRUE(Start());
    HWND w = window;
    HWND status = chrome.statusBar;
    ASSERT_EQ(WaitForView(w, 3, POINT{1010, 750}), "");

    // 800 x 600: the view holds the new corner at its own, and the status bar follows the
    // cursor there with the colour under it.
    ASSERT_TRUE(SetScreenSize(800, 600));
    EXPECT_EQ(WaitForView(w, 3, POINT{799, 599}), "");
    const POINT corner = {799, 599};
    input::MoveTo(corner.x, corner.y);
    const COLORREF c = pixels::PatternColour(corner.x, corner.y);
    const std::string colour = RgbText(c);
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
