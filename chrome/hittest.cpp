// Which area of the bars a screen point lies on, for context help.
#include "hittest.h"

#include <commctrl.h>

#include "../res/resource.h"

bool PointInWindow(HWND window, POINT p) {
    RECT r;
    if (!window || !IsWindow(window) || !GetWindowRect(window, &r)) return false;
    return PtInRect(&r, p) != FALSE;
}

int BarHelpIdAt(POINT p, const BarWindows& bars) {
    if (PointInWindow(bars.rateTrack, p)) return HID_RATE_TRACK;
    if (PointInWindow(bars.zoomTrack, p)) return HID_ZOOM_TRACK;
    if (PointInWindow(bars.statusBar, p)) {
        int id = HID_STATUS_MENU_HELP;
        POINT s = p;
        ScreenToClient(bars.statusBar, &s);
        for (int part = 0; part < 4; ++part) {
            RECT r;
            if (SendMessageA(bars.statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r)) && PtInRect(&r, s))
                id = HID_STATUS_MENU_HELP + part;
        }
        return id;
    }
    POINT t = p;
    ScreenToClient(bars.toolbar, &t);
    const LRESULT index = bars.toolbar ? SendMessageA(bars.toolbar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&t)) : -1;
    TBBUTTON button = {};
    if (index >= 0 && SendMessageA(bars.toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) &&
        button.idCommand != 0)
        return button.idCommand;
    if (PointInWindow(bars.toolbar, p) || PointInWindow(bars.band, p)) return HID_TOOLBAR;
    return 0;
}
