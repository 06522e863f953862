// The program's start, its window, its settings at exit and its picture, seen from outside.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <iterator>

#include "app/settings.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/view.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;
using namespace pixels;

namespace {

int ScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

// Whether a process has loaded the named library.
bool Loaded(DWORD pid, const char* library) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    bool found = false;
    for (BOOL more = Module32First(snapshot, &module); more && !found; more = Module32Next(snapshot, &module))
        found = lstrcmpiA(module.szModule, library) == 0;
    CloseHandle(snapshot);
    return found;
}

class Startup : public PeerixTest {};

}  // namespace

TEST_F(Startup, FirstStartOpensDefaultWindowAndWritesEveryDefault) {
    DeletePeerixKey();  // a true first start: not even the help file time
    ASSERT_TRUE(peerix.Start());
    HWND w = peerix.Window();
    EXPECT_EQ(dialogs::ClassOf(w), "PeerixMainWnd");
    EXPECT_EQ(dialogs::Text(w), "Peerix");
    // A resizable window with a caption, its menu and a minimize box but no maximize box (the
    // exact style is pinned down where app/startup.cpp defines it).
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    const RECT r = dialogs::Rect(w);
    const SIZE first = FirstStartSize(w);
    EXPECT_GE(first.cx, 320);
    EXPECT_LT(first.cx, 400);  // the smallest window holds the toolbar band and the status parts
    EXPECT_EQ(r.right - r.left, first.cx);
    EXPECT_EQ(r.bottom - r.top, first.cy);

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(peerix.ExitCode(), 0u);
    // The help file beside the program is new to a first start: its main topic opened in the
    // viewer (see the help tests), which closes with Peerix.
    EXPECT_TRUE(waiting::WaitFor([] { return HelpViewerWindows().empty(); }, 10000));

    // Wine enumerates values by name, not by creation, so the write order itself is checked by
    // the component tests; here every value must be there with its type and full size.
    std::vector<std::string> names = ValueNames();
    std::vector<std::string> expected;
    for (const SettingDescription& row : kSettings) expected.push_back(row.name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    std::sort(expected.begin(), expected.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    EXPECT_EQ(names, expected);
    for (const SettingDescription& row : kSettings) {
        const RegValue v = ReadValue(row.name);
        EXPECT_EQ(v.type, row.type) << row.name;
        EXPECT_EQ(v.data.size(), row.size) << row.name;
        if (row.type == REG_DWORD) {
            EXPECT_EQ(v.AsDword(), static_cast<DWORD>(row.initial)) << row.name;
        }
    }
    char documents[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, documents, CSIDL_PERSONAL, FALSE));
    // Wine's item-list route to the folder adds a trailing backslash; both name the same folder.
    std::string stored = reinterpret_cast<const char*>(ReadValue("InitialDirectory").data.data());
    if (stored.size() > 3 && stored.back() == '\\') stored.pop_back();
    EXPECT_EQ(stored, documents);
    const RegValue pos = ReadValue("WindowPos");
    EXPECT_EQ(pos.At(0), r.left);
    EXPECT_EQ(pos.At(1), r.top);
    EXPECT_EQ(pos.At(2), r.right);
    EXPECT_EQ(pos.At(3), r.bottom);
    const RegValue point = ReadValue("ZoomPoint");
    EXPECT_EQ(point.At(0), 0);
    EXPECT_EQ(point.At(1), 0);
    const RegValue helpTime = ReadValue("HelpFileTime");
    // Wine says it is Windows 10, where help is the pages: the main page's time is what was seen.
    WIN32_FILE_ATTRIBUTE_DATA help = {};
    ASSERT_TRUE(GetFileAttributesExA((ProgramFolder() + "help\\main.html").c_str(), GetFileExInfoStandard, &help));
    EXPECT_EQ(static_cast<DWORD>(helpTime.At(0)), help.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(static_cast<DWORD>(helpTime.At(1)), help.ftLastWriteTime.dwHighDateTime);
}

TEST_F(Startup, SavedRectangleIsUsedWhenItShowsOnScreen) {
    struct Case {
        RECT stored;
        bool used;
    } const cases[] = {
        {{200, 150, 600, 450}, true},
        {{-100, 10, 300, 310}, true},   // partly off screen: used as it is
        {{100, 100, 100, 300}, false},  // no width
        {{400, 300, 100, 100}, false},  // inverted
    };
    for (const Case& c : cases) {
        ResetSettings();
        WriteRect("WindowPos", c.stored.left, c.stored.top, c.stored.right, c.stored.bottom);
        ASSERT_TRUE(peerix.Start());
        // The Save dialog's and the shell's libraries wait for a command that needs them.
        EXPECT_TRUE(Loaded(peerix.Pid(), "comctl32.dll"));
        EXPECT_FALSE(Loaded(peerix.Pid(), "comdlg32.dll"));
        EXPECT_FALSE(Loaded(peerix.Pid(), "shell32.dll"));
        const RECT r = dialogs::Rect(peerix.Window());
        if (c.used) {
            EXPECT_EQ(r.left, c.stored.left);
            EXPECT_EQ(r.top, c.stored.top);
            EXPECT_EQ(r.right, c.stored.right);
            EXPECT_EQ(r.bottom, c.stored.bottom);
        } else {
            EXPECT_EQ(r.right - r.left, FirstStartSize(peerix.Window()).cx) << c.stored.left << "," << c.stored.top;
            EXPECT_EQ(r.bottom - r.top, FirstStartSize(peerix.Window()).cy);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left < ScreenWidth() && r.top < ScreenHeight());
        }
        ASSERT_TRUE(peerix.Close());
        // What is stored at exit brings the window back where it was.
        const RegValue pos = ReadValue("WindowPos");
        EXPECT_EQ(pos.At(0), r.left);
        EXPECT_EQ(pos.At(1), r.top);
        EXPECT_EQ(pos.At(2), r.right);
        EXPECT_EQ(pos.At(3), r.bottom);
    }
}

TEST_F(Startup, SettingsComeBackWhenTheKeyIsDeletedWhileRunning) {
    // Values other than the defaults, so that a value written from scratch would show.
    WriteDword("ZoomFactor", 7);
    WriteDword("SaveZoomedImage", 1);
    WriteDword("Update2", 250);
    WriteDword("DisplayStatusbar", 0);
    WritePoint("ZoomPoint", 123, 45);
    WriteRect("WindowPos", 210, 130, 610, 430);
    ASSERT_TRUE(peerix.Start());
    DeletePeerixKey();
    ASSERT_FALSE(ReadValue("ZoomFactor").exists);
    ASSERT_TRUE(peerix.Close());

    std::vector<std::string> names = ValueNames();
    EXPECT_EQ(names.size(), std::size(kSettings));
    for (const SettingDescription& row : kSettings) {
        const RegValue v = ReadValue(row.name);
        EXPECT_TRUE(v.exists) << row.name;
        EXPECT_EQ(v.type, row.type) << row.name;
        EXPECT_EQ(v.data.size(), row.size) << row.name;
    }
    EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), 7u);
    EXPECT_EQ(ReadValue("SaveZoomedImage").AsDword(), 1u);
    EXPECT_EQ(ReadValue("Update2").AsDword(), 250u);
    EXPECT_EQ(ReadValue("DisplayStatusbar").AsDword(), 0u);
    EXPECT_EQ(ReadValue("ZoomPoint").At(0), 123);
    EXPECT_EQ(ReadValue("ZoomPoint").At(1), 45);
    EXPECT_EQ(ReadValue("WindowPos").At(0), 210);
    EXPECT_EQ(ReadValue("WindowPos").At(3), 430);
}

TEST_F(Startup, RectangleSurvivesAWorkAreaThatDoesNotStartAtTheScreenOrigin) {
    RECT original = {};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &original, 0));
    RECT moved = original;
    moved.left += 30;
    moved.top += 40;
    if (!SystemParametersInfoA(SPI_SETWORKAREA, 0, &moved, 0)) GTEST_SKIP() << "the work area cannot be moved here";
    RECT now = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &now, 0);
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
    if (now.top != moved.top || mi.rcWork.top != moved.top) {
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &original, 0);
        GTEST_SKIP() << "the system ignores a moved work area";
    }
    WriteRect("WindowPos", 220, 160, 620, 460);
    ASSERT_TRUE(peerix.Start());
    ASSERT_TRUE(peerix.Close());
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &original, 0);
    const RegValue pos = ReadValue("WindowPos");
    EXPECT_EQ(pos.At(0), 220);
    EXPECT_EQ(pos.At(1), 160);
    EXPECT_EQ(pos.At(2), 620);
    EXPECT_EQ(pos.At(3), 460);
}

TEST_F(Startup, ViewShowsTheScreenAroundTheSavedPointMagnified) {
    PatternWindow pattern(RECT{0, 0, 420, 420});
    ASSERT_TRUE(pattern.WaitUntilShown());
    for (int zoom : {1, 3, 8}) {
        ResetSettings();
        // Without the bars the view is the whole client area.
        WriteStartSettings(false, false, zoom, POINT{210, 200}, RECT{500, 100, 500 + 303, 100 + 257});
        ASSERT_TRUE(peerix.Start());
        EXPECT_EQ(WaitForView(peerix.Window(), zoom, POINT{210, 200}), "") << "zoom " << zoom;
        ASSERT_TRUE(peerix.Close());
        const RegValue point = ReadValue("ZoomPoint");
        EXPECT_EQ(point.At(0), 210);
        EXPECT_EQ(point.At(1), 200);
        EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), static_cast<DWORD>(zoom));
    }
}

TEST_F(Startup, PointsBeyondTheScreenAreHeldInsideIt) {
    const int sw = ScreenWidth(), sh = ScreenHeight();
    PatternWindow corner(RECT{sw - 360, sh - 300, sw, sh});
    PatternWindow origin(RECT{0, 0, 300, 260});
    ASSERT_TRUE(corner.WaitUntilShown());
    ASSERT_TRUE(origin.WaitUntilShown());
    struct Case {
        int zoom;
        LONG x, y;
    } const cases[] = {{4, 5000, 5000}, {3, sw, sh}, {2, -300, -40}, {5, 0, 0}};
    for (const Case& c : cases) {
        ResetSettings();
        WriteStartSettings(false, false, c.zoom, POINT{c.x, c.y}, RECT{380, 120, 380 + 331, 120 + 283});
        ASSERT_TRUE(peerix.Start());
        EXPECT_EQ(WaitForView(peerix.Window(), c.zoom, POINT{c.x, c.y}), "") << "zoom " << c.zoom;
        ASSERT_TRUE(peerix.Close());
        // The point is stored as it was given; only its use is held inside the screen.
        EXPECT_EQ(ReadValue("ZoomPoint").At(0), c.x);
        EXPECT_EQ(ReadValue("ZoomPoint").At(1), c.y);
    }
}

TEST_F(Startup, SecondStartHandsOverToTheRunningInstance) {
    WriteDword("SingleInstance", 1);
    PeerixProcess first;
    ASSERT_TRUE(first.Start());
    HWND w = first.Window();

    // Running and shown: the second start exits with 0 and the first comes to the front.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    waiting::WaitFor([&] { return GetForegroundWindow() == other; }, 3000);
    PeerixProcess second;
    ASSERT_TRUE(second.Start(SW_SHOWNORMAL, false));
    ASSERT_TRUE(second.WaitForExit());
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_TRUE(waiting::WaitFor([&] { return GetForegroundWindow() == w; }, 3000));
    DestroyWindow(other);

    // Minimised: the second start restores it.
    ShowWindow(w, SW_MINIMIZE);
    ASSERT_TRUE(waiting::WaitFor([&] { return IsIconic(w) != FALSE; }, 3000));
    PeerixProcess third;
    ASSERT_TRUE(third.Start(SW_SHOWNORMAL, false));
    ASSERT_TRUE(third.WaitForExit());
    EXPECT_EQ(third.ExitCode(), 0u);
    EXPECT_TRUE(waiting::WaitFor([&] { return !IsIconic(w); }, 3000));
    EXPECT_TRUE(first.Running());

    // Without the setting a second instance opens a window of its own.
    WriteDword("SingleInstance", 0);
    PeerixProcess fourth;
    ASSERT_TRUE(fourth.Start());
    EXPECT_NE(fourth.Window(), w);
}
