// What the program asks of WinHelp: What's This through a temporary child window, the start-up
// check for a new help file and the closing of help with the window. Wine's WinHelp ignores
// HELP_WM_HELP, so a spy in this program's import table (call_spy.h) records each call at the
// system boundary while the program's own code runs here.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "res/resource.h"
#include "tests/support/help_file.h"
#include "tests/support/hlp_reader.h"
#include "tests/support/wait.h"
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
bool WhatsThisAt(spy::WinHelpCalls& spy, POINT screen) {
    spy.Clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ChooseWhatsThis);
    const bool shown = mainWindow.ShowContextMenu(screen);
    KillTimer(nullptr, timer);
    return shown;
}

}  // namespace

class ContextHelp : public GlobalStateTest {};

TEST_F(ContextHelp, WhatsThisPassesTheAreasIdThroughATemporaryChildAtTheClickPoint) {
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
    // Every id sent must open a topic of the help file built beside the program.
    const std::map<uint32_t, uint32_t> built = hlp::File(hlp::ReadWholeFile(HelpPath())).ContextMap();
    for (const auto& c : cases) {
        ASSERT_TRUE(WhatsThisAt(spy, c.screen)) << c.area;
        const std::vector<HelpCall> calls = spy.Calls();
        ASSERT_EQ(calls.size(), 1u) << c.area;
        const HelpCall& h = calls[0];
        ASSERT_EQ(h.ids.size(), 4u) << c.area;
        EXPECT_TRUE(built.count(h.ids[1])) << c.area;
        EXPECT_EQ(h.command, static_cast<UINT>(HELP_WM_HELP)) << c.area;
        EXPECT_EQ(h.file, HelpPath()) << c.area;
        EXPECT_EQ(lstrcmpiA(h.windowClass.c_str(), "STATIC"), 0) << h.windowClass;
        EXPECT_EQ(h.controlId, 1) << c.area;
        EXPECT_EQ(h.parent, w.Handle()) << c.area;
        POINT client = c.screen;
        ScreenToClient(w.Handle(), &client);
        EXPECT_EQ(h.inParent.left, client.x) << c.area;
        EXPECT_EQ(h.inParent.top, client.y) << c.area;
        EXPECT_EQ(h.inParent.right - h.inParent.left, 10) << c.area;
        EXPECT_EQ(h.inParent.bottom - h.inParent.top, 10) << c.area;
        EXPECT_EQ(h.style & (WS_CHILD | WS_VISIBLE | WS_POPUP), WS_CHILD) << c.area;
        EXPECT_EQ(h.ids[0], 1u) << c.area;
        EXPECT_EQ(h.ids[1], c.id) << c.area;
        EXPECT_EQ(h.ids[2], 0u) << c.area;
        EXPECT_EQ(h.ids[3], 0u) << c.area;
        // The window lives only for the call.
        EXPECT_FALSE(IsWindow(h.window)) << c.area;
    }

    // On the title bar there is no area: no menu, no help.
    RECT frame;
    GetWindowRect(w.Handle(), &frame);
    EXPECT_FALSE(WhatsThisAt(spy, POINT{(frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYFRAME) + 2}));
    EXPECT_TRUE(spy.Calls().empty());
}

TEST_F(ContextHelp, StartupOpensTheMainTopicOnceForEachNewHelpFileBesideTheProgram) {
    spy::WinHelpCalls spy;
    ASSERT_TRUE(spy.Active());
    const ULONGLONG t1 = 133000000000000000ull, t2 = t1 + 10000000ull;  // two times a second apart
    {
        ScopedHelpFile beside(e2e::ProgramFolder() + "Peerix.hlp", t1);

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

    // A help file only in the current folder is not the one help would open: nothing happens.
    char temp[MAX_PATH], previous[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "peerix-help-check";
    CreateDirectoryA(folder.c_str(), nullptr);
    GetCurrentDirectoryA(sizeof previous, previous);
    {
        ScopedHelpFile none(e2e::ProgramFolder() + "Peerix.hlp");  // none beside the program
        ScopedHelpFile elsewhere(folder + "\\Peerix.hlp", t2);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        settings.HelpFileTime = FILETIME{0, 0};
        const std::vector<HelpCall> made = CallsOfAStart(spy);
        SetCurrentDirectoryA(previous);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_QUIT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), 0u);
    }
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
