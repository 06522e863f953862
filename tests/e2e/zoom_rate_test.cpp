// Zooming and the refresh rate as a user sets them: Ctrl+wheel, the keypad and the main keyboard's
// + and -, the zoom trackbar, the context menu's 2x and 4x, Ctrl with those keys for the rate; the picture, the
// trackbars and their tips follow, and the values are held inside their ranges.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/sync.h"
#include "tests/e2e/support/view.h"
#include "tests/e2e/support/view_check.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;
using namespace pixels;

namespace {

const POINT kPoint = {200, 180};

std::string ZoomTip(int zoom) {
    return "Zoom Level x" + std::to_string(zoom);
}

class ZoomAndRate : public PeerixTest {
protected:
    // Starts Peerix over the pattern without the status bar, with or without the toolbar, at
    // zoom 3 showing kPoint, with the keyboard focus and both trackbars; false when any fails.
    bool StartAtZoom3(bool toolbar) {
        WriteStartSettings(toolbar, false, 3, kPoint, WindowForClient(560, 100, 340, 260));
        return pattern.WaitUntilShown() && Start() && chrome.zoomTrack && chrome.rateTrack;
    }

    // The picture, the zoom trackbar and its tip all show zoom.
    void ExpectZoom(int zoom, const char* how) {
        EXPECT_EQ(WaitForView(window, zoom, kPoint), "") << how << ": zoom " << zoom;
        EXPECT_EQ(SendMessageA(chrome.zoomTrack, TBM_GETPOS, 0, 0), zoom) << how;
        EXPECT_EQ(remote::ToolText(chrome.tooltip, chrome.tooltip, chrome.zoomTrack), ZoomTip(zoom)) << how;
    }

    // The rate trackbar shows rate within 2 s.
    bool RateIs(int rate) {
        return waiting::WaitFor([&] { return SendMessageA(chrome.rateTrack, TBM_GETPOS, 0, 0) == rate; }, 2000);
    }

    void CtrlWheel(int delta) {
        input::KeyDown(VK_CONTROL);
        input::Wheel(delta);
        input::KeyUp(VK_CONTROL);
    }

    PatternWindow pattern{RECT{0, 0, 480, 420}};
};

}  // namespace

TEST_F(ZoomAndRate, WheelKeysMenuAndTrackbarSetTheZoomWithinOneTo32) {
    ASSERT_TRUE(StartAtZoom3(true));
    ASSERT_NE(chrome.tooltip, nullptr);
    const RECT view = ViewOnScreen(window);
    input::MoveTo((view.left + view.right) / 2, (view.top + view.bottom) / 2);
    ExpectZoom(3, "start");

    CtrlWheel(120);
    ExpectZoom(4, "Ctrl+wheel away");
    input::Wheel(120);
    input::Wheel(-240);
    ASSERT_TRUE(InputHandled(window));
    ExpectZoom(4, "wheel without Ctrl");
    CtrlWheel(-120);
    CtrlWheel(-120);
    ExpectZoom(2, "Ctrl+wheel back twice");
    input::Press(VK_ADD);
    ExpectZoom(3, "keypad +");
    for (int i = 0; i < 3; ++i) input::Press(VK_SUBTRACT);
    ExpectZoom(1, "keypad - three times from 3");
    CtrlWheel(-120);
    ExpectZoom(1, "Ctrl+wheel back at 1");

    ASSERT_TRUE(PickFromMenu('4'));
    ExpectZoom(4, "the context menu's 4x Zoom");
    // A right click on the view that selects nothing opens the same menu where it was made.
    input::RightClick((view.left + view.right) / 2, (view.top + view.bottom) / 2);
    ASSERT_NE(WaitForMenu(3000), nullptr);
    input::Press('2');
    ExpectZoom(2, "the context menu's 2x Zoom");

    for (int i = 0; i < 30; ++i) input::Press(VK_ADD);
    ExpectZoom(32, "keypad + thirty times from 2");
    input::Press(VK_ADD);
    CtrlWheel(120);
    ASSERT_TRUE(InputHandled(window));
    ExpectZoom(32, "more at 32");

    // The trackbar with the mouse: its thumb dragged to the left end, then a click in the channel
    // right of the thumb pages by two.
    const RECT thumb = ThumbOnScreen(chrome.zoomTrack);
    const RECT track = dialogs::Rect(chrome.zoomTrack);
    const int y = (thumb.top + thumb.bottom) / 2;
    input::LeftDrag(POINT{(thumb.left + thumb.right) / 2, y}, POINT{track.left - 30, y});
    ExpectZoom(1, "thumb dragged to the left end");
    const RECT left = ThumbOnScreen(chrome.zoomTrack);
    input::LeftClick(left.right + 6, y);
    ExpectZoom(3, "a click right of the thumb");
    input::LeftDrag(POINT{(left.left + left.right) / 2 + 4, y}, POINT{track.right + 30, y});
    ExpectZoom(32, "thumb dragged to the right end");

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), 32u);
}

TEST_F(ZoomAndRate, MainKeyboardPlusAndMinusWorkLikeTheKeypads) {
    // A keyboard without a keypad: + (shifted or not, which is = on many layouts) and - zoom;
    // with Ctrl they step the rate and leave the zoom alone.
    ASSERT_TRUE(StartAtZoom3(true));
    ExpectZoom(3, "start");
    input::Press(VK_OEM_PLUS);
    ExpectZoom(4, "= (the + key unshifted)");
    input::Press(VK_OEM_PLUS, {VK_SHIFT});
    ExpectZoom(5, "Shift and the + key");
    input::Press(VK_OEM_MINUS);
    input::Press(VK_OEM_MINUS);
    ExpectZoom(3, "- twice");
    EXPECT_TRUE(RateIs(1));

    input::Press(VK_OEM_PLUS, {VK_CONTROL});
    EXPECT_TRUE(RateIs(2)) << "Ctrl and =";
    input::Press(VK_OEM_PLUS, {VK_CONTROL, VK_SHIFT});
    EXPECT_TRUE(RateIs(3)) << "Ctrl, Shift and the + key";
    input::Press(VK_OEM_MINUS, {VK_CONTROL});
    EXPECT_TRUE(RateIs(2)) << "Ctrl and -";
    ASSERT_TRUE(InputHandled(window));
    ExpectZoom(3, "the rate keys");

    // Held in range at both ends, as the keypad's keys are.
    for (int i = 0; i < 5; ++i) input::Press(VK_OEM_MINUS);
    ExpectZoom(1, "- below 1");
    for (int i = 0; i < 5; ++i) input::Press(VK_OEM_PLUS, {VK_CONTROL});
    EXPECT_TRUE(RateIs(4)) << "Ctrl and = beyond Fast";
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), 1u);
    EXPECT_EQ(ReadValue("Update").AsDword(), 4u);
}

TEST_F(ZoomAndRate, RefreshRateDecidesWhetherAndHowSoonTheViewFollowsTheScreen) {
    ASSERT_TRUE(StartAtZoom3(false));
    ASSERT_EQ(WaitForView(window, 3, kPoint, 0), "");

    const auto expectRate = [&](int rate, const char* name) {
        EXPECT_TRUE(RateIs(rate)) << name;
        EXPECT_EQ(remote::ToolText(chrome.tooltip, chrome.tooltip, chrome.rateTrack),
                  std::string("Auto Update - ") + name);
    };
    int variant = 0;
    // Changes the scene under the view and returns how long the view took to show it (ms), or -1
    // when it did not within the limit.
    const auto latency = [&](int limitMs) -> int {
        pattern.SetVariant(++variant);
        if (!pattern.WaitUntilShown()) return -2;
        const DWORD start = GetTickCount();
        const int v = variant;
        if (!waiting::WaitFor([&] { return CompareView(window, 3, kPoint, v).empty(); }, limitMs, 5)) return -1;
        return static_cast<int>(GetTickCount() - start);
    };

    // None: the view keeps its picture while the screen under it changes.
    expectRate(1, "None");
    EXPECT_EQ(latency(1500), -1);
    EXPECT_EQ(CompareView(window, 3, kPoint, 0), "");

    // Each rate is set with Ctrl+keypad +; the picture then follows within its interval (plus
    // some slack for a loaded machine).
    const struct {
        int rate;
        const char* name;
        int intervalMs;
    } rates[] = {{2, "Slow", 1000}, {3, "Medium", 100}, {4, "Fast", 50}};
    for (const auto& r : rates) {
        input::KeyDown(VK_CONTROL);
        input::Press(VK_ADD);
        input::KeyUp(VK_CONTROL);
        expectRate(r.rate, r.name);
        for (int i = 0; i < 3; ++i) {
            const int ms = latency(r.intervalMs + 400);
            EXPECT_GE(ms, 0) << r.name << ": the view did not follow within " << r.intervalMs + 400 << " ms";
        }
    }
    input::KeyDown(VK_CONTROL);
    input::Press(VK_ADD);
    input::KeyUp(VK_CONTROL);
    ASSERT_TRUE(InputHandled(window));
    expectRate(4, "Fast");

    // A selection being made and one made hold the picture even at Fast; dropped, it follows
    // again. Watched in the view's bottom-right corner, clear of the ants and the menu; while
    // the ants step three times the refresh ticks at least as often.
    const RECT view = ViewOnScreen(window);
    const POINT source = SourceOrigin(view, 3, kPoint);
    const auto cornerShows = [&](int v) {
        // From the first view pixel of a magnified pixel, to the view's edges.
        const POINT skip = {(view.right - view.left - 96) / 3, (view.bottom - view.top - 72) / 3};
        const POINT at = {view.left + skip.x * 3, view.top + skip.y * 3};
        const pixels::Capture c = pixels::CaptureScreen(RECT{at.x, at.y, view.right, view.bottom});
        return pixels::CompareMagnified(c, at, SIZE{view.right - at.x, view.bottom - at.y}, source.x + skip.x,
                                        source.y + skip.y, 3, v)
            .empty();
    };
    ASSERT_TRUE(waiting::WaitFor([&] { return cornerShows(variant); }));
    const int held = variant;
    input::MoveTo(view.left + 10, view.top + 40);
    input::RightDown();
    input::MoveTo(view.left + 25, view.top + 52);
    pattern.SetVariant(++variant);
    ASSERT_TRUE(pattern.WaitUntilShown());
    input::RightUp();
    ASSERT_NE(WaitForMenu(), nullptr);
    const RECT ants = {9, 39, 24, 51};  // the drag's pixels, as the selection tests work them out
    int steps = 0;
    for (int last = -1; steps < 4 && waiting::WaitFor([&] {
             const int p = AntsPhaseOnScreen(POINT{view.left, view.top}, ants);
             return p >= 0 && p != last && (last = p, true);
         });)
        ++steps;
    EXPECT_EQ(steps, 4) << "the ants were not seen marching";
    EXPECT_TRUE(cornerShows(held)) << "refreshed under a selection";
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(WaitForNoMenu());
    EXPECT_TRUE(waiting::WaitFor([&] { return cornerShows(variant); })) << "not refreshed after the selection";

    for (int i = 0; i < 4; ++i) {
        input::KeyDown(VK_CONTROL);
        input::Press(VK_SUBTRACT);
        input::KeyUp(VK_CONTROL);
    }
    expectRate(1, "None");
    const int shown = variant;
    EXPECT_EQ(latency(1500), -1);
    EXPECT_EQ(CompareView(window, 3, kPoint, shown), "");
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("Update").AsDword(), 1u);
}
