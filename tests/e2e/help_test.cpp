// Help from outside: F1, the Help command and a new help file at start ask WinHelp for the file
// beside the program in its "NormWin" window. Wine's viewer cannot open such a path and says so in
// a box that names it exactly, and the program waits until that box is answered.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

const std::string kHelpRequest = "Peerix.hlp>NormWin";

// Waits for the viewer's box, returns the path it names and answers it with No.
std::string AnswerCannotFind() {
    HelpBox box;
    if (!waiting::WaitFor([&] { return (box = FindBox("ERROR")).window != nullptr; }, 15000)) return "(no box)";
    const std::string path = PathInCannotFind(box.text);
    input::FocusForKeys(box.window);
    input::Press('N');
    if (!waiting::WaitFor([&] { return FindBox("ERROR").window == nullptr; }, 5000)) return "(box stays)";
    return path.empty() ? "(box says: " + box.text + ")" : path;
}

// A help file written for one test and removed again, whatever happens in between.
class HelpFile {
public:
    HelpFile(const std::string& path, ULONGLONG writeTime) : path(path) {
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(f, "?_", 2, &written, nullptr);
        const FILETIME t = {static_cast<DWORD>(writeTime), static_cast<DWORD>(writeTime >> 32)};
        SetFileTime(f, nullptr, nullptr, &t);
        CloseHandle(f);
    }
    ~HelpFile() { DeleteFileA(path.c_str()); }
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

private:
    std::string path;
};

class Help : public testing::Test {
protected:
    void SetUp() override {
        ResetSettings();
        WriteRect("WindowPos", 300, 150, 700, 450);
    }
    void TearDown() override { DeletePeerixKey(); }
};

}  // namespace

TEST_F(Help, F1AndTheHelpCommandAskForTheMainTopicBesideTheProgram) {
    PeerixProcess peerix;
    ASSERT_TRUE(peerix.Start());
    ASSERT_TRUE(input::FocusForKeys(peerix.Window()));
    input::Press(VK_F1);
    EXPECT_EQ(AnswerCannotFind(), ProgramFolder() + kHelpRequest);

    // "&Help" in the general menu.
    ASSERT_TRUE(input::FocusForKeys(peerix.Window()));
    RECT client = {};
    GetClientRect(peerix.Window(), &client);
    POINT p = {client.right / 2, client.bottom / 2};
    ClientToScreen(peerix.Window(), &p);
    input::RightClick(p.x, p.y);
    ASSERT_TRUE(waiting::WaitFor([&] { return ShownPopupMenu(peerix.Pid()) != nullptr; }));
    input::Press('H');
    EXPECT_EQ(AnswerCannotFind(), ProgramFolder() + kHelpRequest);
    EXPECT_EQ(ShownPopupMenu(peerix.Pid()), nullptr);
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(peerix.ExitCode(), 0u);
}

TEST_F(Help, ANewHelpFileBesideTheProgramOpensTheMainTopicOnceAtStart) {
    const ULONGLONG written = 133100000000000000ull;
    HelpFile beside(ProgramFolder() + "Peerix.hlp", written);
    const DWORD never[2] = {0, 0};
    WriteBinary("HelpFileTime", never, sizeof never);
    {
        // The check runs while the window is made, before it is shown; the start waits for help.
        PeerixProcess peerix;
        ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, false));
        EXPECT_EQ(AnswerCannotFind(), ProgramFolder() + kHelpRequest);
        ASSERT_TRUE(waiting::WaitFor([&] { return peerix.FindMainWindow() != nullptr; }, 10000));
        ASSERT_TRUE(peerix.Close());
    }
    const RegValue stored = ReadValue("HelpFileTime");
    EXPECT_EQ(static_cast<DWORD>(stored.At(0)), static_cast<DWORD>(written));
    EXPECT_EQ(static_cast<DWORD>(stored.At(1)), static_cast<DWORD>(written >> 32));

    // The same file at the next start: the window appears without a help request before it.
    {
        PeerixProcess peerix;
        ASSERT_TRUE(peerix.Start());
        EXPECT_EQ(FindBox("ERROR").window, nullptr);
        ASSERT_TRUE(peerix.Close());
    }
}

TEST_F(Help, AHelpFileOnlyInTheCurrentFolderOpensNothing) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "peerix-elsewhere";
    CreateDirectoryA(folder.c_str(), nullptr);
    {
        HelpFile elsewhere(folder + "\\Peerix.hlp", 133100000000000000ull);
        const DWORD never[2] = {0, 0};
        WriteBinary("HelpFileTime", never, sizeof never);
        PeerixProcess peerix;
        ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, true, folder.c_str()));
        EXPECT_EQ(FindBox("ERROR").window, nullptr);
        // F1 still asks for the file beside the program.
        ASSERT_TRUE(input::FocusForKeys(peerix.Window()));
        input::Press(VK_F1);
        EXPECT_EQ(AnswerCannotFind(), ProgramFolder() + kHelpRequest);
        ASSERT_TRUE(peerix.Close());
        EXPECT_EQ(ReadValue("HelpFileTime").At(0), 0);
        EXPECT_EQ(ReadValue("HelpFileTime").At(1), 0);
    }
    RemoveDirectoryA(folder.c_str());
}
