// The two timers: the refresh of the view, and the housekeeping of the ants, following and the
// status bar.
#include "../app/globals.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "mainwindow.h"

void MainWindow::OnTimer(UINT_PTR id) {
    if (IsIconic(hwnd)) return;
    if (id == kRefreshTimer) {
        // The view must not change under a selection that is being made or used. Painted here
        // rather than invalidated: the way round through WM_PAINT costs the window system more
        // than the paint itself.
        if (!hasSelection && !selecting) PaintNow();
        return;
    }
    if (id != kHousekeepingTimer) return;
    if (!HousekeepingNeeded()) {
        KillTimer(hwnd, kHousekeepingTimer);
        housekeeping = false;
        return;
    }
    if (hasSelection) ants.Draw(nullptr, hwnd);
    // Reading the pointer asks the window system, and the colour the screen: only the status bar
    // and following the mouse pay for them. Following the keyboard alone never looks at the
    // pointer, so it is handed the one it last saw.
    POINT p = lastPointer;
    if (settings.DisplayStatusbar || settings.MouseTracking) GetCursorPos(&p);
    Follow(p);
    if (settings.DisplayStatusbar) ShowPointer(p);
}

bool MainWindow::HousekeepingNeeded() const {
    return hasSelection || settings.DisplayStatusbar || settings.MouseTracking || settings.FollowKeyboard;
}

void MainWindow::ApplyHousekeeping() {
    // Set only when stopped: setting it again would put its next tick off.
    if (housekeeping || !HousekeepingNeeded()) return;
    housekeeping = SetTimer(hwnd, kHousekeepingTimer, 100, nullptr) != 0;
}

void MainWindow::ShowPointer(POINT p) {
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
