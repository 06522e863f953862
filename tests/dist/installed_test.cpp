// The released Peerix.exe as a user gets it: unpacked from its zip into a folder of their choice,
// started from there on a system that has never seen it, magnifying, and closed again. Run by
// scripts/dist_test.sh with PEERIX_INSTALLED_EXE naming the unpacked program, in a fresh prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/view.h"
#include "tests/e2e/support/view_check.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(Installed, UnpackedProgramStartsFreshMagnifiesAndExitsCleanly) {
    const char* exe = std::getenv("PEERIX_INSTALLED_EXE");
    ASSERT_TRUE(exe && *exe) << "PEERIX_INSTALLED_EXE names the unpacked Peerix.exe";
    const std::string program = exe;
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    ASSERT_TRUE(FileExists(program)) << program;
    ASSERT_NE(folder.find(' '), std::string::npos) << "the folder should have a space: " << folder;
    // Never started on this system: no settings yet.
    ASSERT_FALSE(ReadValue("ZoomFactor").exists);

    // Something known to magnify under the default point of interest (the screen's top-left).
    pixels::PatternWindow pattern(RECT{0, 0, 400, 300});
    ASSERT_TRUE(pattern.WaitUntilShown());

    PeerixProcess peerix;
    const bool hasHelp = FileExists(folder + "\\Peerix.hlp");
    ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, !hasHelp, folder.c_str(), program.c_str()));
    if (hasHelp) {
        // A first start opens the help file that came with the program, found beside it: its main
        // topic in the help viewer, and no "Cannot find" box.
        ASSERT_TRUE(waiting::WaitFor([] { return !HelpViewerWindows().empty(); }, 15000));
        EXPECT_EQ(FindBox("ERROR").window, nullptr);
        // The viewer may open over the pattern: move it out of the way, below everything else.
        for (const ViewerWindow& viewer : HelpViewerWindows())
            SetWindowPos(viewer.window, HWND_BOTTOM, 420, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_TRUE(waiting::WaitFor([&] { return peerix.FindMainWindow() != nullptr; }, 15000));
    }
    HWND window = peerix.FindMainWindow();
    ASSERT_NE(window, nullptr);

    // A first start opens at the system's default place, which may lie over the magnified area:
    // move it away, let the pattern show again where it was, then have the view painted anew.
    ASSERT_TRUE(SetWindowPos(window, nullptr, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(pattern.WaitUntilShown());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    const std::string diff = WaitForView(window, 3, POINT{0, 0});
    EXPECT_TRUE(diff.empty()) << diff;
    RECT shown;
    GetWindowRect(window, &shown);
    SaveShot("installed", shown);

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(peerix.ExitCode(), 0u);
    if (hasHelp) {
        EXPECT_TRUE(waiting::WaitFor([] { return HelpViewerWindows().empty(); }, 10000)) << "closing closes help too";
    }
    // It kept its settings in the registry, where the README says, and nothing beside itself.
    EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), 3u);
    const RegValue place = ReadValue("WindowPos");
    EXPECT_EQ(place.At(0), 500);
    EXPECT_EQ(place.At(1), 400);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int files = 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(files, hasHelp ? 3 : 2) << "Peerix.exe, README.txt and the help file when there is one";
}
