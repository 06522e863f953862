// Peerix on two monitors, driven with real input: scripts/monitors.sh runs these once with the
// second monitor right of the primary one and once left of it, at negative coordinates (it says
// which in PEERIX_MONITORS). Elsewhere they are skipped.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/saved_images.h"
#include "tests/e2e/support/view.h"
#include "tests/support/images.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;
using pixels::PatternWindow;

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*r);
    return TRUE;
}

class TwoMonitors : public PeerixTest {
protected:
    void SetUp() override {
        const char* layout = std::getenv("PEERIX_MONITORS");
        if (!layout) GTEST_SKIP() << "needs two monitors: scripts/monitors.sh runs it";
        std::vector<RECT> monitors;
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
        ASSERT_EQ(monitors.size(), 2u);
        primary = monitors[0].left == 0 && monitors[0].top == 0 ? monitors[0] : monitors[1];
        second = monitors[0].left == 0 && monitors[0].top == 0 ? monitors[1] : monitors[0];
        toRight = std::strcmp(layout, "right") == 0;
        if (toRight) {
            ASSERT_TRUE(SameRect(primary, RECT{0, 0, 1024, 768}));
            ASSERT_TRUE(SameRect(second, RECT{1024, 0, 1824, 600}));
        } else {
            ASSERT_TRUE(SameRect(primary, RECT{0, 0, 800, 600}));
            ASSERT_TRUE(SameRect(second, RECT{-1024, 0, 0, 768}));
        }
        PeerixTest::SetUp();
    }

    // x pixels from the boundary into the second monitor (negative: into the primary one).
    LONG Across(LONG x) const { return toRight ? 1024 + x : -1 - x; }
    // The pattern astride the boundary, and one in the second monitor's far corner.
    RECT BoundaryArea() const {
        return toRight ? RECT{Across(-400), 40, Across(400), 560} : RECT{Across(400), 40, Across(-400), 560};
    }
    RECT FarCornerArea() const {
        return toRight ? RECT{second.right - 360, second.bottom - 300, second.right, second.bottom}
                       : RECT{second.left, second.bottom - 300, second.left + 360, second.bottom};
    }
    POINT FarCorner() const { return POINT{toRight ? second.right - 1 : second.left, second.bottom - 1}; }

    // A bare 300 x 200 view at zoom 3 on the primary monitor, away from the patterns.
    HWND StartBare(POINT point, bool statusBar = false) {
        WriteStartSettings(false, statusBar, 3, point,
                           WindowForClient(toRight ? 40 : 440, 80, 300, 200 + (statusBar ? 20 : 0)));
        WriteDword("DisplayMouseWhenFollowing", 0);  // no marker over the pixels compared
        return peerix.Start() ? peerix.Window() : nullptr;
    }

    // A place in the view to start a drag; `n` makes each start another place, since two
    // presses at one place in quick succession are a double click, which starts no drag.
    POINT InView(HWND w, int n) const {
        const RECT v = ViewOnScreen(w);
        return POINT{v.left + 60 + 40 * n, v.top + 50 + 20 * n};
    }

    RECT primary = {}, second = {};
    bool toRight = true;
};

}  // namespace

TEST_F(TwoMonitors, DragKeysAndFollowMouseCarryThePointAcrossAndStopAtTheFarCorner) {
    PatternWindow boundary(BoundaryArea()), corner(FarCornerArea());
    ASSERT_TRUE(boundary.WaitUntilShown());
    ASSERT_TRUE(corner.WaitUntilShown());
    HWND w = StartBare(POINT{Across(-200), 300});
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(WaitForView(w, 3, POINT{Across(-200), 300}), "");

    // The drag takes the point onto the second monitor: pixel-exact there.
    const POINT there = {Across(150), 300};
    input::LeftDrag(InView(w, 0), there);
    EXPECT_EQ(SettleDrag(w, 3, there), "");

    // Back next to the boundary on the primary monitor: the view stops at the primary's edge.
    const POINT edge = {Across(-1), 300};
    input::LeftDrag(InView(w, 1), edge);
    ASSERT_EQ(SettleDrag(w, 3, edge), "");
    // One arrow step across lands on the second monitor's near edge (its first 100 columns shown),
    // sixteen more go on from there, and back.
    ASSERT_TRUE(input::FocusForKeys(w));
    const WORD across = toRight ? VK_RIGHT : VK_LEFT, back = toRight ? VK_LEFT : VK_RIGHT;
    const LONG nearSecond = toRight ? second.left + 50 : second.right - 50;  // half and the shown width
    input::Press(across);
    EXPECT_EQ(WaitForView(w, 3, POINT{nearSecond, 300}), "");
    input::Press(across, {VK_CONTROL});
    EXPECT_EQ(WaitForView(w, 3, POINT{nearSecond + (toRight ? 16 : -16), 300}), "");
    input::Press(back, {VK_CONTROL});
    input::Press(back);
    EXPECT_EQ(WaitForView(w, 3, edge), "");

    // Follow Mouse carries it too, and at the second monitor's far corner the view holds the
    // corner pixel at its own corner.
    input::Press('M', {VK_CONTROL});
    const POINT followed = {Across(250), 200};
    input::MoveTo(followed.x, followed.y);
    EXPECT_EQ(WaitForView(w, 3, followed), "");
    input::MoveTo(FarCorner().x, FarCorner().y);
    EXPECT_EQ(WaitForView(w, 3, FarCorner()), "");
    const RECT v = ViewOnScreen(w);
    const POINT shown = SourceOrigin(v, 3, FarCorner());
    EXPECT_EQ(toRight ? shown.x + 100 : shown.x, toRight ? second.right : second.left);
    EXPECT_EQ(shown.y + 67, second.bottom);
    input::Press('M', {VK_CONTROL});
    ASSERT_TRUE(peerix.Close());
}

TEST_F(TwoMonitors, TheStatusBarShowsCoordinatesAndColourOnTheSecondMonitor) {
    PatternWindow boundary(BoundaryArea());
    ASSERT_TRUE(boundary.WaitUntilShown());
    HWND w = StartBare(POINT{Across(-200), 300}, true);
    ASSERT_NE(w, nullptr);
    HWND status = FindChrome(w).statusBar;
    ASSERT_NE(status, nullptr);
    // One pixel of the primary monitor and two of the second: left of the primary they are
    // negative.
    for (const POINT p : {POINT{Across(-7), 99}, POINT{Across(3), 45}, POINT{Across(321), 517}}) {
        input::MoveTo(p.x, p.y);
        char coords[64];
        std::snprintf(coords, sizeof coords, " %ld, %ld ", p.x, p.y);
        const std::string colour = RgbText(pixels::PatternColour(p.x, p.y));
        EXPECT_TRUE(waiting::WaitFor(
            [&] { return remote::StatusText(status, 3) == coords && remote::StatusText(status, 1) == colour; }, 3000))
            << coords << " shows " << remote::StatusText(status, 3) << " and " << remote::StatusText(status, 1)
            << ", want " << colour;
    }
    ASSERT_TRUE(peerix.Close());
}

TEST_F(TwoMonitors, CopiesSelectionsAndSavesOfTheSecondMonitorHoldItsPixels) {
    PatternWindow boundary(BoundaryArea()), corner(FarCornerArea());
    ASSERT_TRUE(boundary.WaitUntilShown());
    ASSERT_TRUE(corner.WaitUntilShown());
    images::TempFolder folder("peerix-e2e-monitors");
    WriteText("InitialDirectory", folder.Path());
    WriteDword("SaveZoomedImage", 0);
    WriteDword("SaveImageType", 1);  // .bmp
    // The view at the far corner of the second monitor, held inside it.
    HWND w = StartBare(FarCorner());
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(WaitForView(w, 3, FarCorner()), "");
    const POINT shown = SourceOrigin(ViewOnScreen(w), 3, FarCorner());

    // The whole view at source size: the 100 x 67 pixels shown.
    images::EmptyTheClipboard();
    ASSERT_TRUE(input::FocusForKeys(w));
    input::Press('C', {VK_CONTROL, VK_SHIFT});
    images::Image copy;
    ASSERT_TRUE(waiting::WaitFor([&] { return !(copy = images::ClipboardBitmap()).Empty(); }, 5000));
    EXPECT_EQ(CompareWithPattern(copy, shown.x, shown.y, OneToOne(100), OneToOne(67)), "");

    // A selection of 31 x 19 view pixels 9 and 12 into the view: 10 x 6 whole magnified pixels,
    // screen pixels from the fourth column and the fifth row shown.
    images::EmptyTheClipboard();
    const RECT view = ViewOnScreen(w);
    input::RightDrag(POINT{view.left + 9, view.top + 12}, POINT{view.left + 40, view.top + 31});
    ASSERT_NE(WaitForMenu(3000), nullptr) << "no menu";
    input::Press('O');
    ASSERT_TRUE(waiting::WaitFor([&] { return !(copy = images::ClipboardBitmap()).Empty(); }, 5000));
    EXPECT_EQ(CompareWithPattern(copy, shown.x + 3, shown.y + 4, OneToOne(10), OneToOne(6)), "");

    // Saved at source size: the same pixels as the copy of the whole view.
    ASSERT_TRUE(input::FocusForKeys(w));
    input::Press('S', {VK_CONTROL});
    HWND dialog = nullptr;
    ASSERT_TRUE(waiting::WaitFor([&] { return (dialog = SaveDialogOf(peerix.Pid())) != nullptr; }, 5000));
    input::Type("corner");
    input::Press(VK_RETURN);
    const SavedImage saved = WaitForSavedImage(folder.File("corner.bmp"));
    EXPECT_EQ(CompareWithPattern(saved.image, shown.x, shown.y, OneToOne(100), OneToOne(67)), "");
    ASSERT_TRUE(peerix.Close());
}

TEST_F(TwoMonitors, TheWindowAndThePointOnTheSecondMonitorSurviveARestart) {
    PatternWindow boundary(BoundaryArea());
    ASSERT_TRUE(boundary.WaitUntilShown());
    const POINT point = {Across(180), 260};
    HWND w = StartBare(POINT{Across(-200), 300});
    ASSERT_NE(w, nullptr);
    // The window goes to the second monitor, clear of the pattern, and the drag puts the point
    // there too.
    const RECT place = WindowForClient(toRight ? 1450 : -1000, 60, 300, 200);
    SetWindowPos(w, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(waiting::WaitFor([&] { return SameRect(dialogs::Rect(w), place); }));
    input::LeftDrag(InView(w, 0), point);
    ASSERT_EQ(SettleDrag(w, 3, point), "");
    ASSERT_TRUE(peerix.Close());
    const RegValue pos = ReadValue("WindowPos"), stored = ReadValue("ZoomPoint");
    EXPECT_EQ(pos.At(0), place.left);
    EXPECT_EQ(pos.At(1), place.top);
    EXPECT_EQ(stored.At(0), point.x);
    EXPECT_EQ(stored.At(1), point.y);

    ASSERT_TRUE(peerix.Start());
    w = peerix.Window();
    const RECT r = dialogs::Rect(w);
    EXPECT_TRUE(SameRect(r, place)) << r.left << "," << r.top;
    EXPECT_EQ(WaitForView(w, 3, point), "");
    ASSERT_TRUE(peerix.Close());
}
