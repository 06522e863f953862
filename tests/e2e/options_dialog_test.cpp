// The Options dialog of the real Peerix.exe, opened and filled in with the keyboard and mouse.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

const char* const kInvalidUpdate = "Invalid update specified.\nA valid update should be between 1 and 50.";

class OptionsDialog : public PeerixTest {
protected:
    void SetUp() override {
        PeerixTest::SetUp();
        WriteRect("WindowPos", 560, 120, 560 + 400, 120 + 300);
        ASSERT_TRUE(Start());
    }

    // Ctrl+O on the main window; the dialog, or null.
    HWND Open() {
        input::Focus(peerix.Window());
        return dialogs::PressForDialog(peerix.Pid(), "Options", 'O', {VK_CONTROL});
    }

    // OK with the Enter key, which the default button takes.
    void PressOk() { input::Press(VK_RETURN); }

    // The error box owned by the dialog, or null when none appears in time.
    HWND WaitForErrorBox(HWND dialog, int timeoutMs = 5000) {
        HWND box = nullptr;
        waiting::WaitFor(
            [&] {
                box = dialogs::Find(peerix.Pid(), "Peerix");
                return box && GetWindow(box, GW_OWNER) == dialog;
            },
            timeoutMs);
        return box && GetWindow(box, GW_OWNER) == dialog ? box : nullptr;
    }

    // Closes Peerix and checks the three rates' intervals (ms) that it stored.
    void ExpectStoredAtExit(DWORD update1, DWORD update2, DWORD update3) {
        ASSERT_TRUE(peerix.Close());
        EXPECT_EQ(ReadValue("Update1").AsDword(), update1);
        EXPECT_EQ(ReadValue("Update2").AsDword(), update2);
        EXPECT_EQ(ReadValue("Update3").AsDword(), update3);
    }
};

}  // namespace

TEST_F(OptionsDialog, CtrlOOpensCentredWithTheDefaultsAndCancelOrEscapeChangeNothing) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), peerix.Window());
    const POINT centred = dialogs::CentredOrigin(peerix.Window(), dialog);
    EXPECT_EQ(dialogs::Rect(dialog).left, centred.x);
    EXPECT_EQ(dialogs::Rect(dialog).top, centred.y);
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_SLOW), "1");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_MEDIUM), "10");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_FAST), "20");
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SHOW_CURSOR), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SINGLE_INSTANCE), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RGB), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_HEX), BST_UNCHECKED);
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_RGB), "&RGB");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_SHOW_CURSOR), "Show mouse &cursor\nwhen following");

    // Change everything, then Cancel with a real click: nothing is stored, and the dialog shows
    // the old values again.
    dialogs::TypeInto(GetDlgItem(dialog, IDC_SLOW), "7");
    dialogs::TypeInto(GetDlgItem(dialog, IDC_FAST), "33");
    const POINT single = dialogs::Centre(GetDlgItem(dialog, IDC_SINGLE_INSTANCE));
    input::LeftClick(single.x, single.y);
    const POINT hex = dialogs::Centre(GetDlgItem(dialog, IDC_HEX));
    input::LeftClick(hex.x, hex.y);
    ASSERT_TRUE(waiting::WaitFor([&] { return IsDlgButtonChecked(dialog, IDC_HEX) == BST_CHECKED; }));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SINGLE_INSTANCE), BST_CHECKED);
    const POINT cancel = dialogs::Centre(GetDlgItem(dialog, IDCANCEL));
    input::LeftClick(cancel.x, cancel.y);
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    EXPECT_FALSE(ReadValue("Update1").exists);
    EXPECT_FALSE(ReadValue("SingleInstance").exists);

    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_SLOW), "1");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_FAST), "20");
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SINGLE_INSTANCE), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RGB), BST_CHECKED);
    dialogs::TypeInto(GetDlgItem(dialog, IDC_MEDIUM), "44");
    input::Press(VK_ESCAPE);
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    EXPECT_FALSE(ReadValue("Update2").exists);

    ExpectStoredAtExit(1000, 100, 50);
    EXPECT_EQ(ReadValue("SingleInstance").AsDword(), 0u);
    EXPECT_EQ(ReadValue("DisplayRGBColourPanel").AsDword(), 1u);
}

TEST_F(OptionsDialog, OkWritesTheSettingsAtOnceAndTheDialogShowsThemAgain) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    dialogs::TypeInto(GetDlgItem(dialog, IDC_SLOW), "3");
    dialogs::TypeInto(GetDlgItem(dialog, IDC_MEDIUM), "36");
    dialogs::TypeInto(GetDlgItem(dialog, IDC_FAST), "49");
    const POINT cursor = dialogs::Centre(GetDlgItem(dialog, IDC_SHOW_CURSOR));
    input::LeftClick(cursor.x, cursor.y);
    ASSERT_TRUE(waiting::WaitFor([&] { return IsDlgButtonChecked(dialog, IDC_SHOW_CURSOR) == BST_UNCHECKED; }));
    const POINT decimal = dialogs::Centre(GetDlgItem(dialog, IDC_COPY_DECIMAL));
    input::LeftClick(decimal.x, decimal.y);
    ASSERT_TRUE(waiting::WaitFor([&] { return IsDlgButtonChecked(dialog, IDC_COPY_DECIMAL) == BST_CHECKED; }));
    PressOk();
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    // Written while the program still runs, not only when it ends.
    EXPECT_TRUE(waiting::WaitFor([] { return ReadValue("Update1").AsDword() == 333u; }));
    EXPECT_EQ(ReadValue("Update2").AsDword(), 27u);
    EXPECT_EQ(ReadValue("Update3").AsDword(), 20u);
    EXPECT_EQ(ReadValue("DisplayMouseWhenFollowing").AsDword(), 0u);
    EXPECT_EQ(ReadValue("SingleInstance").AsDword(), 0u);
    EXPECT_EQ(ReadValue("DisplayRGBColourPanel").AsDword(), 1u);
    EXPECT_EQ(ReadValue("ColourCopyFormat").AsDword(), 2u);
    EXPECT_TRUE(peerix.Running());

    // 3 comes back as 3; 36 and 49 were truncated on the way in and show as 37 and 50.
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_SLOW), "3");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_MEDIUM), "37");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_FAST), "50");
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SHOW_CURSOR), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_COPY_DECIMAL), BST_CHECKED);
    // OK with nothing changed rewrites the intervals through what is shown: 27 ms becomes 27.
    const POINT ok = dialogs::Centre(GetDlgItem(dialog, IDOK));
    input::LeftClick(ok.x, ok.y);
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    EXPECT_TRUE(waiting::WaitFor([] { return ReadValue("Update2").AsDword() == 27u; }));
    EXPECT_EQ(ReadValue("Update1").AsDword(), 333u);
    EXPECT_EQ(ReadValue("Update3").AsDword(), 20u);
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("Update1").AsDword(), 333u);
}

TEST_F(OptionsDialog, IntervalsFromAHandEditedRegistryReachTheDialogInRange) {
    // 0 would be divided by; the load brings every interval into 20..1000 ms first.
    ASSERT_TRUE(peerix.Close());
    WriteDword("Update1", 0);
    WriteDword("Update2", 5000);
    WriteDword("Update3", static_cast<DWORD>(-7));
    PeerixProcess edited;
    ASSERT_TRUE(edited.Start());
    ASSERT_TRUE(input::Focus(edited.Window()));
    HWND dialog = dialogs::PressForDialog(edited.Pid(), "Options", 'O', {VK_CONTROL});
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_SLOW), "50");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_MEDIUM), "1");
    EXPECT_EQ(dialogs::ItemText(dialog, IDC_FAST), "50");
    PressOk();
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    EXPECT_TRUE(waiting::WaitFor([] { return ReadValue("Update1").AsDword() == 20u; }));
    EXPECT_EQ(ReadValue("Update2").AsDword(), 1000u);
    EXPECT_EQ(ReadValue("Update3").AsDword(), 20u);
    ASSERT_TRUE(edited.Close());
}

TEST_F(OptionsDialog, InvalidRatesShowTheErrorPutTheFocusBackAndStoreNothing) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const struct {
        int field;
        const char* text;
    } cases[] = {{IDC_SLOW, "0"},     {IDC_SLOW, "51"}, {IDC_SLOW, "-5"},  {IDC_MEDIUM, "abc"},
                 {IDC_MEDIUM, "1e3"}, {IDC_FAST, ""},   {IDC_FAST, "1000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("field ") + std::to_string(c.field) + " \"" + c.text + "\"");
        HWND field = GetDlgItem(dialog, c.field);
        dialogs::TypeInto(field, c.text);
        PressOk();
        HWND box = WaitForErrorBox(dialog);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(dialogs::MessageBoxText(box), kInvalidUpdate);
        EXPECT_EQ(dialogs::Text(box), "Peerix");
        input::Press(VK_RETURN);
        ASSERT_TRUE(dialogs::WaitGone(box));
        EXPECT_TRUE(waiting::WaitFor([&] { return dialogs::Focused(dialog) == field; })) << "focus back on the field";
        EXPECT_EQ(dialogs::Text(field), c.text) << "the text stays as typed";
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_FALSE(ReadValue("Update1").exists);
        dialogs::TypeInto(field, "5");
    }

    // Two invalid fields: only the first one's error, and the focus goes there.
    HWND slow = GetDlgItem(dialog, IDC_SLOW), fast = GetDlgItem(dialog, IDC_FAST);
    dialogs::TypeInto(fast, "99");
    dialogs::TypeInto(slow, "0");
    PressOk();
    HWND box = WaitForErrorBox(dialog);
    ASSERT_NE(box, nullptr);
    input::Press(VK_RETURN);
    ASSERT_TRUE(dialogs::WaitGone(box));
    EXPECT_TRUE(waiting::WaitFor([&] { return dialogs::Focused(dialog) == slow; }));
    // The dialog has finished with OK once it answers a message; a second box would be up by then.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    EXPECT_EQ(WaitForErrorBox(dialog, 300), nullptr) << "a second error box for the Fast field";
    EXPECT_EQ(dialogs::Focused(dialog), slow);

    input::Press(VK_ESCAPE);
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    ExpectStoredAtExit(1000, 100, 50);
}

TEST_F(OptionsDialog, SpinArrowsAndArrowKeysStepWithinOneToFifty) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    HWND slow = GetDlgItem(dialog, IDC_SLOW), spin = GetDlgItem(dialog, IDC_SLOW_SPIN);
    const RECT r = dialogs::Rect(spin);
    const int x = (r.left + r.right) / 2;
    const POINT up = {x, r.top + (r.bottom - r.top) / 4}, down = {x, r.bottom - (r.bottom - r.top) / 4 - 1};
    auto shows = [&](HWND field, const char* text) {
        return waiting::WaitFor([&] { return dialogs::Text(field) == text; }, 2000);
    };
    // At the lower limit the down arrow does nothing; the up arrow counts up.
    input::LeftClick(down.x, down.y);
    input::LeftClick(up.x, up.y);
    EXPECT_TRUE(shows(slow, "2")) << dialogs::Text(slow);
    input::LeftClick(down.x, down.y);
    input::LeftClick(down.x, down.y);
    EXPECT_TRUE(shows(slow, "1")) << dialogs::Text(slow);
    // Typed values are where the arrows start from; 50 is the upper limit.
    dialogs::TypeInto(slow, "49");
    input::LeftClick(up.x, up.y);
    EXPECT_TRUE(shows(slow, "50")) << dialogs::Text(slow);
    input::LeftClick(up.x, up.y);
    input::LeftClick(down.x, down.y);
    EXPECT_TRUE(shows(slow, "49")) << dialogs::Text(slow);

    // The arrow keys in a field step it the same way.
    HWND medium = GetDlgItem(dialog, IDC_MEDIUM);
    dialogs::TypeInto(medium, "10");
    input::Press(VK_UP);
    EXPECT_TRUE(shows(medium, "11")) << dialogs::Text(medium);
    input::Press(VK_DOWN);
    input::Press(VK_DOWN);
    EXPECT_TRUE(shows(medium, "9")) << dialogs::Text(medium);

    input::Press(VK_ESCAPE);
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    EXPECT_FALSE(ReadValue("Update1").exists);
}

TEST_F(OptionsDialog, HexadecimalTakesEffectWhenTheColourUnderTheCursorNextChanges) {
    pixels::PatternWindow pattern(RECT{20, 20, 260, 260});
    ASSERT_TRUE(pattern.WaitUntilShown());
    HWND status = chrome.statusBar;
    ASSERT_NE(status, nullptr);
    auto statusShows = [&](const std::string& text, int timeoutMs = 3000) {
        return waiting::WaitFor([&] { return remote::StatusText(status, 1) == text; }, timeoutMs);
    };
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    // The status bar keeps reading the screen while the dialog is open.
    input::MoveTo(100, 90);
    const COLORREF first = pixels::PatternColour(100, 90);
    ASSERT_TRUE(statusShows(RgbText(first))) << remote::StatusText(status, 1);
    // The focus starts on the checked radio button; Down moves to Hexadecimal and checks it.
    ASSERT_EQ(dialogs::Focused(dialog), GetDlgItem(dialog, IDC_RGB));
    input::Press(VK_DOWN);
    ASSERT_TRUE(waiting::WaitFor([&] { return IsDlgButtonChecked(dialog, IDC_HEX) == BST_CHECKED; }));
    PressOk();
    ASSERT_TRUE(dialogs::WaitGone(dialog));
    EXPECT_TRUE(waiting::WaitFor([] { return ReadValue("DisplayRGBColourPanel").AsDword() == 0u; }));
    // The text is rewritten only when the colour under the cursor changes: move to other pixels.
    input::MoveTo(141, 187);
    const COLORREF second = pixels::PatternColour(141, 187);
    EXPECT_TRUE(statusShows(HexText(second))) << remote::StatusText(status, 1) << " wanted " << HexText(second);
    input::MoveTo(100, 90);
    EXPECT_TRUE(statusShows(HexText(first))) << remote::StatusText(status, 1) << " wanted " << HexText(first);
}
