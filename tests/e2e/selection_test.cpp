// The right-button selection driven with the real mouse and keyboard: the inverted frame and the
// size tip while dragging, the selection menu with its marching ants, Escape and Zoom To.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/menu_capture.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/size_tip.h"
#include "tests/e2e/support/view_check.h"
#include "tests/support/images.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;
using namespace pixels;

namespace {

RECT Grown(const RECT& r, int by) {
    return RECT{r.left - by, r.top - by, r.right + by, r.bottom + by};
}

class Selection : public PeerixTest {
protected:
    // Starts Peerix without bars at the given zoom, showing `point`, in a 400 x 350 window at
    // (500, 100); makes it the foreground window.
    void StartBare(int zoom, POINT point) {
        WriteStartSettings(false, false, zoom, point, RECT{500, 100, 900, 450});
        ASSERT_TRUE(Start());
        view = ViewOf(window, zoom, point);
    }

    POINT Screen(int x, int y) const { return POINT{view.client.x + x, view.client.y + y}; }
    void MoveToClient(int x, int y) { input::MoveTo(view.client.x + x, view.client.y + y); }

    // Moves the pointer to client (x, y) during a drag until the tip shows text: under load a
    // move can reach Peerix late or be overtaken by an older position (see SettleDrag), and a
    // hand would move again. Empty when the tip shows it, else what CheckTip found.
    std::string DragTo(int x, int y, POINT tipCorner, const char* text) {
        std::string diff;
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (attempt) MoveToClient(x + 1, y);
            MoveToClient(x, y);
            diff = CheckTip(peerix.Pid(), tipCorner, text, 2000);
            if (diff.empty()) break;
        }
        return diff;
    }

    // Where the size tip is, widened for longer texts.
    std::vector<RECT> UnderTip() const {
        RECT r = dialogs::Rect(ShownSizeTip(peerix.Pid()));
        r.right += 40;
        return {r};
    }

    ExpectedView view;
};

}  // namespace

TEST_F(Selection, DragShowsFrameAndTipReleaseMarchesAntsAndEscapeDropsIt) {
    PatternWindow pattern(RECT{0, 0, 400, 400});
    ASSERT_TRUE(pattern.WaitUntilShown());
    ASSERT_NO_FATAL_FAILURE(StartBare(3, POINT{200, 200}));
    images::EmptyTheClipboard();
    std::string diff;
    ASSERT_TRUE(WaitForView(view, nullptr, {}, &diff)) << diff;

    // Zoom 3, anchor (10, 40), pointer (25, 52): the frame runs round (9, 39)-(24, 51) and the tip
    // shows 5 x 4 screen pixels with its bottom-left corner at client (4, 34).
    MoveToClient(10, 40);
    input::RightDown();
    MoveToClient(18, 46);
    MoveToClient(25, 52);
    const POINT tipCorner = Screen(4, 34);
    EXPECT_EQ(CheckTip(peerix.Pid(), tipCorner, "Selected size 5x4"), "");
    const std::vector<RECT> underTip = UnderTip();
    RECT frame = {9, 39, 24, 51};
    EXPECT_TRUE(WaitForView(view, &frame, underTip, &diff)) << diff;
    SaveShot("drag", Grown(RECT{view.client.x, view.client.y, view.client.x + 140, view.client.y + 100}, 4));

    // Up and to the left of the anchor: the rectangle turns round, the tip stays where it was.
    MoveToClient(2, 5);
    EXPECT_EQ(CheckTip(peerix.Pid(), tipCorner, "Selected size 3x12"), "");
    frame = RECT{0, 3, 9, 39};
    EXPECT_TRUE(WaitForView(view, &frame, underTip, &diff)) << diff;

    MoveToClient(25, 52);
    frame = RECT{9, 39, 24, 51};
    EXPECT_TRUE(WaitForView(view, &frame, underTip, &diff)) << diff;

    // Release: the selection menu opens at the release point, the tip keeps the final size and
    // the ants march round the selection, 2 pixels per step.
    input::RightUp();
    const HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    const RECT menuRect = dialogs::Rect(menu);
    EXPECT_EQ(menuRect.left, Screen(25, 52).x);
    EXPECT_EQ(menuRect.top, Screen(25, 52).y);
    EXPECT_EQ(CheckTip(peerix.Pid(), tipCorner, "Selected size 5x4"), "");
    const Capture shownMenu = SettledCapture(menu);

    const RECT bounds = {9, 39, 24, 51};
    std::vector<int> phases;
    waiting::WaitFor(
        [&] {
            const int p = AntsPhaseOnScreen(view.client, bounds);
            if (p >= 0 && (phases.empty() || phases.back() != p)) phases.push_back(p);
            return phases.size() >= 6;
        },
        5000, 5);
    ASSERT_GE(phases.size(), 6u) << "the ants were not seen marching";
    for (size_t i = 1; i < phases.size(); ++i)
        EXPECT_EQ((phases[i] - phases[i - 1] + 8) % 8, 2)
            << "step " << i << ": " << phases[i - 1] << " to " << phases[i];
    SaveShot("ants", RECT{view.client.x, view.client.y, menuRect.right + 4, menuRect.bottom + 4});

    // Escape: no command; the selection is dropped and the view repainted without the ants.
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(waiting::WaitFor([&] { return ShownPopupMenu(peerix.Pid()) == nullptr; }, 3000));
    EXPECT_TRUE(waiting::WaitFor([&] { return ShownSizeTip(peerix.Pid()) == nullptr; }, 3000));
    EXPECT_TRUE(WaitForView(view, nullptr, {}, &diff)) << diff;
    EXPECT_EQ(VisibleWindowsOfClass("#32770", peerix.Pid()).size(), 0u) << "a dialog opened";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP)) << "something was copied";

    // The menu was the selection menu, Zoom To enabled at zoom 3: what this process shows for the
    // same resource with that state, and not what it shows with Zoom To greyed.
    const POINT at = {menuRect.left, menuRect.top};
    EXPECT_EQ(CompareCaptures(shownMenu, ReferenceMenu(1, {{ID_SEL_ZOOM_TO, false, false}}, at)), "");
    EXPECT_NE(CompareCaptures(shownMenu, ReferenceMenu(1, {{ID_SEL_ZOOM_TO, false, true}}, at)), "");

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), 3u);
    EXPECT_EQ(ReadValue("ZoomPoint").At(0), 200);
    EXPECT_EQ(ReadValue("ZoomPoint").At(1), 200);
}

TEST_F(Selection, DragBeyondTheViewStopsAtItsEdgesAndAReleaseOutsideShowsNoMenu) {
    PatternWindow pattern(RECT{0, 0, 400, 400});
    ASSERT_TRUE(pattern.WaitUntilShown());
    ASSERT_NO_FATAL_FAILURE(StartBare(3, POINT{200, 200}));
    const int w = view.view.right, h = view.view.bottom;  // the view is the whole client area
    std::string diff;
    ASSERT_TRUE(WaitForView(view, nullptr, {}, &diff)) << diff;

    // Past the bottom-right corner, outside the window: the corner stops on the view's right and
    // bottom edges themselves and snaps down to whole magnified pixels.
    MoveToClient(10, 40);
    input::RightDown();
    MoveToClient(w / 2, h / 2);
    const RECT clamped = {9, 39, 3 * (w / 3), 3 * (h / 3)};
    char text[64];
    wsprintfA(text, "Selected size %dx%d", (clamped.right - 9) / 3, (clamped.bottom - 39) / 3);
    const POINT tipCorner = Screen(4, 34);
    EXPECT_EQ(DragTo(w + 60, h + 50, tipCorner, text), "");
    const std::vector<RECT> underTip = UnderTip();
    EXPECT_TRUE(WaitForView(view, &clamped, underTip, &diff)) << diff;

    // Past the top-left corner: the corner stops at the view's origin.
    RECT frame = {0, 0, 9, 39};
    EXPECT_EQ(DragTo(-30, -45, tipCorner, "Selected size 3x13"), "");
    EXPECT_TRUE(WaitForView(view, &frame, underTip, &diff)) << diff;

    // Released outside the window, on no area of it: no menu; the selection and its tip go and the
    // view is repainted.
    MoveToClient(w + 60, h + 50);
    input::RightUp();
    EXPECT_TRUE(waiting::WaitFor([&] { return ShownSizeTip(peerix.Pid()) == nullptr; }, 3000));
    EXPECT_EQ(ShownPopupMenu(peerix.Pid()), nullptr);
    EXPECT_TRUE(WaitForView(view, nullptr, {}, &diff)) << diff;
    EXPECT_EQ(ShownPopupMenu(peerix.Pid()), nullptr);
}

TEST_F(Selection, ARepaintDuringTheDragKeepsTheFrameInStep) {
    PatternWindow pattern(RECT{0, 0, 400, 400});
    ASSERT_TRUE(pattern.WaitUntilShown());
    ASSERT_NO_FATAL_FAILURE(StartBare(3, POINT{200, 200}));
    std::string diff;
    ASSERT_TRUE(WaitForView(view, nullptr, {}, &diff)) << diff;

    MoveToClient(10, 40);
    input::RightDown();
    MoveToClient(40, 70);
    RECT frame = {9, 39, 39, 69};
    ASSERT_TRUE(waiting::WaitFor([&] { return ShownSizeTip(peerix.Pid()) != nullptr; }));
    const std::vector<RECT> underTip = UnderTip();
    EXPECT_TRUE(WaitForView(view, &frame, underTip, &diff)) << diff;

    // The Right key moves the point during the drag and repaints the view: the frame is drawn
    // again on the new picture...
    input::Press(VK_RIGHT);
    const ExpectedView moved = ViewOf(window, 3, POINT{201, 200});
    EXPECT_TRUE(WaitForView(moved, &frame, underTip, &diff)) << diff;

    // ...so the next move erases it where it is and draws the new one, leaving nothing behind.
    MoveToClient(70, 100);
    frame = RECT{9, 39, 69, 99};
    EXPECT_TRUE(WaitForView(moved, &frame, underTip, &diff)) << diff;

    // The same after a change of the window's size, which lays the view out and repaints it.
    RECT r = dialogs::Rect(window);
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left - 30, r.bottom - r.top - 20,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const ExpectedView smaller = ViewOf(window, 3, POINT{201, 200});
    ASSERT_LT(smaller.view.right, view.view.right);
    EXPECT_TRUE(WaitForView(smaller, &frame, underTip, &diff)) << diff;
    MoveToClient(52, 82);
    frame = RECT{9, 39, 51, 81};
    EXPECT_TRUE(WaitForView(smaller, &frame, underTip, &diff)) << diff;
    input::RightUp();
    ASSERT_NE(WaitForMenu(), nullptr);
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(WaitForView(smaller, nullptr, {}, &diff)) << diff;
}

TEST_F(Selection, ZoomToIsGreyedAtZoom32) {
    ASSERT_NO_FATAL_FAILURE(StartBare(32, POINT{200, 200}));
    MoveToClient(10, 40);
    input::RightDown();
    MoveToClient(60, 80);
    MoveToClient(100, 120);
    input::RightUp();
    const HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    const Capture shown = SettledCapture(menu);
    const RECT menuRect = dialogs::Rect(menu);
    SaveShot("selection-menu-zoom-32", Grown(menuRect, 4));
    input::Press(VK_ESCAPE);
    ASSERT_TRUE(WaitForNoMenu());
    const POINT at = {menuRect.left, menuRect.top};
    EXPECT_EQ(CompareCaptures(shown, ReferenceMenu(1, {{ID_SEL_ZOOM_TO, false, true}}, at)), "");
    EXPECT_NE(CompareCaptures(shown, ReferenceMenu(1, {{ID_SEL_ZOOM_TO, false, false}}, at)), "");
}

TEST_F(Selection, ZoomToCentresTheSelectionAtFourTimesTheZoom) {
    // Zoom 2, the point (500, 400), a view of 400 x 300 below the toolbar band: the selection of
    // 100 x 50 client pixels 100 pixels into the view, screen pixels 450..499 x 375..399, becomes
    // the new view at zoom 8, centred on (475, 387): its 50 columns fill the view exactly.
    // The pattern covers the source at zoom 2; the window stands right of it.
    PatternWindow pattern(RECT{380, 280, 610, 500});
    ASSERT_TRUE(pattern.WaitUntilShown());
    WriteStartSettings(true, false, 2, POINT{500, 400}, RECT{612, 0, 1022, 380});
    ASSERT_TRUE(Start());
    // The view starts below the band, where its picture starts.
    const int top = WaitForPictureTop(window, 2, POINT{500, 400}, pattern.Area(), 40);
    ASSERT_GT(top, 0);
    RECT outer = dialogs::Rect(window), client = {};
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, 400 + (outer.right - outer.left) - client.right,
                 top + 300 + (outer.bottom - outer.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(waiting::WaitFor([&] {
        GetClientRect(window, &client);
        return client.right == 400 && client.bottom == top + 300;
    }));
    ASSERT_TRUE(input::FocusForKeys(window));
    view = ViewOf(window, 2, POINT{500, 400}, top);
    std::string diff;
    ASSERT_TRUE(WaitForView(view, nullptr, {}, &diff)) << diff;

    MoveToClient(100, top + 100);
    input::RightDown();
    MoveToClient(150, top + 120);
    MoveToClient(200, top + 150);
    EXPECT_EQ(CheckTip(peerix.Pid(), Screen(95, 2 * ((top + 100) / 2) - 5), "Selected size 50x25"), "");
    input::RightUp();
    ASSERT_NE(WaitForMenu(), nullptr);
    input::Press('T');  // Zoom &To

    const ExpectedView zoomed = ViewOf(window, 8, POINT{475, 387}, top);
    EXPECT_TRUE(WaitForView(zoomed, nullptr, {}, &diff)) << diff;
    SaveShot("zoom-to", dialogs::Rect(window));
    EXPECT_EQ(ShownSizeTip(peerix.Pid()), nullptr);
    ASSERT_NE(chrome.zoomTrack, nullptr);
    EXPECT_EQ(SendMessageA(chrome.zoomTrack, TBM_GETRANGEMAX, 0, 0), 32);
    EXPECT_EQ(SendMessageA(chrome.zoomTrack, TBM_GETPOS, 0, 0), 8);
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), 8u);
    EXPECT_EQ(ReadValue("ZoomPoint").At(0), 475);
    EXPECT_EQ(ReadValue("ZoomPoint").At(1), 387);
}
