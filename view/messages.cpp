// The main window's message table.
#include "../app/globals.h"
#include "../app/rules.h"
#include "../app/settings.h"
#include "mainwindow.h"

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Layout();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED || LOWORD(lParam) == 0 || HIWORD(lParam) == 0) return 0;
        Layout();
        PaintNow();
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
    default:
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
        const rules::Rect r = rules::WorkAreaToScreen(rules::Rect{n.left, n.top, n.right, n.bottom}, dx, dy);
        settings.WindowPos = RECT{r.left, r.top, r.right, r.bottom};
    }
    settings.ZoomPoint = point;
    PostQuitMessage(0);
}
