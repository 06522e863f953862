// The built Peerix.hlp read by an independent reader: Wine's help viewer opens it at its main
// topic, at numeric ids and, by context name, in the "NormWin" window the file defines.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "chrome/help.h"
#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/support/hlp_reader.h"
#include "tests/support/wait.h"

namespace {

std::string BuiltFile() {
    return e2e::ProgramFolder() + "Peerix.hlp";
}

bool NoViewerLeft() {
    return waiting::WaitFor([] { return e2e::HelpViewerWindows().empty(); }, 10000);
}

}  // namespace

TEST(HelpPath, ThePathKeepsTheNormWinWindowOnWindowsAndLeavesItOutUnderWine) {
    EXPECT_TRUE(RunningUnderWine());
    char path[520];
    GetHelpRequestPath(path, sizeof path, false);
    EXPECT_EQ(std::string(path), e2e::ProgramFolder() + "Peerix.hlp>NormWin");
    GetHelpRequestPath(path, sizeof path, true);
    EXPECT_EQ(std::string(path), e2e::ProgramFolder() + "Peerix.hlp");
}

TEST(HelpViewer, OpensTheMainTopicAndEachNumericIdsOwnTopic) {
    const hlp::File built(hlp::ReadWholeFile(BuiltFile()));
    ASSERT_TRUE(built.Valid()) << BuiltFile();
    const auto topics = built.Topics();
    const auto map = built.ContextMap();
    // The main topic, a trackbar, a toolbar button, an Options control and the save check box.
    for (const uint32_t id : {1u, 113u, 4009u, 0x808E03EBu, 2u}) {
        ASSERT_TRUE(map.count(id)) << id;
        const hlp::File::Topic* topic = built.TopicAt(topics, map.at(id));
        ASSERT_NE(topic, nullptr) << id;
        const std::string expected = hlp::Recognisable(*topic);
        ASSERT_TRUE(WinHelpA(nullptr, BuiltFile().c_str(), HELP_CONTEXT, id)) << id;
        e2e::ViewerWindow shown;
        EXPECT_TRUE(waiting::WaitFor([&] { return (shown = e2e::ViewerShowing(expected)).window != nullptr; }, 10000))
            << id << ": expected \"" << expected << "\", shown " << e2e::DescribeViewers();
        EXPECT_EQ(e2e::FindBox("ERROR").window, nullptr) << id;
    }
    EXPECT_TRUE(WinHelpA(nullptr, BuiltFile().c_str(), HELP_QUIT, 0));
    EXPECT_TRUE(NoViewerLeft());
}

TEST(HelpViewer, FullTopicsOpenByNameInTheNormWinWindowAtItsPlace) {
    const hlp::File built(hlp::ReadWholeFile(BuiltFile()));
    const auto topics = built.Topics();
    for (const char* name : {"main", "moving", "options"}) {
        uint32_t offset = 0;
        ASSERT_TRUE(built.OffsetOfHash(helpc::ContextHash(name), &offset)) << name;
        const hlp::File::Topic* topic = built.TopicAt(topics, offset);
        ASSERT_NE(topic, nullptr) << name;
        std::string command = std::string("winhlp32.exe -i ") + name + " \"" + BuiltFile() + ">NormWin\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(
            CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
        e2e::ViewerWindow shown;
        EXPECT_TRUE(waiting::WaitFor(
            [&] { return (shown = e2e::ViewerShowing(hlp::Recognisable(*topic))).window != nullptr; }, 10000))
            << name << ": shown " << e2e::DescribeViewers();
        // The window record's caption, and its place and size read as pixels.
        EXPECT_EQ(shown.caption, "Peerix Help") << name;
        EXPECT_EQ(shown.text.rfind(topic->title, 0), 0u) << name << ": " << shown.text.substr(0, 40);
        RECT r = {};
        GetWindowRect(shown.window, &r);
        EXPECT_EQ(r.left, 112) << name;
        EXPECT_EQ(r.top, 32) << name;
        EXPECT_EQ(r.right - r.left, 520) << name;
        EXPECT_EQ(r.bottom - r.top, 432) << name;
        if (shown.window) PostMessageA(shown.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 10000), WAIT_OBJECT_0) << name;
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
}
