// Help from outside. Wine says it is Windows 10, so topics go to their pages, and without a
// program for .html files (a fresh prefix has none) to WinHelp: a stand-in window of WinHelp's
// class in this process receives what Peerix asks of it (F1, the Help command, closing); with no
// stand-in, Wine's own viewer opens the built Peerix.hlp beside the program, at start once for a
// new main page, and closes with Peerix. With a program for pages registered, F1 opens the main
// page; with Windows XP as the version, WinHelp again; from folders named in any script both.
// What's This and the dialogs' control help show Peerix's own popup.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/help_popup.h"
#include "tests/e2e/support/help_routes.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/saved_images.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/support/help_file.h"
#include "tests/support/hlp_reader.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

std::string BuiltFile() {
    return ProgramFolder() + "Peerix.hlp";
}

std::string MainPage() {
    return ProgramFolder() + "help\\main.html";
}

// Receives WinHelp calls the way the viewer does: WM_COPYDATA tagged 0xA1DE505 carrying the
// size, command, data, and the offset of the file name.
class WinHelpStandIn {
public:
    struct Call {
        UINT command;
        LONG data;
        std::string file;
    };

    WinHelpStandIn() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MS_WINHELP";
        RegisterClassA(&wc);
        window = CreateWindowA("MS_WINHELP", "stand-in", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                               nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~WinHelpStandIn() {
        DestroyWindow(window);
        UnregisterClassA("MS_WINHELP", GetModuleHandleA(nullptr));
    }
    WinHelpStandIn(const WinHelpStandIn&) = delete;
    WinHelpStandIn& operator=(const WinHelpStandIn&) = delete;

    // Waits (handling the calls as they come) until `count` calls arrived.
    bool WaitForCalls(size_t count) {
        return waiting::WaitFor([&] { return calls.size() >= count; }, 10000);
    }
    std::vector<Call> calls;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<WinHelpStandIn*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (message == WM_COPYDATA && self) {
            const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const auto* bytes = static_cast<const BYTE*>(copy->lpData);
            if (copy->dwData == 0xA1DE505 && copy->cbData >= 16) {
                Call c;
                c.command = bytes[2] | (bytes[3] << 8);
                std::memcpy(&c.data, bytes + 4, 4);
                const WORD fileAt = static_cast<WORD>(bytes[12] | (bytes[13] << 8));
                if (fileAt && fileAt < copy->cbData) c.file = reinterpret_cast<const char*>(bytes + fileAt);
                self->calls.push_back(c);
                return TRUE;
            }
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    HWND window;
};

// Opens the general menu over the view and chooses "&Help".
void ChooseHelpFromTheMenu(const PeerixProcess& peerix) {
    RECT client = {};
    GetClientRect(peerix.Window(), &client);
    POINT p = {client.right / 2, client.bottom / 2};
    ClientToScreen(peerix.Window(), &p);
    input::RightClick(p.x, p.y);
    ASSERT_TRUE(waiting::WaitFor([&] { return ShownPopupMenu(peerix.Pid()) != nullptr; }));
    input::Press('H');
}

// The main topic as the built file has it.
hlp::File::Topic MainTopic() {
    const hlp::File built(hlp::ReadWholeFile(BuiltFile()));
    const auto topics = built.Topics();
    const auto map = built.ContextMap();
    const hlp::File::Topic* main = map.count(1) ? built.TopicAt(topics, map.at(1)) : nullptr;
    return main ? *main : hlp::File::Topic{};
}

bool ViewerShowsTheMainTopic() {
    const std::string text = MainTopicText(BuiltFile());
    return waiting::WaitFor([&] { return ViewerShowing(text).window != nullptr; }, 15000);
}

// Presses F1 in a started copy and waits for the viewer to show the main topic with no box.
bool F1ShowsTheMainTopicInTheViewer(HWND window) {
    if (!input::FocusForKeys(window)) return false;
    input::Press(VK_F1);
    return ViewerShowsTheMainTopic() && FindBox("ERROR").window == nullptr;
}

class Help : public PeerixTest {
protected:
    void SetUp() override {
        PeerixTest::SetUp();
        WriteRect("WindowPos", 300, 150, 700, 450);
    }
};

}  // namespace

TEST_F(Help, F1TheHelpCommandAndClosingAskWinHelpForTheFileBesideTheProgram) {
    WinHelpStandIn standIn;
    const auto map = hlp::File(hlp::ReadWholeFile(BuiltFile())).ContextMap();
    ASSERT_TRUE(Start());
    input::Press(VK_F1);
    ASSERT_TRUE(standIn.WaitForCalls(1));
    ASSERT_TRUE(input::FocusForKeys(peerix.Window()));
    ChooseHelpFromTheMenu(peerix);
    ASSERT_TRUE(standIn.WaitForCalls(2));
    // Closing sends HELP_QUIT while this thread must handle it: post, then wait pumping.
    PostMessageA(peerix.Window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(standIn.WaitForCalls(3));
    ASSERT_TRUE(peerix.WaitForExit());
    ASSERT_EQ(standIn.calls.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(standIn.calls[i].command, static_cast<UINT>(HELP_CONTEXT)) << i;
        EXPECT_EQ(standIn.calls[i].data, 1) << i;
        EXPECT_EQ(standIn.calls[i].file, BuiltFile()) << i;
        EXPECT_TRUE(map.count(static_cast<uint32_t>(standIn.calls[i].data))) << "not in the built file's map";
    }
    EXPECT_EQ(standIn.calls[2].command, static_cast<UINT>(HELP_QUIT));
    EXPECT_EQ(standIn.calls[2].file, BuiltFile());
    EXPECT_EQ(peerix.ExitCode(), 0u);
}

TEST_F(Help, WithoutAProgramForPagesWinesViewerShowsTheMainTopicForF1AndHelpAndClosesWithPeerix) {
    ASSERT_TRUE(Start());
    input::Press(VK_F1);
    EXPECT_TRUE(ViewerShowsTheMainTopic());
    EXPECT_EQ(FindBox("ERROR").window, nullptr);

    // Away from the main topic, then "&Help" brings it back.
    HWND viewer = HelpViewerWindows().empty() ? nullptr : HelpViewerWindows().front().window;
    ASSERT_NE(viewer, nullptr);
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waiting::WaitFor([] { return HelpViewerWindows().empty(); }, 10000));
    ASSERT_TRUE(input::FocusForKeys(peerix.Window()));
    ChooseHelpFromTheMenu(peerix);
    EXPECT_TRUE(ViewerShowsTheMainTopic());
    EXPECT_EQ(FindBox("ERROR").window, nullptr);

    ASSERT_TRUE(peerix.Close());
    EXPECT_TRUE(waiting::WaitFor([] { return HelpViewerWindows().empty(); }, 10000)) << "HELP_QUIT closes it";
}

TEST_F(Help, TheBuiltMainPageOpensItsTopicOnceAtTheFirstStart) {
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    ASSERT_TRUE(GetFileAttributesExA(MainPage().c_str(), GetFileExInfoStandard, &attributes));
    const DWORD never[2] = {0, 0};
    WriteBinary("HelpFileTime", never, sizeof never);
    {
        // Started from its own folder; the check runs while the window is made.
        ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, false, ProgramFolder().c_str()));
        EXPECT_TRUE(ViewerShowsTheMainTopic());
        EXPECT_EQ(FindBox("ERROR").window, nullptr);
        ASSERT_TRUE(waiting::WaitFor([&] { return peerix.FindMainWindow() != nullptr; }, 10000));
        ASSERT_TRUE(peerix.Close());
        EXPECT_TRUE(waiting::WaitFor([] { return HelpViewerWindows().empty(); }, 10000));
    }
    const RegValue stored = ReadValue("HelpFileTime");
    EXPECT_EQ(static_cast<DWORD>(stored.At(0)), attributes.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(static_cast<DWORD>(stored.At(1)), attributes.ftLastWriteTime.dwHighDateTime);

    // The same file at the next start: the window appears with no viewer opened before it (help
    // is asked for synchronously while the window is made).
    {
        ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, true, ProgramFolder().c_str()));
        EXPECT_TRUE(HelpViewerWindows().empty());
        ASSERT_TRUE(peerix.Close());
    }
}

TEST_F(Help, HelpOnlyInTheCurrentFolderOpensNothingAndF1NamesTheMissingFile) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "peerix-elsewhere";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\help").c_str(), nullptr);
    {
        ScopedHelpFile none(BuiltFile()), nonePage(MainPage());  // nothing beside the program
        ScopedHelpFile elsewhere(folder + "\\Peerix.hlp", 133100000000000000ull);
        ScopedHelpFile elsewherePage(folder + "\\help\\main.html", 133100000000000000ull);
        const DWORD never[2] = {0, 0};
        WriteBinary("HelpFileTime", never, sizeof never);
        ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, true, folder.c_str()));
        EXPECT_EQ(FindBox("ERROR").window, nullptr);
        EXPECT_TRUE(HelpViewerWindows().empty());
        // F1 looks beside the program and says which file is missing there: the page, the first
        // choice of this system; no viewer is started to say it cannot find a file.
        ASSERT_TRUE(input::FocusForKeys(peerix.Window()));
        input::Press(VK_F1);
        HelpBox box;
        ASSERT_TRUE(waiting::WaitFor([&] { return (box = FindBox("Peerix")).window != nullptr; }, 10000));
        EXPECT_NE(box.text.find("\n" + MainPage() + "\n"), std::string::npos) << box.text;
        EXPECT_TRUE(HelpViewerWindows().empty());
        input::FocusForKeys(box.window);
        input::Press(VK_RETURN);
        EXPECT_TRUE(dialogs::WaitGone(box.window));
        ASSERT_TRUE(peerix.Close());
        EXPECT_EQ(ReadValue("HelpFileTime").At(0), 0);
        EXPECT_EQ(ReadValue("HelpFileTime").At(1), 0);
    }
    RemoveDirectoryA((folder + "\\help").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(Help, F1OpensTheMainPageOrUnderWindowsXpWinHelpFromFoldersNamedInAnyScript) {
    const std::string heading = "<h1>" + MainTopic().title + "</h1>";
    // French, then French and Japanese: the second is not in the Western code page.
    for (const std::wstring& name : {std::wstring(L"peerix-T\u00E9l\u00E9chargements"),
                                     std::wstring(L"peerix-\u753B\u50CF T\u00E9l\u00E9chargements")}) {
        PeerixCopy copy(name);
        ASSERT_TRUE(copy.Made()) << Utf8(name);
        PageOpener opener;
        HWND window = copy.Start();
        ASSERT_TRUE(window && input::FocusForKeys(window)) << Utf8(name);
        // A key pressed while the machine is busy can be lost: press again until the page opens.
        for (int attempt = 0; attempt < 3 && opener.WaitForCommandLine(attempt ? 5000 : 0).empty(); ++attempt)
            input::Press(VK_F1);
        // The shell is asked for the page by its real name; the page holds the main topic.
        const std::string page = Utf8(copy.Folder()) + "help\\main.html";
        EXPECT_NE(opener.WaitForCommandLine().find("\"" + page + "\""), std::string::npos)
            << opener.WaitForCommandLine(0);
        std::ifstream in((copy.Folder() + L"help\\main.html").c_str());
        EXPECT_NE(std::string(std::istreambuf_iterator<char>(in), {}).find(heading), std::string::npos) << heading;
        EXPECT_TRUE(HelpViewerWindows().empty());
        ASSERT_TRUE(copy.Close());

        // Told it runs on Windows XP, Peerix asks WinHelp, though a program for pages is there.
        opener.Forget();
        WindowsXpForPeerix xp;
        ASSERT_TRUE(window = copy.Start()) << Utf8(name);
        EXPECT_TRUE(F1ShowsTheMainTopicInTheViewer(window)) << Utf8(name) << ": " << DescribeViewers();
        EXPECT_FALSE(opener.Ran());
        ASSERT_TRUE(copy.Close());
        EXPECT_TRUE(waiting::WaitFor([] { return HelpViewerWindows().empty(); }, 10000));

        // Without its help, F1 names the missing file by its real name.
        DeleteFileW((copy.Folder() + L"Peerix.hlp").c_str());
        ASSERT_TRUE((window = copy.Start()) && input::FocusForKeys(window));
        input::Press(VK_F1);
        HelpBox box;
        ASSERT_TRUE(waiting::WaitFor([&] { return (box = FindBox("Peerix")).window != nullptr; }, 10000));
        wchar_t text[1024] = {};
        GetDlgItemTextW(box.window, 0xFFFF, text, 1024);
        EXPECT_NE(std::wstring(text).find(copy.Folder() + L"Peerix.hlp\n"), std::wstring::npos) << Utf8(text);
        PostMessageA(box.window, WM_COMMAND, IDOK, 0);
    }
}

TEST_F(Help, WhatsThisTheOptionsAndTheSaveBoxShowPeerixsPopupWithTheirIdsText) {
    PeerixProcess peerix;
    ASSERT_TRUE(peerix.Start());
    HWND w = peerix.Window();
    // What's This over the view.
    RECT client = {};
    GetClientRect(w, &client);
    POINT p = {client.right / 2, client.bottom / 2};
    ClientToScreen(w, &p);
    ASSERT_TRUE(input::FocusForKeys(w));
    input::RightClick(p.x, p.y);
    ASSERT_TRUE(waiting::WaitFor([&] { return ShownPopupMenu(peerix.Pid()) != nullptr; }, 10000));
    input::Press('W');
    HWND popup = WaitForHelpPopup(peerix.Pid());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(PopupText(popup), HelpFilePopupText(HID_VIEW));
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(waiting::WaitFor([&] { return !IsWindow(popup); }));
    EXPECT_TRUE(waiting::WaitFor([&] { return dialogs::Focused(w) == w; }));

    // F1 on the control that has the focus in the Options.
    HWND options = dialogs::PressForDialog(peerix.Pid(), "Options", 'O', {VK_CONTROL});
    ASSERT_NE(options, nullptr);
    HWND control = nullptr;
    ASSERT_TRUE(waiting::WaitFor([&] { return (control = dialogs::Focused(options)) != nullptr; }));
    input::Press(VK_F1);
    ASSERT_NE(popup = WaitForHelpPopup(peerix.Pid()), nullptr);
    EXPECT_EQ(PopupText(popup), HelpFilePopupText(HID_OPTIONS_BASE + GetDlgCtrlID(control)));
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(waiting::WaitFor([&] { return !IsWindow(popup) && dialogs::Focused(options) == control; }));
    input::Press(VK_ESCAPE);
    ASSERT_TRUE(dialogs::WaitGone(options));

    // The Save As dialog's box: Tab reaches it, F1 explains it.
    ASSERT_TRUE(input::FocusForKeys(w));
    HWND save = nullptr;
    // A window just come to the front may lose a chord's modifier under Wine: press again.
    for (int attempt = 0; attempt < 3 && !save; ++attempt) {
        input::Press('S', {VK_CONTROL});
        waiting::WaitFor([&] { return (save = SaveDialogOf(peerix.Pid())) != nullptr; }, 2000);
    }
    ASSERT_NE(save, nullptr);
    HWND box = FindChild(save, nullptr, IDC_SAVE_ZOOMED);
    for (int tabs = 0; tabs < 20 && dialogs::Focused(save) != box; ++tabs) {
        HWND before = dialogs::Focused(save);
        input::Press(VK_TAB);
        waiting::WaitFor([&] { return dialogs::Focused(save) != before; }, 2000);
    }
    ASSERT_EQ(dialogs::Focused(save), box) << "Tab never reached the Save Zoomed Image box";
    input::Press(VK_F1);
    ASSERT_NE(popup = WaitForHelpPopup(peerix.Pid()), nullptr);
    EXPECT_EQ(PopupText(popup), HelpFilePopupText(HID_SAVE_ZOOMED));
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(waiting::WaitFor([&] { return !IsWindow(popup) && dialogs::Focused(save) == box; }));
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(waiting::WaitFor([&] { return SaveDialogOf(peerix.Pid()) == nullptr; }));
    ASSERT_TRUE(peerix.Close());
}
