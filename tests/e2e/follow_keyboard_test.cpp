// Follow Keyboard as a user meets it: typing in Wine's Notepad carries the view along, the mouse
// and the keyboard take turns, a focus moving between two buttons takes the view there, and the
// setting stays.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/view.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

constexpr int kZoom = 2;

// Whether the view shows the live screen magnified around point, leaving out the screen pixels
// in skip (a blinking caret).
bool ShowsScreenAround(HWND peerix, POINT point, const RECT& skip) {
    const RECT view = ViewOnScreen(peerix);
    const POINT o = SourceOrigin(view, kZoom, point);
    const int w = view.right - view.left, h = view.bottom - view.top;
    const pixels::Capture shown = pixels::CaptureScreen(view);
    const pixels::Capture source = pixels::CaptureScreen(RECT{o.x, o.y, o.x + (w + 1) / kZoom, o.y + (h + 1) / kZoom});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const POINT s = {o.x + x / kZoom, o.y + y / kZoom};
            if (!PtInRect(&skip, s) && shown.At(view.left + x, view.top + y) != source.At(s.x, s.y)) return false;
        }
    return true;
}

// Where a program's text cursor is followed to, asked from outside as Peerix asks; the caret's
// own pixels, which blink, in *caret.
POINT CaretSpotOf(HWND window, RECT* caret) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    *caret = info.rcCaret;
    MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(caret), 2);
    InflateRect(caret, 2, 1);
    return POINT{caret->left + 2, caret->top + 1 + (caret->bottom - caret->top - 2) / 2};
}

// Wine's Notepad, ended however the test ends: a Notepad left running would hold the test
// runner's output open, and the runner would wait for it.
struct Notepad {
    PROCESS_INFORMATION info = {};
    bool Start() {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        char command[] = "notepad.exe";
        return CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info) != 0;
    }
    ~Notepad() {
        if (!info.hProcess) return;
        TerminateProcess(info.hProcess, 0);  // "Save changes?" is not this test's business
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0) << "Notepad did not end";
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
};

class FollowKeyboard : public PeerixTest {
protected:
    // Peerix right of where the followed windows go, refreshing Fast so that the view keeps up
    // with what they draw, the cursor not drawn into it.
    bool StartWith(bool mouse, bool keyboard) {
        WriteStartSettings(false, false, kZoom, POINT{0, 0}, RECT{560, 100, 1000, 520});
        WriteDword("DisplayMouseWhenFollowing", 0);
        WriteDword("Update", 4);
        WriteDword("MouseTracking", mouse);
        WriteDword("FollowKeyboard", keyboard);
        return Start();
    }

    bool FollowedTo(POINT point, const RECT& skip = RECT{}) {
        return waiting::WaitFor([&] { return ShowsScreenAround(window, point, skip); }, 5000, 50);
    }
};

}  // namespace

TEST_F(FollowKeyboard, TypingInNotepadCarriesTheViewAlongAndTheMouseAndTheKeyboardTakeTurns) {
    // The pointer starts clear of both windows, wherever an earlier test left it: the move to
    // (400, 380) below must be a move.
    input::MoveTo(540, 600);
    // Turned on with its key (Peerix's own focus is not followed), then kept at exit.
    ASSERT_TRUE(StartWith(true, false));
    input::Press('F', {VK_CONTROL});

    Notepad notepad;
    ASSERT_TRUE(notepad.Start());
    HWND editor = nullptr;
    ASSERT_TRUE(waiting::WaitFor(
        [&] { return (editor = VisibleWindowOfClass("Notepad", notepad.info.dwProcessId)) != nullptr; }, 10000));
    // Away from the screen's edges: there the view's source is clamped, and views of two caret
    // spots a character apart would look the same.
    SetWindowPos(editor, nullptr, 110, 110, 440, 300, SWP_NOZORDER);
    ASSERT_TRUE(input::FocusForKeys(editor));
    RECT caret;
    for (const char* line : {"first line", "second"}) {
        input::Type(line);
        EXPECT_TRUE(FollowedTo(CaretSpotOf(editor, &caret), caret)) << "after typing " << line;
        input::Press(VK_RETURN);
    }
    input::Type("abc");  // along the line
    EXPECT_TRUE(FollowedTo(CaretSpotOf(editor, &caret), caret));
    // The mouse moves last: the view goes to the pointer; then typing takes it back.
    input::MoveTo(400, 380);
    EXPECT_TRUE(FollowedTo(POINT{400, 380}));
    input::Type("d");
    EXPECT_TRUE(FollowedTo(CaretSpotOf(editor, &caret), caret));

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("FollowKeyboard").AsDword(), 1u);
}

TEST_F(FollowKeyboard, AFocusMovingBetweenTwoButtonsTakesTheViewToEach) {
    ASSERT_TRUE(StartWith(false, true));
    HWND form = CreateWindowExA(0, "#32770", "form", WS_POPUP | WS_VISIBLE | WS_CAPTION, 20, 20, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
    HWND buttons[2];
    for (int i = 0; i < 2; ++i)
        buttons[i] = CreateWindowExA(0, "BUTTON", i ? "Second" : "First", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                                     30 + 150 * i, 60 + 90 * i, 100, 30, form, nullptr, nullptr, nullptr);
    ASSERT_TRUE(input::FocusForKeys(form));
    for (HWND button : buttons) {
        SetFocus(button);  // as Tab does
        RECT r;
        GetWindowRect(button, &r);
        EXPECT_TRUE(FollowedTo(POINT{r.left, r.top + (r.bottom - r.top) / 2}));
    }
    DestroyWindow(form);
}
