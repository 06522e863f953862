// Context help of the main window: What's This in the program's own popup, the start-up check
// for new help and the closing of help with the window. A spy in this program's import table
// (call_spy.h) records each WinHelp call at the system boundary while the program's own code
// runs here; under Wine no program opens .html files, so topics reach WinHelp as the fallback.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/scoped.h"
#include "app/settings.h"
#include "app/utils.h"
#include "res/resource.h"
#include "tests/support/help_file.h"
#include "tests/support/wait.h"
#include "tests/e2e/support/help_popup.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_process.h"
#include "tests/win/call_spy.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

namespace {

using spy::HelpCall;

// The path as the program builds it under Wine, where these tests run.
std::string HelpPath() {
    return e2e::ProgramFolder() + "Peerix.hlp";
}

// The main topic's page, whose time the start-up check reads on systems with pages as the route,
// which Wine says it is by default.
std::string MainPage() {
    return e2e::ProgramFolder() + "help\\main.html";
}

ULONGLONG AsNumber(const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// Creates the main window (whose creation runs the help check) and destroys it again; returns
// the WinHelp calls made meanwhile.
std::vector<HelpCall> CallsOfAStart(spy::WinHelpCalls& spy) {
    spy.Clear();
    { RealMainWindow w(RECT{100, 100, 400, 300}); }
    return spy.Calls();
}

// Chooses "What's This?" in the context menu that the main window opens, by its access key.
void CALLBACK ChooseWhatsThis(HWND, UINT, UINT_PTR timer, DWORD) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !(info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE))) return;
    KillTimer(nullptr, timer);
    PostMessageA(mainWindow.hwnd, WM_CHAR, 'w', 0);
}

// The context menu at a screen point with What's This chosen; false when no menu was shown.
bool WhatsThisAt(POINT screen) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ChooseWhatsThis);
    const bool shown = mainWindow.ShowContextMenu(screen);
    KillTimer(nullptr, timer);
    return shown;
}

}  // namespace

class ContextHelp : public GlobalStateTest {};

TEST_F(ContextHelp, WhatsThisShowsTheAreasTextBelowTheClickPointAndEscGivesTheFocusBack) {
    spy::WinHelpCalls spy;
    ASSERT_TRUE(spy.Active());
    RealMainWindow w(RECT{120, 90, 620, 430}, true, true);
    RECT view, zoom;
    mainWindow.GetViewRect(&view);
    GetWindowRect(mainWindow.zoomTrack, &zoom);
    RECT coords = {};
    SendMessageA(mainWindow.statusBar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&coords));
    MapWindowPoints(mainWindow.statusBar, nullptr, reinterpret_cast<POINT*>(&coords), 2);
    POINT viewPoint = {view.left + 37, view.top + 21};
    ClientToScreen(w.Handle(), &viewPoint);
    const struct {
        const char* area;
        POINT screen;
        DWORD id;
    } cases[] = {
        {"view", viewPoint, HID_VIEW},
        {"zoom trackbar", POINT{zoom.left + 3, zoom.top + 4}, HID_ZOOM_TRACK},
        {"coordinates part", POINT{coords.right - 2, coords.bottom - 2}, HID_STATUS_COORDS},
    };
    const RECT work = WorkAreaNear(w.Handle());
    // Tooltip colours of their own for this test, told apart from every other colour on the screen.
    const int elements[] = {COLOR_INFOBK, COLOR_INFOTEXT};
    const COLORREF kInfoBack = RGB(250, 236, 160), kInfoText = RGB(120, 0, 60);
    const COLORREF before[] = {GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOTEXT)}, ours[] = {kInfoBack, kInfoText};
    ASSERT_TRUE(SetSysColors(2, elements, ours));
    struct Restore {
        const int* elements;
        const COLORREF* colours;
        ~Restore() { SetSysColors(2, elements, colours); }
    } restore{elements, before};
    for (const auto& c : cases) {
        ASSERT_TRUE(input::Focus(w.Handle())) << c.area;
        ASSERT_TRUE(WhatsThisAt(c.screen)) << c.area;
        HWND popup = e2e::ShownHelpPopup(GetCurrentProcessId());
        ASSERT_NE(popup, nullptr) << c.area;
        // The same text as the help file's popup for the id, for screen readers as the window's text.
        EXPECT_EQ(e2e::PopupText(popup), e2e::HelpFilePopupText(c.id)) << c.area;
        EXPECT_EQ(GetWindow(popup, GW_OWNER), w.Handle()) << c.area;
        EXPECT_EQ(GetFocus(), popup) << c.area;
        // Just below the point (the status bar's is at the screen's foot: above it), inside the
        // work area, wrapped to lines narrower than the screen.
        RECT r;
        GetWindowRect(popup, &r);
        EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom)
            << c.area;
        EXPECT_LT(r.right - r.left, (work.right - work.left) / 2) << c.area;
        if (r.top > c.screen.y) {
            EXPECT_LE(r.top - c.screen.y, 20) << c.area;
        } else {
            EXPECT_LE(c.screen.y - r.bottom, 20) << c.area;
        }
        EXPECT_LE(r.left, c.screen.x) << c.area;
        EXPECT_GT(r.right, c.screen.x) << c.area;
        // In the tooltip colours: the background at its corner, and text drawn in the text colour.
        EXPECT_TRUE(waiting::WaitFor([&] {
            ScopedGetDC screen(nullptr);
            int text = 0;
            for (int y = r.top + 1; y < r.bottom - 1; ++y)
                for (int x = r.left + 1; x < r.right - 1; x += 2) text += GetPixel(screen, x, y) == kInfoText;
            return GetPixel(screen, r.left + 2, r.top + 2) == kInfoBack && text > 20;
        })) << c.area;
        input::Press(VK_ESCAPE);
        EXPECT_TRUE(waiting::WaitFor([&] { return !IsWindow(popup); })) << c.area;
        EXPECT_EQ(GetFocus(), w.Handle()) << c.area;
    }
    EXPECT_TRUE(spy.Calls().empty()) << "popups are not WinHelp's";

    // On the title bar there is no area: no menu, no help.
    RECT frame;
    GetWindowRect(w.Handle(), &frame);
    EXPECT_FALSE(WhatsThisAt(POINT{(frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYFRAME) + 2}));
    EXPECT_EQ(e2e::ShownHelpPopup(GetCurrentProcessId()), nullptr);
}

TEST_F(ContextHelp, StartupOpensTheMainTopicOnceForEachNewHelpFileBesideTheProgram) {
    spy::WinHelpCalls spy;
    ASSERT_TRUE(spy.Active());
    const ULONGLONG t1 = 133000000000000000ull, t2 = t1 + 10000000ull;  // two times a second apart
    {
        ScopedHelpFile beside(MainPage(), t1);

        // Never opened before: the main topic opens once, in the main window, and the time is kept.
        settings.HelpFileTime = FILETIME{0, 0};
        std::vector<HelpCall> made = CallsOfAStart(spy);
        ASSERT_EQ(made.size(), 2u);  // the topic at creation, the quit at destruction
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(made[0].data, static_cast<ULONG_PTR>(HID_MAIN_TOPIC));
        EXPECT_EQ(made[0].file, HelpPath());
        EXPECT_EQ(lstrcmpA(made[0].windowClass.c_str(), "PeerixMainWnd"), 0);
        EXPECT_EQ(made[1].command, static_cast<UINT>(HELP_QUIT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), t1);

        // The same file again: nothing opens.
        made = CallsOfAStart(spy);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_QUIT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), t1);

        // A newer copy opens the topic once more.
        beside.Touch(t2);
        made = CallsOfAStart(spy);
        ASSERT_EQ(made.size(), 2u);
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), t2);

        // An older copy opens nothing and leaves the stored time.
        beside.Touch(t1);
        made = CallsOfAStart(spy);
        EXPECT_EQ(made.size(), 1u);
        EXPECT_EQ(AsNumber(settings.HelpFileTime), t2);
    }

    // A page only in the current folder is not the one help would open: nothing happens.
    char temp[MAX_PATH], previous[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "peerix-help-check";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\help").c_str(), nullptr);
    GetCurrentDirectoryA(sizeof previous, previous);
    {
        ScopedHelpFile none(MainPage());  // none beside the program
        ScopedHelpFile elsewhere(folder + "\\help\\main.html", t2);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        settings.HelpFileTime = FILETIME{0, 0};
        const std::vector<HelpCall> made = CallsOfAStart(spy);
        SetCurrentDirectoryA(previous);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_QUIT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), 0u);
    }
    RemoveDirectoryA((folder + "\\help").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(ContextHelp, DestroyingTheWindowClosesHelpAfterPostingTheQuitMessage) {
    spy::WinHelpCalls spy;
    ASSERT_TRUE(spy.Active());
    HWND window = nullptr;
    {
        RealMainWindow w(RECT{100, 100, 400, 300});
        window = w.Handle();
        spy.Clear();
    }
    const std::vector<HelpCall> calls = spy.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_QUIT));
    EXPECT_EQ(calls[0].window, window);
    EXPECT_EQ(calls[0].data, 0u);
    EXPECT_EQ(calls[0].file, HelpPath());
    EXPECT_TRUE(calls[0].quitPosted);
}
