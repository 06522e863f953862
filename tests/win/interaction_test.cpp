// The message table's edges on the real main window: zoom and rate requests at and beyond their
// ends, the wheel, the context menu's coordinates, and the forwarded wheel message.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "res/resource.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

namespace {

std::string TipText(HWND tool) {
    char text[128] = {};
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = mainWindow.tips.window;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    SendMessageA(mainWindow.tips.window, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
}

class Interaction : public GlobalStateTest {};

// Closes whatever popup menu is open when its timer fires, noting that one was open.
bool menuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND menu = FindWindowA("#32768", nullptr);
    menuSeen = menu && IsWindowVisible(menu);
    EndMenu();
}

// A window that records the wheel messages it gets and answers with a fixed result.
struct WheelLog {
    std::vector<std::pair<HWND, WPARAM>> got;
} wheelLog;
LRESULT CALLBACK WheelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL) {
        wheelLog.got.emplace_back(hwnd, wParam);
        return GetWindowLongPtrA(hwnd, GWLP_USERDATA);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(Interaction, ZoomAndRateRequestsAreClampedAndRepeatsChangeNothing) {
    settings.ZoomFactor = 3;
    settings.Update = 1;
    RealMainWindow w(RECT{300, 100, 700, 400}, true, false);
    mainWindow.SetZoom(33);
    EXPECT_EQ(settings.ZoomFactor, 32);
    EXPECT_EQ(SendMessageA(mainWindow.zoomTrack, TBM_GETPOS, 0, 0), 32);
    EXPECT_EQ(TipText(mainWindow.zoomTrack), "Zoom Level x32");
    mainWindow.OnCommand(ID_ZOOM_IN);
    EXPECT_EQ(settings.ZoomFactor, 32);
    // The same factor again does nothing, not even the tip text.
    mainWindow.tips.UpdateTipText(mainWindow.zoomTrack, "marker");
    mainWindow.SetZoom(32);
    EXPECT_EQ(TipText(mainWindow.zoomTrack), "marker");
    mainWindow.SetZoom(0);
    EXPECT_EQ(settings.ZoomFactor, 1);
    EXPECT_EQ(TipText(mainWindow.zoomTrack), "Zoom Level x1");
    mainWindow.OnCommand(ID_ZOOM_OUT);
    EXPECT_EQ(settings.ZoomFactor, 1);
    mainWindow.SetZoom(-40);
    EXPECT_EQ(settings.ZoomFactor, 1);
    mainWindow.OnCommand(ID_ZOOM_4X);
    EXPECT_EQ(settings.ZoomFactor, 4);
    RECT view;
    mainWindow.GetViewRect(&view);
    EXPECT_EQ(mainWindow.source.srcWidth, (view.right - view.left) / 4 + 1);  // laid out for the new factor

    mainWindow.SetUpdateRate(5, false);
    EXPECT_EQ(settings.Update, 4);
    EXPECT_EQ(SendMessageA(mainWindow.rateTrack, TBM_GETPOS, 0, 0), 4);
    EXPECT_EQ(TipText(mainWindow.rateTrack), "Auto Update - Fast");
    mainWindow.OnCommand(ID_RATE_UP);
    EXPECT_EQ(settings.Update, 4);
    mainWindow.SetUpdateRate(0, false);
    EXPECT_EQ(settings.Update, 1);
    EXPECT_EQ(TipText(mainWindow.rateTrack), "Auto Update - None");
    mainWindow.tips.UpdateTipText(mainWindow.rateTrack, "marker");
    mainWindow.OnCommand(ID_RATE_DOWN);
    EXPECT_EQ(settings.Update, 1);
    EXPECT_EQ(TipText(mainWindow.rateTrack), "marker");
    // Forced, the same rate is applied again.
    mainWindow.SetUpdateRate(1, true);
    EXPECT_EQ(TipText(mainWindow.rateTrack), "Auto Update - None");
}

TEST_F(Interaction, WheelZoomsOnlyWithCtrlAndADeltaOfZeroZoomsIn) {
    settings.ZoomFactor = 5;
    RealMainWindow w(RECT{300, 100, 700, 400});
    SendMessageA(w.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    SendMessageA(w.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(settings.ZoomFactor, 5);
    SendMessageA(w.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-360)), 0);
    EXPECT_EQ(settings.ZoomFactor, 4);  // one step, whatever the size of the turn
    SendMessageA(w.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 0), 0);
    EXPECT_EQ(settings.ZoomFactor, 5);
    SendMessageA(w.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL | MK_SHIFT, 240), 0);
    EXPECT_EQ(settings.ZoomFactor, 6);
}

TEST_F(Interaction, ContextMenuCoordinatesAreSigned) {
    // The window reaches left of the screen, as it would on a monitor left of the primary one;
    // a point there has a negative x that read unsigned would lie far to the right.
    RealMainWindow w(RECT{-250, 100, 150, 400});
    RECT view;
    mainWindow.GetViewRect(&view);
    POINT inside = {view.left + 40, view.top + 40};
    ClientToScreen(w.Handle(), &inside);
    ASSERT_LT(inside.x, 0);
    menuSeen = false;
    SetTimer(nullptr, 0, 300, CloseMenu);
    const LRESULT r = SendMessageA(w.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.Handle()),
                                   MAKELPARAM(static_cast<WORD>(inside.x), static_cast<WORD>(inside.y)));
    EXPECT_EQ(r, 0);
    EXPECT_TRUE(menuSeen) << "no menu for a point at x " << inside.x;

    // Far off the window: no menu, default processing.
    menuSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, CloseMenu);
    SendMessageA(w.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.Handle()), MAKELPARAM(900, 700));
    waiting::PumpFor(400);
    KillTimer(nullptr, timer);
    EXPECT_FALSE(menuSeen);
}

TEST_F(Interaction, ForwardedWheelGoesToTheFocusChainOrTheTarget) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WheelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PeerixWheelLog";
    RegisterClassA(&wc);
    HWND target = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND parent = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND child = CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent, nullptr, nullptr,
                                 nullptr);
    SetWindowLongPtrA(target, GWLP_USERDATA, 77);
    SetWindowLongPtrA(parent, GWLP_USERDATA, 5);
    SetWindowLongPtrA(child, GWLP_USERDATA, 0);

    // Nothing has the focus: the target gets it, delta in the high word, and its result returns.
    SetFocus(nullptr);
    wheelLog.got.clear();
    EXPECT_EQ(ForwardWheelMessage(target, static_cast<WPARAM>(static_cast<WORD>(-120)), 42), 77);
    ASSERT_EQ(wheelLog.got.size(), 1u);
    EXPECT_EQ(wheelLog.got[0].first, target);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheelLog.got[0].second), -120);

    // The focus window first, then up its parents until one answers; the result is always 0.
    SetActiveWindow(parent);
    SetFocus(child);
    if (GetFocus() != child) GTEST_SKIP() << "the test process cannot take the focus here";
    wheelLog.got.clear();
    EXPECT_EQ(ForwardWheelMessage(target, 240, 0), 0);
    ASSERT_EQ(wheelLog.got.size(), 2u);
    EXPECT_EQ(wheelLog.got[0].first, child);
    EXPECT_EQ(wheelLog.got[1].first, parent);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheelLog.got[1].second), 240);
    DestroyWindow(child);
    DestroyWindow(parent);
    DestroyWindow(target);
    UnregisterClassA(wc.lpszClassName, GetModuleHandleA(nullptr));
}
