#include "mainwindow.h"

#include "../app/globals.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../output/capture.h"
#include "../res/resource.h"
#include "geometry.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto* list = reinterpret_cast<rules::Monitors*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (list->count < rules::kMaxMonitors && GetMonitorInfoA(monitor, &info))
        list->rects[list->count++] = ToRules(info.rcMonitor);
    return TRUE;
}

}  // namespace

MainWindow::MainWindow()
    : hwnd(nullptr),
      source{},
      outline{0, 0, 0, 0},
      dragging(false),
      point(settings.ZoomPoint),
      lastColour(0),
      hasSelection(false),
      selecting(false),
      selAnchor{0, 0},
      selCurrent{0, 0},
      palette(CreateIdentityPalette()),
      hasRebar(false),
      bandHeight(0),
      toolbar(nullptr),
      band(nullptr),
      zoomTrack(nullptr),
      rateTrack(nullptr),
      statusHeight(0),
      statusBar(nullptr),
      viewEmpty(false),
      dpi(96),
      stockImages(nullptr),
      stockButtonSize(0),
      stockThumbLength(0),
      lastPointer{0, 0},
      lastKeyboardSpot{0, 0},
      lastFocus(nullptr),
      housekeeping(false) {
    ReadMonitors();
    // A stored point on a monitor that is gone comes back to the nearest one. With one monitor
    // the point stays as stored, as it always did: the clamp keeps the view on that monitor.
    if (monitors.count > 1) point = ToPOINT(rules::OntoMonitor(monitors, ToRules(point)));
}

void MainWindow::ReadMonitors() {
    monitors.count = 0;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
}

// The palette and the region go with their owners.
MainWindow::~MainWindow() = default;

void MainWindow::GetViewRect(RECT* r) const {
    RECT client = {0, 0, 0, 0};
    GetClientRect(hwnd, &client);
    const rules::Rect v = rules::ViewRect(ToRules(client), settings.DisplayToolbar != 0, bandHeight,
                                          settings.DisplayStatusbar != 0, statusHeight);
    *r = ToRECT(v);
}

void MainWindow::Layout() {
    RECT r;
    GetViewRect(&r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    rules::Source s;
    if (!rules::ComputeSource(w, h, settings.ZoomFactor, ToRules(SourceBounds()), &s)) {
        viewEmpty = true;
        return;
    }
    viewEmpty = false;
    SetWindowPos(band, nullptr, 0, 0, w, bandHeight, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(statusBar, nullptr, 0, r.bottom, w, statusHeight, SWP_NOZORDER);
    source = s;
    viewRegion.reset(CreateRectRgn(r.left, r.top, r.right, r.bottom));
}

void MainWindow::Paint(HDC dc) {
    if (viewEmpty) return;
    // The identity palette matters only on a palette device; elsewhere realising it is a costly
    // no-op (it was a fifth of the paint at zoom 3).
    ScopedSelectPalette selected(dc, (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) ? palette.get() : nullptr);
    RECT view;
    GetViewRect(&view);
    const int zoom = settings.ZoomFactor;
    SelectClipRgn(dc, viewRegion);
    StretchScreen(dc, view.left, view.top, ToRules(SourceRect()), ToRules(SourceBounds()), zoom);
    // Under the cursor marker and the selection frame; copies and the colour readout come from the
    // screen and never see it.
    if (settings.DisplayPixelGrid) DrawPixelGrid(dc, view, zoom);
    if (settings.MouseTracking && settings.DisplayMouseWhenFollowing) {
        const rules::Point m =
            rules::MarkerPosition(ToRules(point), ToRules(ClampPoint()), Geometry(), zoom, view.left, view.top);
        // Shared cursors from LoadCursor need no clean-up.
        DrawIcon(dc, m.x, m.y, LoadCursorA(programInstance, MAKEINTRESOURCEA(IDCUR_MARKER)));
    }
    // A repaint during a selection drag would wipe the inverted frame that the next mouse move
    // expects to erase; drawing it again keeps the two in step. Outside the view nothing was
    // repainted, so the clip region limits this to what the stretch replaced.
    if (selecting) InvertFrame(dc, GetSelectionRect());
    SelectClipRgn(dc, nullptr);
}

void MainWindow::PaintNow() {
    if (!hwnd) return;  // GetDC of no window would be the screen's
    ScopedGetDC dc(hwnd);
    if (dc) Paint(dc);
}

bool MainWindow::SourcePixelUnder(POINT p, POINT* pixel) const {
    *pixel = p;
    if (!hwnd || viewEmpty) return false;
    POINT client = p;
    ScreenToClient(hwnd, &client);
    RECT view;
    GetViewRect(&view);
    rules::Point source;
    // The cheap test first: the pointer is mostly elsewhere. Then whether the view shows there at
    // all, or another window, a menu or a dialog lies over it.
    if (!rules::SourcePixelAt(ToRules(client), ToRules(view), ToRules(SourceRect()), settings.ZoomFactor, &source) ||
        WindowFromPoint(p) != hwnd)
        return false;
    *pixel = ToPOINT(source);
    return true;
}

COLORREF ScreenPixel(POINT p) {
    ScopedGetDC screen(nullptr);
    return GetPixel(screen, p.x, p.y);
}

rules::Source MainWindow::Geometry() const {
    return rules::WithBounds(source, ToRules(SourceBounds()));
}

RECT MainWindow::SourceBounds() const {
    // The primary screen when the monitors cannot be listed.
    return ToRECT(rules::MonitorBounds(monitors, ToRules(point), rules::Rect{0, 0, screenWidth, screenHeight}));
}

POINT MainWindow::ClampPoint() const {
    return ToPOINT(rules::ClampPoint(ToRules(point), Geometry()));
}

RECT MainWindow::SourceRect() const {
    return ToRECT(rules::SourceRect(ToRules(ClampPoint()), Geometry()));
}

void MainWindow::UpdateOutline() {
    const POINT c = ClampPoint();
    outline = ToRECT(rules::OutlineRect(ToRules(c), Geometry()));
}

void MainWindow::ToggleOutline() {
    ScopedGetDC screen(nullptr);
    InvertFrame(screen, outline);
}

void MainWindow::InvertFrame(HDC dc, const RECT& r) {
    rules::Stroke strokes[4];
    rules::FrameStrokes(ToRules(r), strokes);
    for (const rules::Stroke& s : strokes) PatBlt(dc, s.x, s.y, s.width, s.height, DSTINVERT);
}

HPALETTE CreateIdentityPalette() {
    const SIZE_T size = sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY);
    // GPTR: fixed memory, so the handle is the block's address.
    ScopedGlobal memory(GlobalAlloc(GPTR, size));
    auto* block = static_cast<LOGPALETTE*>(memory.get());
    if (!block) return nullptr;
    block->palVersion = 0x300;
    block->palNumEntries = 256;
    // PC_EXPLICIT: the low word of each entry is a hardware palette index.
    for (int i = 0; i < 256; ++i) block->palPalEntry[i] = PALETTEENTRY{static_cast<BYTE>(i), 0, 0, PC_EXPLICIT};
    return CreatePalette(block);
}
