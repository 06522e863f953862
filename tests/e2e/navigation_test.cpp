// Moving the point of interest as a user does: arrow and page keys, a left-button drag and
// Follow Mouse, each checked against the magnified pattern and held inside the screen.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/sync.h"
#include "tests/e2e/support/view.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;
using namespace pixels;

namespace {

// A view without toolbar or status bar, 300 x 200 pixels, at (left, top) on the screen.
void BareView(int zoom, LONG x, LONG y, int left = 560, int top = 100) {
    WriteStartSettings(false, false, zoom, POINT{x, y}, WindowForClient(left, top, 300, 200));
}

POINT StoredPoint() {
    const RegValue v = ReadValue("ZoomPoint");
    return POINT{v.At(0), v.At(1)};
}

class Navigation : public PeerixTest {};

}  // namespace

TEST_F(Navigation, ArrowAndPageKeysMoveThePictureByExactSteps) {
    PatternWindow pattern(RECT{0, 0, 480, 420});
    ASSERT_TRUE(pattern.WaitUntilShown());
    BareView(4, 200, 150);
    ASSERT_TRUE(Start());
    HWND w = window;
    // 300 x 200 at zoom 4: 76 x 51 source pixels.
    const RECT view = ViewOnScreen(w);
    ASSERT_EQ(view.right - view.left, 300);
    ASSERT_EQ(view.bottom - view.top, 200);
    ASSERT_EQ(WaitForView(w, 4, POINT{200, 150}), "");

    struct Step {
        WORD key;
        bool ctrl;
        POINT after;
    } const steps[] = {
        {VK_RIGHT, false, {201, 150}}, {VK_RIGHT, true, {217, 150}},
        {VK_LEFT, false, {216, 150}},  {VK_LEFT, true, {200, 150}},
        {VK_DOWN, false, {200, 151}},  {VK_DOWN, true, {200, 167}},
        {VK_UP, false, {200, 166}},    {VK_UP, true, {200, 150}},
        {VK_NEXT, false, {200, 200}},                                // a page: 51 - 1 rows
        {VK_PRIOR, false, {200, 150}}, {VK_NEXT, true, {275, 150}},  // with Ctrl: 76 - 1 columns
        {VK_PRIOR, true, {200, 150}},
    };
    for (const Step& s : steps) {
        if (s.ctrl)
            input::Press(s.key, {VK_CONTROL});
        else
            input::Press(s.key);
        EXPECT_EQ(WaitForView(w, 4, s.after), "") << "key " << s.key << (s.ctrl ? " with Ctrl" : "");
    }

    // Held at the top-left: Ctrl+Left twelve times ends at halfWidth 38, Ctrl+Up at halfHeight 25.
    for (int i = 0; i < 12; ++i) input::Press(VK_LEFT, {VK_CONTROL});
    for (int i = 0; i < 12; ++i) input::Press(VK_UP, {VK_CONTROL});
    EXPECT_EQ(WaitForView(w, 4, POINT{38, 25}), "");
    input::Press(VK_PRIOR, {VK_CONTROL});
    input::Press(VK_LEFT);
    input::Press(VK_UP);
    ASSERT_TRUE(InputHandled(w));
    EXPECT_EQ(CompareView(w, 4, POINT{38, 25}), "");
    input::Press(VK_RIGHT);
    input::Press(VK_DOWN);
    EXPECT_EQ(WaitForView(w, 4, POINT{39, 26}), "");
    ASSERT_TRUE(peerix.Close());
    const POINT stored = StoredPoint();
    EXPECT_EQ(stored.x, 39);
    EXPECT_EQ(stored.y, 26);
}

TEST_F(Navigation, KeysStopAtTheScreenEdges) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    PatternWindow origin(RECT{0, 0, 200, 160});
    PatternWindow corner(RECT{sw - 200, sh - 160, sw, sh});
    ASSERT_TRUE(origin.WaitUntilShown());
    ASSERT_TRUE(corner.WaitUntilShown());

    // A point stored at the very corner is shown as (38, 25); the first Right steps from there.
    BareView(4, 0, 0, 400, 250);
    {
        ASSERT_TRUE(Start());
        HWND w = window;
        ASSERT_EQ(WaitForView(w, 4, POINT{0, 0}), "");
        input::Press(VK_RIGHT);
        EXPECT_EQ(WaitForView(w, 4, POINT{39, 0}), "");
        ASSERT_TRUE(peerix.Close());
        EXPECT_EQ(StoredPoint().x, 39);
        EXPECT_EQ(StoredPoint().y, 0);  // no vertical key: the stored y is left as it was
    }

    // The bottom-right: 300 x 200 at zoom 4 shows 75 x 50 pixels, 38 and 25 of them left of and
    // above the point, so the largest point is (sw - 37, sh - 25) and the picture ends exactly
    // on the screen's last column and row.
    ResetSettings();
    BareView(4, sw - 60, sh - 40, 400, 250);
    ASSERT_TRUE(Start());
    HWND w = window;
    ASSERT_EQ(WaitForView(w, 4, POINT{sw - 60, sh - 40}), "");
    // Dragged past the corner: the stored point is the pointer's, beyond the limits, and the
    // first Left already moves the view one column.
    const RECT v = ViewOnScreen(w);
    input::MoveTo(v.left + 150, v.top + 100);
    input::LeftDown();
    for (int i = 1; i <= 16; ++i)
        input::MoveTo(v.left + 150 + (sw - 151 - v.left) * i / 16, v.top + 100 + (sh - 101 - v.top) * i / 16);
    EXPECT_EQ(SettleDrag(w, 4, POINT{sw - 1, sh - 1}), "");
    input::LeftUp();
    input::Press(VK_LEFT);
    EXPECT_EQ(WaitForView(w, 4, POINT{sw - 38, sh - 25}), "");
    input::Press(VK_RIGHT);
    EXPECT_EQ(WaitForView(w, 4, POINT{sw - 37, sh - 25}), "");
    EXPECT_EQ(SourceOrigin(ViewOnScreen(w), 4, POINT{sw, sh}).x, sw - 75);
    EXPECT_EQ(SourceOrigin(ViewOnScreen(w), 4, POINT{sw, sh}).y, sh - 50);
    input::Press(VK_NEXT, {VK_CONTROL});
    input::Press(VK_DOWN);
    ASSERT_TRUE(InputHandled(w));
    EXPECT_EQ(CompareView(w, 4, POINT{sw - 37, sh - 25}), "");
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(StoredPoint().x, sw - 37);
    EXPECT_EQ(StoredPoint().y, sh - 25);
}

namespace {

// The screen pixel shown at a point of the screen, as the pattern encodes its source.
COLORREF ShownAt(int x, int y) {
    return CaptureScreen(RECT{x, y, x + 1, y + 1}).At(x, y);
}

}  // namespace

TEST_F(Navigation, TheViewReachesTheScreensFirstAndLastColumnAndRowAtEverySizeAndZoom) {
    // Views that are and are not whole multiples of the zoom, with odd and even numbers of
    // source pixels, on screens of two sizes (larger ones than the virtual desktop's cannot be
    // set; the host tests cover them). Peerix sits at the top right, clear of the screen pixels
    // it shows at either corner.
    const struct { int zoom, width, height; } views[] = {{1, 320, 200}, {3, 312, 200}, {4, 301, 203}, {32, 300, 200}};
    const struct {
        int width, height;
    } screens[] = {{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, {800, 600}};
    for (const auto& screen : screens) {
        ASSERT_TRUE(SetScreenSize(screen.width, screen.height)) << screen.width << "x" << screen.height;
        const int sw = screen.width, sh = screen.height;
        PatternWindow origin(RECT{0, 0, 330, 210});
        PatternWindow corner(RECT{sw - 330, sh - 210, sw, sh});
        ASSERT_TRUE(origin.WaitUntilShown());
        ASSERT_TRUE(corner.WaitUntilShown());
        for (const auto& v : views) {
            SCOPED_TRACE(testing::Message()
                         << sw << "x" << sh << ", " << v.width << " x " << v.height << " at zoom " << v.zoom);
            const struct {
                POINT point;                   // far beyond the corner
                POINT viewPixel, screenPixel;  // which view corner shows which screen corner
            } ends[] = {{{sw + 50, sh + 50}, {v.width - 1, v.height - 1}, {sw - 1, sh - 1}},
                        {{-50, -50}, {0, 0}, {0, 0}}};
            for (const auto& end : ends) {
                ResetSettings();
                WriteStartSettings(false, false, v.zoom, end.point, WindowForClient(sw - 360, 5, v.width, v.height));
                ASSERT_TRUE(peerix.Start());
                HWND w = peerix.Window();
                const RECT view = ViewOnScreen(w);
                ASSERT_EQ(view.right - view.left, v.width);
                ASSERT_EQ(view.bottom - view.top, v.height);
                EXPECT_EQ(WaitForView(w, v.zoom, end.point), "");
                // The view's own corner pixel shows the screen's corner pixel, whether its
                // magnified pixel is shown whole or in part.
                EXPECT_EQ(ShownAt(view.left + end.viewPixel.x, view.top + end.viewPixel.y),
                          PatternColour(end.screenPixel.x, end.screenPixel.y));
                ASSERT_TRUE(peerix.Close());
            }
        }
    }
}

TEST_F(Navigation, LeftDragMovesThePointAndItsFrameLeavesNoTrace) {
    PatternWindow pattern(RECT{0, 0, 480, 420});
    ASSERT_TRUE(pattern.WaitUntilShown());
    BareView(3, 100, 100);
    ASSERT_TRUE(Start());
    HWND w = window;
    const RECT view = ViewOnScreen(w);
    ASSERT_EQ(WaitForView(w, 3, POINT{100, 100}), "");

    // 300 x 200 at zoom 3 shows 100 x 67 source pixels; the frame runs one pixel outside them.
    const POINT target = {240, 200};
    const POINT o = SourceOrigin(view, 3, target);
    const RECT frame = {o.x - 1, o.y - 1, o.x + 100, o.y + 67};
    const RECT around = {frame.left - 3, frame.top - 3, frame.right + 4, frame.bottom + 4};
    const auto onFrame = [&](int x, int y) {
        return x >= frame.left && x <= frame.right && y >= frame.top && y <= frame.bottom &&
               (x == frame.left || x == frame.right || y == frame.top || y == frame.bottom);
    };

    input::MoveTo((view.left + view.right) / 2, (view.top + view.bottom) / 2);
    input::LeftDown();
    for (int i = 1; i <= 8; ++i) {
        const int x = (view.left + view.right) / 2 + (target.x - (view.left + view.right) / 2) * i / 8;
        const int y = (view.top + view.bottom) / 2 + (target.y - (view.top + view.bottom) / 2) * i / 8;
        input::MoveTo(x, y);
    }
    // While the button is held the view follows and the frame shows, inverted, on the screen.
    EXPECT_EQ(SettleDrag(w, 3, target), "");
    std::string wrong;
    const bool shown = waiting::WaitFor(
        [&] {
            const Capture c = CaptureScreen(around);
            for (int y = around.top; y < around.bottom; ++y)
                for (int x = around.left; x < around.right; ++x) {
                    const COLORREF p = PatternColour(x, y);
                    if (c.At(x, y) != (onFrame(x, y) ? p ^ 0x00FFFFFF : p)) {
                        wrong = std::to_string(x) + "," + std::to_string(y);
                        return false;
                    }
                }
            return true;
        },
        3000, 20);
    EXPECT_TRUE(shown) << "the frame around the magnified area is not as expected at " << wrong;
    input::LeftUp();
    // Released: the frame is gone and the screen is the pattern again, pixel for pixel.
    EXPECT_TRUE(pattern.WaitUntilShown());
    EXPECT_TRUE(waiting::WaitFor(
        [&] {
            const Capture c = CaptureScreen(around);
            for (int y = around.top; y < around.bottom; ++y)
                for (int x = around.left; x < around.right; ++x)
                    if (c.At(x, y) != PatternColour(x, y)) return false;
            return true;
        },
        3000, 20));
    EXPECT_EQ(WaitForView(w, 3, target), "");

    // Dragged into the screen's corner: the stored point is where the cursor was, the picture
    // is held inside the screen. The press must not be the second of a double click (that one
    // starts no drag), so the double-click time passes first.
    waiting::PumpFor(static_cast<int>(GetDoubleClickTime()) + 50);
    input::MoveTo((view.left + view.right) / 2, (view.top + view.bottom) / 2);
    input::LeftDown();
    input::MoveTo(200, 100);
    input::MoveTo(2, 3);
    EXPECT_EQ(SettleDrag(w, 3, POINT{2, 3}), "");
    input::LeftUp();
    EXPECT_EQ(WaitForView(w, 3, POINT{2, 3}), "");
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(StoredPoint().x, 2);
    EXPECT_EQ(StoredPoint().y, 3);
}

TEST_F(Navigation, FollowMouseTracksTheCursorUntilTurnedOff) {
    PatternWindow pattern(RECT{0, 0, 480, 420});
    ASSERT_TRUE(pattern.WaitUntilShown());
    BareView(3, 100, 100);
    WriteDword("DisplayStatusbar", 1);           // it shows the timer's ticks
    WriteDword("DisplayMouseWhenFollowing", 0);  // the marker would cover pattern pixels
    ASSERT_TRUE(Start());
    HWND w = window;
    ASSERT_NE(chrome.toolbar, nullptr);
    EXPECT_EQ(remote::ButtonState(chrome.toolbar, ID_FOLLOW_MOUSE), TBSTATE_ENABLED);

    input::Press('M', {VK_CONTROL});
    EXPECT_TRUE(waiting::WaitFor(
        [&] { return remote::ButtonState(chrome.toolbar, ID_FOLLOW_MOUSE) == (TBSTATE_ENABLED | TBSTATE_CHECKED); }));
    input::MoveTo(150, 120);
    EXPECT_EQ(WaitForView(w, 3, POINT{150, 120}), "");
    input::MoveTo(333, 250);
    EXPECT_EQ(WaitForView(w, 3, POINT{333, 250}), "");
    input::MoveTo(5, 4);  // held inside the screen
    EXPECT_EQ(WaitForView(w, 3, POINT{5, 4}), "");

    input::Press('M', {VK_CONTROL});
    EXPECT_TRUE(
        waiting::WaitFor([&] { return remote::ButtonState(chrome.toolbar, ID_FOLLOW_MOUSE) == TBSTATE_ENABLED; }));
    // Two housekeeping ticks after the move: neither may move the point now.
    ASSERT_TRUE(TickSeenAt(w, POINT{300, 300}));
    ASSERT_TRUE(TickSeenAt(w, POINT{301, 300}));
    EXPECT_EQ(CompareView(w, 3, POINT{5, 4}), "");
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(StoredPoint().x, 5);
    EXPECT_EQ(StoredPoint().y, 4);
    EXPECT_EQ(ReadValue("MouseTracking").AsDword(), 0u);
}
