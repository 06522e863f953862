// Selections made over and over must give back every GDI and USER object they take: the frame's
// device contexts, the size tip's window, the ants' brushes, the loaded menu and its window.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/globals.h"
#include "app/settings.h"
#include "tests/support/handle_meter.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

namespace {

int menusClosed = 0;

// While the context menu is open: one ants step as the 100 ms timer draws it, then the menu is
// dismissed as a click elsewhere would.
void CALLBACK DismissMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !(info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE))) return;
    KillTimer(nullptr, timer);
    SendMessageA(mainWindow.hwnd, WM_TIMER, MainWindow::kHousekeepingTimer, 0);
    ++menusClosed;
    EndMenu();
}

void Send(UINT message, WPARAM wParam, int x, int y) {
    SendMessageA(mainWindow.hwnd, message, wParam, MAKELPARAM(x, y));
}

// One selection: press, drag (frame and tip), release (ants and menu), dismissed. Every fourth
// is cancelled with Escape during the drag instead, every seventh is a click without a drag
// (the general menu).
void SelectionCycle(int i) {
    const int x = 20 + i % 5, y = 60 + i % 3;
    Send(WM_RBUTTONDOWN, MK_RBUTTON, x, y);
    if (i % 7 != 6) {
        Send(WM_MOUSEMOVE, MK_RBUTTON, x + 25, y + 20);
        Send(WM_MOUSEMOVE, MK_RBUTTON, x + 61, y + 47);
    }
    if (i % 4 == 3) {
        SendMessageA(mainWindow.hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        return;
    }
    SetTimer(nullptr, 0, USER_TIMER_MINIMUM, DismissMenu);
    Send(WM_RBUTTONUP, 0, x + 61, y + 47);
}

}  // namespace

TEST(SelectionLeaks, AThousandSelectionsGiveBackEveryObject) {
    RealMainWindow w(RECT{200, 120, 600, 440}, true, true);
    ASSERT_NE(w.Handle(), nullptr);
    // The first selection registers the tip's class and loads the ants' bitmaps, which stay.
    menusClosed = 0;
    for (int i = 0; i < 8; ++i) SelectionCycle(i);
    waiting::PumpFor(50);
    const int gdiBefore = meter::FreeGdiObjects();
    const int userBefore = meter::FreeUserObjects();

    menusClosed = 0;
    const int cycles = 1000;
    int expectedMenus = 0;
    for (int i = 0; i < cycles; ++i) {
        SelectionCycle(i);
        if (i % 4 != 3) ++expectedMenus;
        ASSERT_FALSE(mainWindow.selecting) << i;
        ASSERT_FALSE(mainWindow.hasSelection) << i;
        ASSERT_EQ(mainWindow.sizeTip.hwnd, nullptr) << i;
    }
    EXPECT_EQ(menusClosed, expectedMenus);
    EXPECT_NE(mainWindow.ants.horzPattern, nullptr);
    waiting::PumpFor(50);

    EXPECT_EQ(meter::FreeGdiObjects(), gdiBefore);
    EXPECT_EQ(meter::FreeUserObjects(), userBefore);
}
