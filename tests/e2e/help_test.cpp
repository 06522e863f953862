// Help from outside. A stand-in window of WinHelp's class in this process receives what Peerix
// asks of WinHelp (F1, the Help command, closing); with no stand-in, Wine's own viewer opens the
// built Peerix.hlp beside the program, at start once for a new file, and closes with Peerix.
// (Wine's WinHelp passes on neither HELP_WM_HELP nor HELP_CONTEXTMENU, so What's This and the
// dialogs' control help are checked by the component tests.)
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/support/input.h"
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

bool ViewerShowsTheMainTopic() {
    const std::string text = MainTopicText(BuiltFile());
    return waiting::WaitFor([&] { return ViewerShowing(text).window != nullptr; }, 15000);
}

// Waits for the viewer's "Cannot find" box, returns the path it names and answers it with No.
std::string AnswerCannotFind() {
    HelpBox box;
    if (!waiting::WaitFor([&] { return (box = FindBox("ERROR")).window != nullptr; }, 15000)) return "(no box)";
    const std::string path = PathInCannotFind(box.text);
    input::FocusForKeys(box.window);
    input::Press('N');
    if (!waiting::WaitFor([&] { return FindBox("ERROR").window == nullptr; }, 5000)) return "(box stays)";
    return path.empty() ? "(box says: " + box.text + ")" : path;
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

TEST_F(Help, WinesViewerShowsTheMainTopicForF1AndHelpAndClosesWithPeerix) {
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

TEST_F(Help, TheBuiltFileOpensItsMainTopicOnceAtTheFirstStart) {
    WIN32_FILE_ATTRIBUTE_DATA attributes = {};
    ASSERT_TRUE(GetFileAttributesExA(BuiltFile().c_str(), GetFileExInfoStandard, &attributes));
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

TEST_F(Help, AHelpFileOnlyInTheCurrentFolderOpensNothing) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "peerix-elsewhere";
    CreateDirectoryA(folder.c_str(), nullptr);
    {
        ScopedHelpFile none(BuiltFile());  // nothing beside the program for this test
        ScopedHelpFile elsewhere(folder + "\\Peerix.hlp", 133100000000000000ull);
        const DWORD never[2] = {0, 0};
        WriteBinary("HelpFileTime", never, sizeof never);
        ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, true, folder.c_str()));
        EXPECT_EQ(FindBox("ERROR").window, nullptr);
        EXPECT_TRUE(HelpViewerWindows().empty());
        // F1 still asks for the file beside the program, by its bare name under Wine.
        ASSERT_TRUE(input::FocusForKeys(peerix.Window()));
        input::Press(VK_F1);
        EXPECT_EQ(AnswerCannotFind(), BuiltFile());
        ASSERT_TRUE(peerix.Close());
        EXPECT_EQ(ReadValue("HelpFileTime").At(0), 0);
        EXPECT_EQ(ReadValue("HelpFileTime").At(1), 0);
    }
    RemoveDirectoryA(folder.c_str());
}
