// The shared utilities against real windows, modules and message boxes.
#include <gtest/gtest.h>

#include <string>

#include "app/utils.h"
#include "tests/support/wait.h"
#include "tests/win/modal.h"

namespace {

HWND MakeWindow(int x, int y, int w, int h) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

TEST(Utils, CentreWindowCentresOnTheReferenceWithoutClamping) {
    HWND ref = MakeWindow(100, 100, 400, 300);
    HWND win = MakeWindow(0, 0, 200, 100);
    ASSERT_TRUE(CentreWindow(ref, win));
    RECT r;
    GetWindowRect(win, &r);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 200);  // not resized

    // Wider than the reference: starts left of it; -3 truncates to -1.
    HWND small = MakeWindow(10, 10, 10, 10);
    HWND wide = MakeWindow(0, 0, 13, 13);
    ASSERT_TRUE(CentreWindow(small, wide));
    GetWindowRect(wide, &r);
    EXPECT_EQ(r.left, 9);
    EXPECT_EQ(r.top, 9);

    // A window that does not exist moves nothing.
    HWND gone = MakeWindow(0, 0, 5, 5);
    DestroyWindow(gone);
    GetWindowRect(win, &r);
    EXPECT_FALSE(CentreWindow(gone, win));
    RECT same;
    GetWindowRect(win, &same);
    EXPECT_EQ(same.left, r.left);
    for (HWND h : {ref, win, small, wide}) DestroyWindow(h);
}

TEST(Utils, ProgramDirectoryEndsInABackslash) {
    char dir[MAX_PATH] = {};
    GetProgramDirectory(nullptr, dir, MAX_PATH);
    char full[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, full, MAX_PATH);
    std::string expected(full);
    expected.resize(expected.find_last_of('\\') + 1);
    EXPECT_EQ(std::string(dir), expected);
    // A module that does not exist leaves the buffer as it was.
    char untouched[MAX_PATH] = "unchanged";
    GetProgramDirectory(reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x1230)), untouched, MAX_PATH);
    EXPECT_STREQ(untouched, "unchanged");
}

TEST(Utils, SystemErrorShowsTheSystemsTextForTheLastError) {
    char expected[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0,
                   expected, sizeof expected, nullptr);
    std::string seenText;
    const bool shown = modal::Drive(
        "Peerix",
        [] {
            SetLastError(ERROR_ACCESS_DENIED);
            ShowSystemError(nullptr, "Peerix");
        },
        [&](HWND box) {
            char buffer[512] = {};
            GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);  // the message text's static
            seenText = buffer;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    EXPECT_TRUE(shown) << "no box captioned Peerix";
    EXPECT_EQ(seenText, std::string(expected).substr(0, seenText.size()));
    EXPECT_FALSE(seenText.empty());
}
