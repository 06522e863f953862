#include <gtest/gtest.h>

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
    char a[] = "C:\\Tools\\app.exe";
    rules::KeepDirectory(a, sizeof a - 1);
    EXPECT_STREQ(a, "C:\\Tools\\");
    char b[] = "C:\\app.exe";
    rules::KeepDirectory(b, sizeof b - 1);
    EXPECT_STREQ(b, "C:\\");
    char c[] = "app.exe";
    rules::KeepDirectory(c, sizeof c - 1);
    EXPECT_STREQ(c, "app.exe");
    // Position 0 is never examined.
    char d[] = "\\app.exe";
    rules::KeepDirectory(d, sizeof d - 1);
    EXPECT_STREQ(d, "\\app.exe");
}
