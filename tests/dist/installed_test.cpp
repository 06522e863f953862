// The released Peerix.exe as a user gets it: unpacked from its zip into a folder of their choice,
// started from there on a system that has never seen it, magnifying, and closed again. Run by
// scripts/dist_test.sh with PEERIX_INSTALLED_EXE naming the unpacked program, in a fresh prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/support/dialogs.h"
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

// The pattern Peerix magnifies at its default point (the screen's top-left), where Peerix's window
// goes, and where the help viewer goes: the three apart, so that neither window can cover what
// the test reads, whatever their order on the screen.
const RECT kPatternArea = {0, 0, 400, 300};
const POINT kPeerixAt = {500, 400};
const RECT kViewerPlace = {420, 0, 1000, 380};

// Whether a help viewer window lies clear of both: right of the pattern and above Peerix.
bool Aside(HWND viewer) {
    const RECT r = dialogs::Rect(viewer);
    return r.left >= kPatternArea.right && r.bottom <= kPeerixAt.y;
}

// Puts every help viewer window at kViewerPlace, again whenever it is elsewhere, until all of
// them have stayed aside for half a second: the viewer lays its window out while it opens the
// file, so a single move can be undone. False when they do not stay.
bool ViewersKeptAside() {
    int steady = 0;
    return waiting::WaitFor(
        [&] {
            const std::vector<ViewerWindow> viewers = HelpViewerWindows();
            bool allAside = !viewers.empty();
            for (const ViewerWindow& v : viewers) {
                if (Aside(v.window)) continue;
                allAside = false;
                SetWindowPos(v.window, HWND_BOTTOM, kViewerPlace.left, kViewerPlace.top,
                             kViewerPlace.right - kViewerPlace.left, kViewerPlace.bottom - kViewerPlace.top,
                             SWP_NOACTIVATE);
            }
            steady = allAside ? steady + 1 : 0;
            return steady >= 10;
        },
        20000, 50);
}

// Where the help viewer's windows are, for a failure message.
std::string ViewerPlaces() {
    std::string places;
    for (const ViewerWindow& v : HelpViewerWindows()) {
        const RECT r = dialogs::Rect(v.window);
        places += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
                  std::to_string(r.bottom) + ") ";
    }
    return places.empty() ? "none" : places;
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
    pixels::PatternWindow pattern(kPatternArea);
    ASSERT_TRUE(pattern.WaitUntilShown());

    PeerixProcess peerix;
    const std::string helpFile = folder + "\\Peerix.hlp";
    const bool hasHelp = FileExists(helpFile);
    ASSERT_TRUE(peerix.Start(SW_SHOWNORMAL, !hasHelp, folder.c_str(), program.c_str()));
    if (hasHelp) {
        // A first start opens the help file that came with the program, found beside it: its main
        // topic in the help viewer, and no "Cannot find" box. Only once the topic is shown has
        // the viewer finished opening; then it goes out of the way and must stay there.
        const std::string mainTopic = MainTopicText(helpFile);
        ASSERT_TRUE(waiting::WaitFor([&] { return ViewerShowing(mainTopic).window != nullptr; }, 20000))
            << DescribeViewers();
        EXPECT_EQ(FindBox("ERROR").window, nullptr);
        ASSERT_TRUE(ViewersKeptAside()) << "the help viewer does not stay aside: " << ViewerPlaces();
        ASSERT_TRUE(waiting::WaitFor([&] { return peerix.FindMainWindow() != nullptr; }, 15000));
    } else {
        EXPECT_TRUE(HelpViewerWindows().empty()) << "no help file, yet " << DescribeViewers();
    }
    HWND window = peerix.FindMainWindow();
    ASSERT_NE(window, nullptr);

    // A first start opens at the system's default place, which may lie over the magnified area:
    // move it away, let the pattern show again where it was, then have the view painted anew.
    ASSERT_TRUE(
        SetWindowPos(window, nullptr, kPeerixAt.x, kPeerixAt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(waiting::WaitFor([&] {
        const RECT r = dialogs::Rect(window);
        return r.left == kPeerixAt.x && r.top == kPeerixAt.y;
    }));
    ASSERT_TRUE(pattern.WaitUntilShown());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    const std::string diff = WaitForView(window, 3, POINT{0, 0}, 0, 15000);
    EXPECT_TRUE(diff.empty()) << diff << "\nhelp viewer windows at " << ViewerPlaces();
    SaveShot("installed", dialogs::Rect(window));

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(peerix.ExitCode(), 0u);
    if (hasHelp) {
        EXPECT_TRUE(waiting::WaitFor([] { return HelpViewerWindows().empty(); }, 10000)) << "closing closes help too";
    }
    // It kept its settings in the registry, where the README says, and nothing beside itself.
    EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), 3u);
    const RegValue place = ReadValue("WindowPos");
    EXPECT_EQ(place.At(0), kPeerixAt.x);
    EXPECT_EQ(place.At(1), kPeerixAt.y);
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
