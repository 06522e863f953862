// The two timers: the refresh of the view, and the housekeeping of the ants, following and the
// status bar.
#include "../app/globals.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "mainwindow.h"

void MainWindow::OnTimer(UINT_PTR id) {
    if (IsIconic(hwnd)) return;
    if (id == kRefreshTimer) {
        // The view must not change under a selection that is being made or used.
        if (!hasSelection && !selecting) InvalidateRgn(hwnd, viewRegion, FALSE);
        return;
    }
    if (id != kHousekeepingTimer) return;
    if (hasSelection) ants.Draw(nullptr, hwnd);
    POINT p;
    GetCursorPos(&p);
    Follow(p);
    // Over the view the status bar reads the magnified pixel under the pointer, elsewhere the
    // pointer's own; the colour comes from the screen in both cases, never from the view.
    POINT pixel;
    const bool inView = SourcePixelUnder(p, &pixel);
    char text[64];
    (inView ? sourceCoordsFormat : coordsFormat).Format(text, pixel.x, pixel.y);
    SendMessageA(statusBar, SB_SETTEXTA, 3, reinterpret_cast<LPARAM>(text));
    const COLORREF v = ScreenPixel(pixel);
    if (v == lastColour) return;
    lastColour = v;
    if (settings.DisplayRGBColourPanel)
        rgbFormat.Format(text, GetRValue(v), GetGValue(v), GetBValue(v));
    else
        hexFormat.Format(text, v);
    SendMessageA(statusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    // Marked owner-drawn again so that the swatch repaints in the new colour.
    static char empty[] = "";
    SendMessageA(statusBar, SB_SETTEXTA, 2 | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(empty));
}
