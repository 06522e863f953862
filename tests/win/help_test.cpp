// What the program asks of WinHelp: What's This through a temporary child window, the start-up
// check for a new help file and the closing of help with the window. Wine's WinHelp ignores
// HELP_WM_HELP, so a spy in this program's import table records each call at the system
// boundary while the program's own code runs here.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "res/resource.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

namespace {

struct HelpCall {
    std::string file;
    UINT command = 0;
    ULONG_PTR data = 0;
    DWORD pairs[4] = {};  // the data array of HELP_WM_HELP
    HWND window = nullptr;
    std::string windowClass;
    int controlId = 0;
    HWND parent = nullptr;
    RECT inParent = {};  // the window's rectangle in its parent's client coordinates
    LONG style = 0;
    bool quitPosted = false;
};

using WinHelpFunction = BOOL(WINAPI*)(HWND, LPCSTR, UINT, ULONG_PTR);

std::vector<HelpCall> calls;
WinHelpFunction realWinHelp = nullptr;

BOOL WINAPI SpyWinHelp(HWND window, LPCSTR file, UINT command, ULONG_PTR data) {
    HelpCall c;
    c.file = file ? file : "";
    c.command = command;
    c.data = data;
    c.window = window;
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    c.windowClass = name;
    c.controlId = GetDlgCtrlID(window);
    c.parent = GetParent(window);
    GetWindowRect(window, &c.inParent);
    if (c.parent) MapWindowPoints(nullptr, c.parent, reinterpret_cast<POINT*>(&c.inParent), 2);
    c.style = GetWindowLongA(window, GWL_STYLE);
    if (command == HELP_WM_HELP) CopyMemory(c.pairs, reinterpret_cast<const DWORD*>(data), sizeof c.pairs);
    MSG quit;
    c.quitPosted = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
    calls.push_back(c);
    // A topic request for a missing file makes Wine's viewer wait for an answer to its box;
    // everything else goes on to the real WinHelp.
    if (command == HELP_CONTEXT) return TRUE;
    return realWinHelp(window, file, command, data);
}

// The import-table entry of a function this program takes from a system library.
void** ImportSlot(const char* library, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), library) != 0 || !d->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

// Puts the spy into WinHelpA's import slot for one test and takes it out again.
class WinHelpSpy {
public:
    WinHelpSpy() {
        slot = ImportSlot("user32.dll", "WinHelpA");
        if (!slot) return;
        realWinHelp = reinterpret_cast<WinHelpFunction>(*slot);
        Write(reinterpret_cast<void*>(&SpyWinHelp));
        calls.clear();
    }
    ~WinHelpSpy() {
        if (slot) Write(reinterpret_cast<void*>(realWinHelp));
    }
    WinHelpSpy(const WinHelpSpy&) = delete;
    WinHelpSpy& operator=(const WinHelpSpy&) = delete;
    bool Installed() const { return slot != nullptr; }

private:
    void Write(void* target) {
        DWORD old = 0;
        VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
        *slot = target;
        VirtualProtect(slot, sizeof(void*), old, &old);
    }
    void** slot = nullptr;
};

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

std::string HelpPath() {
    return ProgramFolder() + "Peerix.hlp>NormWin";
}

// A help file written for one test and removed again, whatever happens in between: one left
// beside the program would open help at the start of the real program.
class HelpFile {
public:
    HelpFile(const std::string& path, ULONGLONG writeTime) : path(path) { Touch(writeTime); }
    ~HelpFile() { DeleteFileA(path.c_str()); }
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;
    void Touch(ULONGLONG writeTime) {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
        DWORD written = 0;
        WriteFile(f, "?_", 2, &written, nullptr);
        const FILETIME t = Time(writeTime);
        SetFileTime(f, nullptr, nullptr, &t);
        CloseHandle(f);
    }
    static FILETIME Time(ULONGLONG v) { return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)}; }

private:
    std::string path;
};

ULONGLONG AsNumber(const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

// Creates the main window (whose creation runs the help check) and destroys it again; returns
// the WinHelp calls made meanwhile.
std::vector<HelpCall> CallsOfAStart() {
    calls.clear();
    { RealMainWindow w(RECT{100, 100, 400, 300}); }
    return calls;
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
    calls.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ChooseWhatsThis);
    const bool shown = mainWindow.ShowContextMenu(screen);
    KillTimer(nullptr, timer);
    return shown;
}

}  // namespace

TEST(ContextHelp, WhatsThisPassesTheAreasIdThroughATemporaryChildAtTheClickPoint) {
    WinHelpSpy spy;
    ASSERT_TRUE(spy.Installed());
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
    for (const auto& c : cases) {
        ASSERT_TRUE(WhatsThisAt(c.screen)) << c.area;
        ASSERT_EQ(calls.size(), 1u) << c.area;
        const HelpCall& h = calls[0];
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
        EXPECT_EQ(h.pairs[0], 1u) << c.area;
        EXPECT_EQ(h.pairs[1], c.id) << c.area;
        EXPECT_EQ(h.pairs[2], 0u) << c.area;
        EXPECT_EQ(h.pairs[3], 0u) << c.area;
        // The window lives only for the call.
        EXPECT_FALSE(IsWindow(h.window)) << c.area;
    }

    // On the title bar there is no area: no menu, no help.
    RECT frame;
    GetWindowRect(w.Handle(), &frame);
    EXPECT_FALSE(WhatsThisAt(POINT{(frame.left + frame.right) / 2, frame.top + GetSystemMetrics(SM_CYFRAME) + 2}));
    EXPECT_TRUE(calls.empty());
}

TEST(ContextHelp, StartupOpensTheMainTopicOnceForEachNewHelpFileBesideTheProgram) {
    WinHelpSpy spy;
    ASSERT_TRUE(spy.Installed());
    const FILETIME saved = settings.HelpFileTime;
    const ULONGLONG t1 = 133000000000000000ull, t2 = t1 + 10000000ull;  // two times a second apart
    {
        HelpFile beside(ProgramFolder() + "Peerix.hlp", t1);

        // Never opened before: the main topic opens once, in the main window, and the time is kept.
        settings.HelpFileTime = FILETIME{0, 0};
        std::vector<HelpCall> made = CallsOfAStart();
        ASSERT_EQ(made.size(), 2u);  // the topic at creation, the quit at destruction
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(made[0].data, static_cast<ULONG_PTR>(HID_MAIN_TOPIC));
        EXPECT_EQ(made[0].file, HelpPath());
        EXPECT_EQ(lstrcmpA(made[0].windowClass.c_str(), "PeerixMainWnd"), 0);
        EXPECT_EQ(made[1].command, static_cast<UINT>(HELP_QUIT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), t1);

        // The same file again: nothing opens.
        made = CallsOfAStart();
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_QUIT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), t1);

        // A newer copy opens the topic once more.
        beside.Touch(t2);
        made = CallsOfAStart();
        ASSERT_EQ(made.size(), 2u);
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), t2);

        // An older copy opens nothing and leaves the stored time.
        beside.Touch(t1);
        made = CallsOfAStart();
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
        HelpFile elsewhere(folder + "\\Peerix.hlp", t2);
        ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        settings.HelpFileTime = FILETIME{0, 0};
        const std::vector<HelpCall> made = CallsOfAStart();
        SetCurrentDirectoryA(previous);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].command, static_cast<UINT>(HELP_QUIT));
        EXPECT_EQ(AsNumber(settings.HelpFileTime), 0u);
    }
    RemoveDirectoryA(folder.c_str());
    settings.HelpFileTime = saved;
}

TEST(ContextHelp, DestroyingTheWindowClosesHelpAfterPostingTheQuitMessage) {
    WinHelpSpy spy;
    ASSERT_TRUE(spy.Installed());
    HWND window = nullptr;
    {
        RealMainWindow w(RECT{100, 100, 400, 300});
        window = w.Handle();
        calls.clear();
    }
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].command, static_cast<UINT>(HELP_QUIT));
    EXPECT_EQ(calls[0].window, window);
    EXPECT_EQ(calls[0].data, 0u);
    EXPECT_EQ(calls[0].file, HelpPath());
    EXPECT_TRUE(calls[0].quitPosted);
}
