// The main window's message table: each case unpacks its message and calls a member.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "../app/globals.h"
#include "../app/rules.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../chrome/chrome.h"
#include "../chrome/dpi.h"
#include "../chrome/help.h"
#include "../res/resource.h"
#include "geometry.h"
#include "mainwindow.h"
#include "rules.h"

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED || LOWORD(lParam) == 0 || HIWORD(lParam) == 0) return 0;
        Layout();
        PaintNow();
        LayoutStatusParts();
        return 0;
    case WM_SETFOCUS:
        PaintNow();
        return 0;
    case WM_KILLFOCUS:
        // Keyboard commands work on the main window, so a child never keeps the focus.
        if (wParam && IsChild(hwnd, reinterpret_cast<HWND>(wParam))) SetFocus(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        Paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 0;  // the stretched image covers the whole view
    case WM_WININICHANGE:
        screenWidth = GetSystemMetrics(SM_CXSCREEN);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
        ReadMonitors();
        Layout();
        PaintNow();
        return 0;
    case WM_DISPLAYCHANGE:
        OnDisplayChange();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CANCELMODE:
        EndMouseModes();
        return 0;
    case WM_DRAWITEM:
        OnDrawItem(static_cast<UINT>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 0;
    case WM_NOTIFY:
        OnNotify(reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_HELP:
        ShowHelp(hwnd, HELP_CONTEXT, HID_MAIN_TOPIC);
        return 0;
    case WM_CONTEXTMENU: {
        // Signed: monitors left of or above the primary one have negative coordinates. The
        // keyboard form (-1, -1) opens the menu at the view's corner, as Shift+F10 does.
        POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (p.x == -1 && p.y == -1) p = ViewCornerOnScreen();
        return ShowContextMenu(p) ? 0 : DefWindowProcA(hwnd, message, wParam, lParam);
    }
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_SYSKEYDOWN:
        // Not passed on: Alt+F4 works through its accelerator only.
        CancelSelection();
        EndMouseModes();
        return 0;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam)) ? 0 : DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == IDM_SYS_ABOUT) {
            RunAbout();
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (dragging)
            MovePointDrag();
        else if (selecting)
            MoveSelection(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        if (hasSelection || selecting)
            CancelSelection();
        else
            StartPointDrag();
        return 0;
    case WM_LBUTTONUP:
        if (dragging) {
            // The point is where the button was let go: the last move may have been read before
            // the pointer got there, and no further move comes.
            MovePointDrag();
            EndMouseModes();
        }
        return 0;
    case WM_RBUTTONDOWN:
        EndMouseModes();
        StartSelection(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_RBUTTONUP:
        if (selecting) FinishSelection(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MBUTTONDOWN:
        EndMouseModes();
        CancelSelection();
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(wParam);
        return 0;
    default:
        if (wheelMessage != 0 && message == wheelMessage) return ForwardWheelMessage(hwnd, wParam, lParam);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void MainWindow::OnDestroy() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    static_assert(sizeof(WINDOWPLACEMENT) == 44, "the same placement record on both targets");
    if (GetWindowPlacement(hwnd, &placement)) {
        // The normal rectangle is in work-area coordinates; the next start creates the window in
        // screen coordinates, which differ when a taskbar sits at the top or left.
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        int dx = 0, dy = 0;
        if (GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
            dx = monitor.rcWork.left - monitor.rcMonitor.left;
            dy = monitor.rcWork.top - monitor.rcMonitor.top;
        }
        const RECT& n = placement.rcNormalPosition;
        settings.WindowPos = ToRECT(rules::WorkAreaToScreen(ToRules(n), dx, dy));
    }
    settings.ZoomPoint = point;
    PostQuitMessage(0);
    ShowHelp(hwnd, HELP_QUIT, 0);
}

// A new resolution or a monitor added or removed: the limits of the point are stale. Only this
// message reports it; no WM_WININICHANGE comes with it.
void MainWindow::OnDisplayChange() {
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ReadMonitors();
    Layout();
    point = ClampPoint();
    PaintNow();
}

void MainWindow::OnDpiChanged(int newDpi, const RECT& suggested) {
    ApplyDpi(newDpi);
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The size may be the same, and then no WM_SIZE lays the new chrome out.
    Layout();
    PaintNow();
    LayoutStatusParts();
}

void MainWindow::OnGetMinMaxInfo(MINMAXINFO* info) const {
    // Everything from the system's metrics and the bars' measured heights, so that the limit
    // grows with the caption and the fonts.
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
    const bool toolbarShown = settings.DisplayToolbar && toolbar;
    const bool statusShown = settings.DisplayStatusbar && statusBar;
    rules::MinSizeParts parts;
    parts.frameWidth = frame.right - frame.left;
    parts.frameHeight = frame.bottom - frame.top;
    // The whole band, both trackbars too, and every status part, at the window's DPI.
    parts.toolbarWidth = toolbarShown && rateTrack ? ToolbarWidthFor(hwnd, toolbar, rateTrack) : 0;
    parts.bandHeight = toolbarShown ? bandHeight : 0;
    parts.statusWidth = statusShown ? StatusBarMinWidth(statusBar, hwnd, statusHeight, dpi) : 0;
    parts.statusHeight = statusShown ? statusHeight : 0;
    parts.viewWidth = GetSystemMetrics(SM_CXICON);
    parts.viewHeight = GetSystemMetrics(SM_CYICON);
    // The icon, the three caption buttons and one button's width of the title.
    parts.captionWidth =
        2 * GetSystemMetrics(SM_CXSIZEFRAME) + GetSystemMetrics(SM_CXSMICON) + 4 * GetSystemMetrics(SM_CXSIZE);
    parts.systemWidth = info->ptMinTrackSize.x;
    parts.systemHeight = info->ptMinTrackSize.y;
    const rules::Point p = rules::MinTrackSize(parts);
    info->ptMinTrackSize.x = p.x;
    info->ptMinTrackSize.y = p.y;
}

void MainWindow::OnHScroll(WORD code, WORD position, HWND trackbar) {
    if (trackbar == zoomTrack && trackbar)
        SetZoom(rules::TrackbarValue(code, position, settings.ZoomFactor));
    else if (trackbar == rateTrack && trackbar)
        SetUpdateRate(rules::TrackbarValue(code, position, settings.Update), false);
}

void MainWindow::OnMouseWheel(WPARAM wParam) {
    EndMouseModes();
    CancelSelection();
    if (!(GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL)) return;
    SetZoom(GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? settings.ZoomFactor - 1 : settings.ZoomFactor + 1);
}
