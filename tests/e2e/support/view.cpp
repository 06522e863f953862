#include "view.h"

#include <commctrl.h>

#include "input.h"
#include "remote.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

namespace e2e {

Chrome FindChrome(HWND peerix) {
    Chrome c;
    c.band = FindWindowExA(peerix, nullptr, REBARCLASSNAMEA, nullptr);
    c.toolbar = c.band ? FindWindowExA(c.band, nullptr, TOOLBARCLASSNAMEA, nullptr)
                       : FindWindowExA(peerix, nullptr, TOOLBARCLASSNAMEA, nullptr);
    if (!c.band) c.band = c.toolbar;
    if (c.toolbar) {
        c.zoomTrack = FindWindowExA(c.toolbar, nullptr, TRACKBAR_CLASSA, nullptr);
        c.rateTrack = c.zoomTrack ? FindWindowExA(c.toolbar, c.zoomTrack, TRACKBAR_CLASSA, nullptr) : nullptr;
        // Created in that order; make sure by their places.
        if (c.zoomTrack && c.rateTrack) {
            RECT a, b;
            GetWindowRect(c.zoomTrack, &a);
            GetWindowRect(c.rateTrack, &b);
            if (b.left < a.left) {
                HWND t = c.zoomTrack;
                c.zoomTrack = c.rateTrack;
                c.rateTrack = t;
            }
        }
        c.tooltip = reinterpret_cast<HWND>(SendMessageA(c.toolbar, TB_GETTOOLTIPS, 0, 0));
    }
    c.statusBar = FindWindowExA(peerix, nullptr, STATUSCLASSNAMEA, nullptr);
    return c;
}

RECT ViewOnScreen(HWND peerix) {
    RECT view = pixels::ClientOnScreen(peerix);
    const Chrome c = FindChrome(peerix);
    RECT r;
    if (c.band && IsWindowVisible(c.band) && GetWindowRect(c.band, &r)) view.top += r.bottom - r.top - 2;
    if (c.statusBar && IsWindowVisible(c.statusBar) && GetWindowRect(c.statusBar, &r)) view.bottom -= r.bottom - r.top;
    return view;
}

RECT MonitorNearest(POINT p) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info))
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return info.rcMonitor;
}

POINT SourceOrigin(const RECT& view, int zoom, POINT p) {
    const RECT m = MonitorNearest(p);
    const int w = view.right - view.left, h = view.bottom - view.top;
    // The point sits half of (view / zoom + 1) from the view's left and top; the pixels shown
    // at least partly, view / zoom rounded up, stay on the point's monitor, its left and top first.
    const int halfW = (w / zoom + 1) / 2, halfH = (h / zoom + 1) / 2;
    const int shownW = w == 0 ? 1 : (w + zoom - 1) / zoom, shownH = h == 0 ? 1 : (h + zoom - 1) / zoom;
    const auto hold = [](int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); };
    return POINT{hold(p.x - halfW, m.left, m.right - shownW), hold(p.y - halfH, m.top, m.bottom - shownH)};
}

std::string CompareView(HWND peerix, int zoom, POINT point, int variant) {
    const RECT view = ViewOnScreen(peerix);
    const POINT origin = SourceOrigin(view, zoom, point);
    const pixels::Capture c = pixels::CaptureScreen(view);
    return pixels::CompareMagnified(c, POINT{view.left, view.top}, SIZE{view.right - view.left, view.bottom - view.top},
                                    origin.x, origin.y, zoom, variant);
}

std::string WaitForView(HWND peerix, int zoom, POINT point, int variant, int timeoutMs) {
    std::string diff;
    waiting::WaitFor(
        [&] {
            diff = CompareView(peerix, zoom, point, variant);
            return diff.empty();
        },
        timeoutMs, 20);
    return diff;
}

std::string SettleDrag(HWND peerix, int zoom, POINT at) {
    std::string diff;
    for (int attempt = 0; attempt < 4; ++attempt) {
        diff = WaitForView(peerix, zoom, at, 0, 1000);
        // At a clamped corner the picture looks the same a pixel off: the pointer must be there
        // too, or a late move of the jiggle below would be the one the drag ends with.
        POINT cursor;
        if (diff.empty() && GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y) return diff;
        if (diff.empty()) diff = "the pointer is not at the drag's target";
        // One pixel toward the screen's origin and back: on the same monitor as `at` where the
        // primary one's left edge is next to it.
        input::MoveTo(at.x + (at.x > 0 ? -1 : 1), at.y);
        input::MoveTo(at.x, at.y);
    }
    return diff;
}

RECT WindowForClient(int left, int top, int clientWidth, int clientHeight) {
    RECT r = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, FALSE, WS_EX_APPWINDOW);
    return RECT{left, top, left + r.right - r.left, top + r.bottom - r.top};
}

RECT ThumbOnScreen(HWND trackbar) {
    RECT r = remote::RectFrom(trackbar, TBM_GETTHUMBRECT);
    MapWindowPoints(trackbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE SmallestWindow(HWND peerix) {
    MINMAXINFO info = {};
    SendMessageA(peerix, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return SIZE{info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

SIZE FirstStartSize(HWND peerix) {
    const SIZE least = SmallestWindow(peerix);
    return SIZE{least.cx > 320 ? least.cx : 320, least.cy > 200 ? least.cy : 200};
}

}  // namespace e2e
