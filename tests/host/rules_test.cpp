#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/rules.h"

TEST(WheelMessageRule, OnlyExactFirstReleasesOfEachFamily) {
    EXPECT_TRUE(rules::WantsWheelMessage(0x80000004u));   // 95: 4.0, platform bit set
    EXPECT_FALSE(rules::WantsWheelMessage(0x80000A04u));  // 98: 4.10
    EXPECT_TRUE(rules::WantsWheelMessage(0x00000003u));   // NT 3.0
    EXPECT_FALSE(rules::WantsWheelMessage(0x00003303u));  // NT 3.51
    EXPECT_FALSE(rules::WantsWheelMessage(0x00000004u));  // NT 4.0
    EXPECT_FALSE(rules::WantsWheelMessage(0x80000003u));  // 95 family with 3.0: no such thing
    EXPECT_FALSE(rules::WantsWheelMessage(0x1DB10106u));  // Windows 7 as Wine reports it
}

TEST(ShellRules, ClampAndFlags) {
    EXPECT_EQ(rules::Clamp(0, 1, 32), 1);
    EXPECT_EQ(rules::Clamp(33, 1, 32), 32);
    EXPECT_EQ(rules::Clamp(-5, 1, 4), 1);
    EXPECT_EQ(rules::Clamp(4, 1, 4), 4);
    EXPECT_EQ(rules::Clamp(0, 20, 1000), 20);
    EXPECT_EQ(rules::Clamp(1001, 20, 1000), 1000);
    EXPECT_EQ(rules::Flag(0), 0);
    EXPECT_EQ(rules::Flag(1), 1);
    EXPECT_EQ(rules::Flag(7), 1);
    EXPECT_EQ(rules::Flag(-1), 1);
}

TEST(ShellRules, StoredRectanglesNeedArea) {
    EXPECT_TRUE(rules::HasArea({0, 0, 1, 1}));
    EXPECT_TRUE(rules::HasArea({-100, -50, 300, 250}));
    EXPECT_FALSE(rules::HasArea({0, 0, 0, 0}));
    EXPECT_FALSE(rules::HasArea({100, 100, 100, 300}));
    EXPECT_FALSE(rules::HasArea({100, 100, 300, 100}));
    EXPECT_FALSE(rules::HasArea({400, 300, 100, 100}));
}

TEST(ShellRules, WorkAreaOffsetMovesTheWholeRectangle) {
    const rules::Rect r = rules::WorkAreaToScreen({10, 20, 330, 220}, 0, 40);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right, 330);
    EXPECT_EQ(r.bottom, 260);
    const rules::Rect l = rules::WorkAreaToScreen({0, 0, 100, 100}, 64, 0);
    EXPECT_EQ(l.left, 64);
    EXPECT_EQ(l.right, 164);
}

TEST(ShellRules, CentringTruncatesTowardZeroAndMayLeaveTheReference) {
    int x = 0, y = 0;
    rules::CentredOrigin({100, 100, 500, 400}, {0, 0, 200, 100}, &x, &y);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 200);
    // A window wider than its reference starts left of it; a difference of -3 gives -1.
    rules::CentredOrigin({100, 100, 200, 200}, {0, 0, 103, 103}, &x, &y);
    EXPECT_EQ(x, 99);
    EXPECT_EQ(y, 99);
    rules::CentredOrigin({0, 0, 10, 10}, {0, 0, 13, 13}, &x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    rules::CentredOrigin({0, 0, 10, 10}, {0, 0, 7, 7}, &x, &y);
    EXPECT_EQ(x, 1);
}

TEST(ShellRules, ProgramDirectoryKeepsItsBackslash) {
    const struct {
        const char* path;
        const char* kept;
    } cases[] = {
        {"C:\\Tools\\app.exe", "C:\\Tools\\"},
        {"C:\\app.exe", "C:\\"},
        {"app.exe", "app.exe"},
        {"\\app.exe", "\\app.exe"},  // position 0 is never examined
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        rules::KeepDirectory(&path[0], static_cast<int>(path.size()));
        EXPECT_STREQ(path.c_str(), c.kept) << c.path;
    }
}

namespace {

void ExpectRect(const rules::Rect& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(PlacementRules, DialogsAreCentredWhereThatFitsElseMovedTheLeastOntoTheWorkArea) {
    const rules::Rect work{0, 0, 1024, 740};  // a taskbar below
    const rules::Rect dialog{0, 0, 360, 150};
    // Centred over a large owner: as it was.
    ExpectRect(rules::CentredInside({100, 100, 700, 500}, dialog, work), 220, 225, 580, 375);
    // A small owner at the origin: centring would leave the title bar above and left of the
    // screen; the dialog moves just onto it.
    ExpectRect(rules::CentredInside({0, 0, 120, 76}, dialog, work), 0, 0, 360, 150);
    // Near the bottom-right corner: moved up and left only as far as needed, edges exactly on
    // the work area's right and bottom.
    ExpectRect(rules::CentredInside({900, 680, 1024, 740}, dialog, work), 664, 590, 1024, 740);
    // Off only to the right: the vertical position stays centred.
    ExpectRect(rules::CentredInside({950, 300, 1050, 400}, dialog, work), 664, 275, 1024, 425);
    // A second monitor left of the primary one, with negative coordinates.
    const rules::Rect left{-800, 0, 0, 600};
    ExpectRect(rules::CentredInside({-810, -20, -700, 40}, dialog, left), -800, 0, -440, 150);
    ExpectRect(rules::CentredInside({-60, 560, 60, 640}, dialog, left), -360, 450, 0, 600);
    // A work area smaller than the dialog (odd sizes): its left and top stay reachable.
    ExpectRect(rules::CentredInside({0, 0, 100, 100}, dialog, {5, 7, 300, 121}), 5, 7, 365, 157);
}

TEST(PlacementRules, StoredWindowsWhoseCaptionCannotBeGrabbedAreRescued) {
    const rules::Rect work{0, 0, 1024, 768};
    const int caption = 30, strip = 112;
    // Wholly on screen, and partly off but with its caption on it: used exactly as stored.
    ExpectRect(rules::RescueWindow({200, 150, 600, 450}, work, caption, strip), 200, 150, 600, 450);
    ExpectRect(rules::RescueWindow({-300, 100, 200, 400}, work, caption, strip), -300, 100, 200, 400);
    ExpectRect(rules::RescueWindow({0, 0, 1024, 768}, work, caption, strip), 0, 0, 1024, 768);
    // Half the caption's height above the top is still grabbable; more is not.
    ExpectRect(rules::RescueWindow({100, -15, 500, 285}, work, caption, strip), 100, -15, 500, 285);
    ExpectRect(rules::RescueWindow({100, -16, 500, 284}, work, caption, strip), 100, 0, 500, 300);
    // Exactly the strip's width on screen at the right is enough; one pixel less is not.
    ExpectRect(rules::RescueWindow({912, 100, 1312, 400}, work, caption, strip), 912, 100, 1312, 400);
    ExpectRect(rules::RescueWindow({913, 100, 1313, 400}, work, caption, strip), 624, 100, 1024, 400);
    // A narrow window needs its whole width on screen at the left.
    ExpectRect(rules::RescueWindow({-1, 100, 99, 200}, work, caption, strip), 0, 100, 100, 200);
    // The reported rectangles: only a corner visible, and one far larger than the screen.
    ExpectRect(rules::RescueWindow({1020, 760, 1500, 1100}, work, caption, strip), 544, 428, 1024, 768);
    ExpectRect(rules::RescueWindow({-100000, -100000, 100000, 100000}, work, caption, strip), 0, 0, 1024, 768);
    // Saved on a large desktop, opened on 800 x 600: shrunk to the work area, caption on it.
    ExpectRect(rules::RescueWindow({300, 200, 1500, 1100}, {0, 0, 800, 600}, caption, strip), 0, 0, 800, 600);
    // Only the height is too large: the width and the horizontal place stay.
    ExpectRect(rules::RescueWindow({100, 10, 500, 700}, {0, 0, 800, 600}, caption, strip), 100, 0, 500, 600);
    // A second monitor's work area with a negative origin and odd size.
    const rules::Rect second{-1023, 31, 0, 767};
    ExpectRect(rules::RescueWindow({-1500, 100, -1100, 400}, second, caption, strip), -1023, 100, -623, 400);
    ExpectRect(rules::RescueWindow({-500, 0, -100, 300}, second, caption, strip), -500, 31, -100, 331);
    // Rectangles whose width or height overflows 32 bits: shrunk to the work area like any other.
    ExpectRect(rules::RescueWindow({-2000000000, 100, 2000000000, 500}, work, caption, strip), 0, 100, 1024, 500);
    ExpectRect(rules::RescueWindow({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, work, caption, strip), 0, 0, 1024, 768);
    ExpectRect(rules::RescueWindow({INT_MIN, 100, INT_MIN + 400, 400}, second, caption, strip), -1023, 100, -623, 400);
    ExpectRect(rules::RescueWindow({INT_MAX - 400, INT_MAX - 300, INT_MAX, INT_MAX}, work, caption, strip), 624, 468,
               1024, 768);
    // Saved on a monitor that is gone: its size kept, moved onto this one's work area.
    ExpectRect(rules::RescueWindow({5000, 5000, 5400, 5300}, work, caption, strip), 624, 468, 1024, 768);
    ExpectRect(rules::RescueWindow({-1500, 100, -1100, 400}, work, caption, strip), 0, 100, 400, 400);
}

TEST(PlacementRules, TheFirstStartSizeIsDesignedAt96DpiAndScaled) {
    for (const auto& c : {std::make_pair(96, 320), {120, 400}, {144, 480}, {192, 640}, {0, 320}}) {
        EXPECT_EQ(rules::DefaultWindowSize(c.first).x, c.second) << c.first;
        EXPECT_EQ(rules::DefaultWindowSize(c.first).y, c.second * 5 / 8) << c.first;
    }
}
