// The general context menu: opened by a right click without a drag, by an empty selection, by
// Shift+F10 and by the Menu key, with the check marks of the current settings.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/menu_capture.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/size_tip.h"
#include "tests/e2e/support/sync.h"
#include "tests/e2e/support/view.h"
#include "tests/e2e/support/view_check.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;
using namespace pixels;

namespace {

struct Marks {
    bool alwaysOnTop, follow, toolbar, statusBar;
    int zoom;
};

std::vector<ItemState> StatesOf(const Marks& m, const std::string& colourItem) {
    return {{ID_ALWAYS_ON_TOP, m.alwaysOnTop, false},  {ID_FOLLOW_MOUSE, m.follow, false},
            {ID_TOGGLE_TOOLBAR, m.toolbar, false},     {ID_TOGGLE_STATUSBAR, m.statusBar, false},
            {ID_ZOOM_2X, m.zoom == 2, false},          {ID_ZOOM_4X, m.zoom == 4, false},
            {ID_COPY_COLOUR, false, false, colourItem}};
}

// The menu's first item for a right click at `at` in the view of a window showing `point`: the
// colour of the screen pixel magnified there, read before the menu can cover anything.
std::string ColourItemFor(HWND window, int zoom, POINT point, POINT at) {
    const RECT view = ViewOnScreen(window);
    const POINT origin = SourceOrigin(view, zoom, point);
    const int x = origin.x + (at.x - view.left) / zoom, y = origin.y + (at.y - view.top) / zoom;
    const COLORREF c = CaptureScreen(RECT{x, y, x + 1, y + 1}).At(x, y);
    return "Copy &Colour " + HashText(c) + "\tCtrl+K";
}

std::vector<ItemState> Flipped(std::vector<ItemState> states) {
    for (ItemState& s : states) s.checked = !s.checked;
    return states;
}

class ContextMenu : public PeerixTest {
protected:
    // Starts Peerix with these marks, showing (300, 300), with the keyboard focus.
    void StartWith(const Marks& m) {
        WriteStartSettings(m.toolbar, m.statusBar, m.zoom, POINT{300, 300}, RECT{480, 90, 900, 460});
        WriteDword("AlwaysOnTop", m.alwaysOnTop);
        WriteDword("MouseTracking", m.follow);
        ASSERT_TRUE(Start());
        client = POINT{0, 0};
        ClientToScreen(window, &client);
    }

    // Escape closes the menu, and the window leaves its menu loop.
    void Dismiss() {
        input::Press(VK_ESCAPE);
        EXPECT_TRUE(WaitForNoMenu());
        const DWORD thread = GetWindowThreadProcessId(window, nullptr);
        EXPECT_TRUE(waiting::WaitFor([&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && !(info.flags & GUI_INMENUMODE);
        }));
    }

    // Shows the menu as this process draws the resource with the expected marks, and with every
    // mark the other way round: Peerix's menu must look like the first and not the second.
    void ExpectGeneralMenu(const Capture& shown, POINT at, const Marks& m, const std::string& colourItem) {
        EXPECT_EQ(CompareCaptures(shown, ReferenceMenu(0, StatesOf(m, colourItem), at)), "");
        EXPECT_NE(CompareCaptures(shown, ReferenceMenu(0, Flipped(StatesOf(m, colourItem)), at)), "");
    }

    POINT client = {};
};

}  // namespace

TEST(ContextMenuResource, BothPopupsHoldTheirItemsInOrder) {
    PeerixMenu menu;
    const std::vector<std::string> general = {"Copy &Colour\tCtrl+K",
                                              "-",
                                              "&Always on Top\tCtrl+T",
                                              "&Follow Mouse\tCtrl+M",
                                              "Follow &Keyboard\tCtrl+F",
                                              "-",
                                              "H&ighlight",
                                              "-",
                                              "&2x Zoom",
                                              "&4x Zoom",
                                              "-",
                                              "&Toolbar",
                                              "&Status Bar",
                                              "Pixel &Grid\tCtrl+G",
                                              "-",
                                              "&Options...\tCtrl+O",
                                              "-",
                                              "&Help\tF1",
                                              "-",
                                              "About &Peerix",
                                              "-",
                                              "&What's This?"};
    const std::vector<std::string> selection = {
        "Copy &Original Size", "Copy &Zoomed Size", "-", "Zoom &To", "-", "&Save to File...", "-", "&Cancel"};
    EXPECT_EQ(menu.Texts(0), general);
    EXPECT_EQ(menu.Texts(1), selection);
    const UINT ids[] = {ID_COPY_COLOUR, ID_ALWAYS_ON_TOP, ID_FOLLOW_MOUSE,   ID_FOLLOW_KEYBOARD,  ID_HIGHLIGHT,
                        ID_ZOOM_2X,     ID_ZOOM_4X,       ID_TOGGLE_TOOLBAR, ID_TOGGLE_STATUSBAR, ID_PIXEL_GRID,
                        ID_OPTIONS,     ID_HELP,          ID_ABOUT,          ID_WHATS_THIS};
    std::vector<UINT> shown;
    for (int i = 0; i < GetMenuItemCount(menu.Popup(0)); ++i)
        if (GetMenuItemID(menu.Popup(0), i) != 0) shown.push_back(GetMenuItemID(menu.Popup(0), i));
    EXPECT_EQ(shown, std::vector<UINT>(std::begin(ids), std::end(ids)));
    const UINT selectionIds[] = {ID_SEL_COPY_ORIGINAL, ID_SEL_COPY_ZOOMED, ID_SEL_ZOOM_TO, ID_SEL_SAVE, ID_SEL_CANCEL};
    shown.clear();
    for (int i = 0; i < GetMenuItemCount(menu.Popup(1)); ++i)
        if (GetMenuItemID(menu.Popup(1), i) != 0) shown.push_back(GetMenuItemID(menu.Popup(1), i));
    EXPECT_EQ(shown, std::vector<UINT>(std::begin(selectionIds), std::end(selectionIds)));
}

TEST_F(ContextMenu, RightClickWithoutMovingShowsTheCurrentSettings) {
    const Marks configurations[] = {{true, false, true, false, 4}, {false, true, false, true, 2}};
    for (const Marks& m : configurations) {
        ASSERT_NO_FATAL_FAILURE(StartWith(m));
        const POINT click = {client.x + 60, client.y + 80};  // in the view, below any band
        const std::string colourItem = ColourItemFor(window, m.zoom, POINT{300, 300}, click);
        input::RightClick(click.x, click.y);
        const HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr);
        // No frame, no tip: the menu opens at the click point.
        EXPECT_EQ(ShownSizeTip(peerix.Pid()), nullptr);
        const RECT r = dialogs::Rect(menu);
        EXPECT_EQ(r.left, click.x);
        EXPECT_EQ(r.top, click.y);
        const Capture shown = SettledCapture(menu);
        SaveShot(m.alwaysOnTop ? "general-menu-1" : "general-menu-2",
                 RECT{r.left - 70, r.top - 50, r.right + 4, r.bottom + 4});
        Dismiss();
        ExpectGeneralMenu(shown, POINT{r.left, r.top}, m, colourItem);
        ASSERT_TRUE(peerix.Close());
        // Nothing was chosen, so nothing changed.
        EXPECT_EQ(ReadValue("AlwaysOnTop").AsDword(), m.alwaysOnTop ? 1u : 0u);
        EXPECT_EQ(ReadValue("ZoomFactor").AsDword(), static_cast<DWORD>(m.zoom));
    }
}

TEST_F(ContextMenu, ASelectionWithinOneMagnifiedColumnIsEmptyAndOpensTheGeneralMenu) {
    PatternWindow pattern(RECT{100, 100, 460, 460});
    ASSERT_TRUE(pattern.WaitUntilShown());
    const Marks m = {false, false, false, true, 3};  // the status bar shows the timer's ticks
    ASSERT_NO_FATAL_FAILURE(StartWith(m));
    const RECT bar = dialogs::Rect(chrome.statusBar);
    const ExpectedView view = ViewOf(window, 3, POINT{300, 300}, 0, bar.bottom - bar.top);
    std::string diff;
    ASSERT_TRUE(WaitForView(view, nullptr, {}, &diff)) << diff;
    // Columns 10 and 11 lie in the same magnified pixel: the selection has a height but no width.
    const std::string colourItem = ColourItemFor(window, 3, POINT{300, 300}, POINT{client.x + 11, client.y + 90});
    input::MoveTo(client.x + 10, client.y + 40);
    input::RightDown();
    input::MoveTo(client.x + 11, client.y + 70);
    input::MoveTo(client.x + 11, client.y + 90);
    EXPECT_EQ(CheckTip(peerix.Pid(), POINT{client.x + 4, client.y + 34}, "Selected size 0x17"), "");
    input::RightUp();
    const HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(ShownSizeTip(peerix.Pid()), nullptr);
    const RECT r = dialogs::Rect(menu);
    EXPECT_EQ(r.left, client.x + 11);
    EXPECT_EQ(r.top, client.y + 90);
    // No ants: the view shows the picture alone around the menu, also after two or three steps of
    // the 100 ms timer that would draw them.
    EXPECT_TRUE(WaitForView(view, nullptr, {r}, &diff)) << diff;
    POINT at;
    GetCursorPos(&at);
    ASSERT_TRUE(TickSeenAt(window, POINT{at.x + 1, at.y}));
    ASSERT_TRUE(TickSeenAt(window, POINT{at.x + 2, at.y}));
    EXPECT_EQ(CompareView(view, nullptr, {r}), "");
    const Capture shown = SettledCapture(menu);
    Dismiss();
    ExpectGeneralMenu(shown, POINT{r.left, r.top}, m, colourItem);
}

TEST_F(ContextMenu, ShiftF10AndTheMenuKeyOpenItAtTheViewsCorner) {
    PatternWindow pattern(RECT{100, 100, 460, 460});
    ASSERT_TRUE(pattern.WaitUntilShown());
    const Marks m = {false, false, true, false, 3};
    ASSERT_NO_FATAL_FAILURE(StartWith(m));
    // The view's corner: where its picture starts below the band, which is where the band's
    // height puts the view.
    const int top = WaitForPictureTop(window, 3, POINT{300, 300}, pattern.Area(), 1);
    ASSERT_GT(top, 0);
    const RECT view = ViewOnScreen(window);
    EXPECT_EQ(view.left, client.x);
    EXPECT_EQ(view.top, client.y + top);
    for (WORD key : {static_cast<WORD>(VK_F10), static_cast<WORD>(VK_APPS)}) {
        if (key == VK_F10)
            input::Press(VK_F10, {VK_SHIFT});
        else
            input::Press(VK_APPS);
        const HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr) << key;
        const RECT r = dialogs::Rect(menu);
        EXPECT_EQ(r.left, client.x) << key;
        EXPECT_EQ(r.top, client.y + top) << key;
        Dismiss();
    }
}
