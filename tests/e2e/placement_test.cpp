// Where Peerix's windows come up and how small they get: its dialogs wholly on the screen from a
// main window in any corner, a stored window rectangle brought back where its caption can be
// grabbed, and the smallest size the frame can be dragged to.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/sync.h"
#include "tests/e2e/support/view.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

RECT WorkArea() {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT Sized(LONG left, LONG top, LONG width, LONG height) {
    return RECT{left, top, left + width, top + height};
}

class Placement : public PeerixTest {};

}  // namespace

TEST_F(Placement, AboutAndOptionsOpenWhollyOnTheScreenFromAMainWindowInEachCorner) {
    const RECT work = WorkArea();
    // The smallest window there is.
    ASSERT_TRUE(Start());
    const SIZE least = SmallestWindow(window);
    ASSERT_TRUE(peerix.Close());
    const LONG w = least.cx, h = least.cy > 170 ? least.cy : 170;
    const struct {
        const char* where;
        RECT window;
    } corners[] = {
        {"top-left", Sized(work.left, work.top, w, h)},
        {"top-right", Sized(work.right - w, work.top, w, h)},
        {"bottom-left", Sized(work.left, work.bottom - h, w, h)},
        {"bottom-right", Sized(work.right - w, work.bottom - h, w, h)},
    };
    const struct {
        const char* caption;
        WORD key;
    } boxes[] = {{"About", 'A'}, {"Options", 'O'}};
    for (const auto& c : corners) {
        SCOPED_TRACE(c.where);
        ResetSettings();
        WriteRect("WindowPos", c.window.left, c.window.top, c.window.right, c.window.bottom);
        ASSERT_TRUE(peerix.Start());
        ASSERT_TRUE(Same(dialogs::Rect(peerix.Window()), c.window)) << Describe(dialogs::Rect(peerix.Window()));
        for (const auto& b : boxes) {
            SCOPED_TRACE(b.caption);
            ASSERT_TRUE(input::Focus(peerix.Window()));
            HWND box = dialogs::PressForDialog(peerix.Pid(), b.caption, b.key, {VK_CONTROL});
            ASSERT_NE(box, nullptr);
            const RECT r = dialogs::Rect(box);
            EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
                << Describe(r) << " on " << Describe(work);
            // Moved no further than needed: along each axis either centred on the main window
            // or against the edge of the work area that centring would have crossed.
            const POINT centred = dialogs::CentredOrigin(peerix.Window(), box);
            const LONG bw = r.right - r.left, bh = r.bottom - r.top;
            const LONG x =
                centred.x < work.left ? work.left : (centred.x + bw > work.right ? work.right - bw : centred.x);
            const LONG y =
                centred.y < work.top ? work.top : (centred.y + bh > work.bottom ? work.bottom - bh : centred.y);
            EXPECT_EQ(r.left, x);
            EXPECT_EQ(r.top, y);
            EXPECT_TRUE(x != centred.x || y != centred.y) << "centred, the box would have fitted";
            input::Press(VK_ESCAPE);
            ASSERT_TRUE(dialogs::WaitGone(box));
        }
        ASSERT_TRUE(peerix.Close());
    }
}

TEST_F(Placement, StoredRectanglesOutOfReachAreRescuedAndOnesOnTheScreenKept) {
    const RECT work = WorkArea();
    const LONG ww = work.right - work.left, wh = work.bottom - work.top;
    const struct {
        RECT stored, expected;
    } cases[] = {
        // Far larger than the screen, also beyond what 32 bits hold: the work area exactly.
        {{-100000, -100000, 100000, 100000}, work},
        {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, work},
        {{-2000000000, 100, 2000000000, 500}, {work.left, 100, work.right, 500}},
        // Saved on a monitor that is gone: its size kept, moved onto this one.
        {{5000, 5000, 5400, 5300}, Sized(work.right - 400, work.bottom - 300, 400, 300)},
        // Only a corner on the screen: moved just onto it, its size kept.
        {{1020, 760, 1500, 1100}, {work.right - 480, work.bottom - 340, work.right, work.bottom}},
        // Saved on a larger desktop, 1200 x 900: shrunk to the work area, its caption on the screen.
        {{100, 50, 1300, 950}, work},
        // Its caption above the screen's top, though most of it shows: moved down and right.
        {{-100, -50, 300, 250}, Sized(work.left, work.top, 400, 300)},
        // Wholly on the screen, in a corner, and partly off at the left with its caption on it:
        // exactly as stored.
        {Sized(work.right - 400, work.bottom - 240, 400, 240), Sized(work.right - 400, work.bottom - 240, 400, 240)},
        {{200, 150, 600, 450}, {200, 150, 600, 450}},
        {{-100, 10, 300, 310}, {-100, 10, 300, 310}},
    };
    ASSERT_GE(ww, 1000);
    ASSERT_GE(wh, 700);
    for (const auto& c : cases) {
        SCOPED_TRACE(Describe(c.stored));
        ResetSettings();
        WriteRect("WindowPos", c.stored.left, c.stored.top, c.stored.right, c.stored.bottom);
        ASSERT_TRUE(peerix.Start());
        const RECT r = dialogs::Rect(peerix.Window());
        EXPECT_TRUE(Same(r, c.expected)) << Describe(r) << ", want " << Describe(c.expected);
        ASSERT_TRUE(peerix.Close());
        // What is stored brings the window back there: the next start keeps it.
        const RegValue pos = ReadValue("WindowPos");
        EXPECT_TRUE(Same(RECT{pos.At(0), pos.At(1), pos.At(2), pos.At(3)}, r));
    }
}

TEST_F(Placement, DraggingTheFrameStopsWhereCaptionBarsAndASmallViewStayUsable) {
    WriteRect("WindowPos", 300, 200, 700, 500);
    ASSERT_TRUE(Start());
    HWND w = window;
    ASSERT_NE(chrome.toolbar, nullptr);
    ASSERT_NE(chrome.statusBar, nullptr);

    // The bottom-right corner of the frame dragged far up and left: it stops; a second drag
    // takes it no further.
    const RECT start = dialogs::Rect(w);
    input::LeftDrag(POINT{start.right - 2, start.bottom - 2}, POINT{start.left - 200, start.top - 150}, 12);
    ASSERT_TRUE(waiting::WaitFor([&] { return dialogs::Rect(w).right < start.right; }, 3000));
    ASSERT_TRUE(InputHandled(w));
    const RECT small = dialogs::Rect(w);
    input::LeftDrag(POINT{small.right - 2, small.bottom - 2}, POINT{small.left - 200, small.top - 150}, 12);
    ASSERT_TRUE(InputHandled(w));
    EXPECT_TRUE(Same(dialogs::Rect(w), small)) << Describe(dialogs::Rect(w)) << ", was " << Describe(small);
    EXPECT_EQ(small.left, 300);
    EXPECT_EQ(small.top, 200);
    EXPECT_LT(small.right - small.left, 400);
    EXPECT_LT(small.bottom - small.top, 300);

    // The caption's buttons are still there to press.
    const int captionY = small.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    bool minimise = false, close = false;
    for (LONG x = small.left; x < small.right; ++x) {
        const LRESULT hit = SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(x, captionY));
        minimise = minimise || hit == HTMINBUTTON;
        close = close || hit == HTCLOSE;
    }
    EXPECT_TRUE(minimise);
    EXPECT_TRUE(close);
    // The toolbar's buttons all fit the width, and the status bar and at least an icon's size of
    // view fit the height.
    RECT client;
    GetClientRect(w, &client);
    const RECT follow = remote::ButtonRect(chrome.toolbar, ID_FOLLOW_MOUSE);
    EXPECT_GT(follow.right, 0);
    EXPECT_LE(follow.right, client.right);
    const RECT view = ViewOnScreen(w);
    EXPECT_GE(view.bottom - view.top, GetSystemMetrics(SM_CYICON));
    EXPECT_GE(view.right - view.left, GetSystemMetrics(SM_CXICON));
    const RECT status = dialogs::Rect(chrome.statusBar);
    EXPECT_EQ(status.top, view.bottom);
    EXPECT_GT(status.bottom - status.top, 0);
    EXPECT_TRUE(IsWindowVisible(chrome.statusBar));
    ASSERT_TRUE(peerix.Close());
}
