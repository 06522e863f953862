// The right-button selection of whole magnified pixels, its frame and size tip, the context
// menus, and Zoom To.
#include "../app/globals.h"
#include "../app/resstring.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../res/resource.h"
#include "../view/mainwindow.h"
#include "rules.h"

namespace {

outrules::Rect ToRules(const RECT& r) {
    return outrules::Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

RECT MainWindow::GetSelectionRect() const {
    RECT view;
    GetViewRect(&view);
    const outrules::Rect r =
        outrules::SnapSelection(outrules::Point{selAnchor.x, selAnchor.y}, outrules::Point{selCurrent.x, selCurrent.y},
                                ToRules(view), settings.ZoomFactor);
    return RECT{r.left, r.top, r.right, r.bottom};
}

void MainWindow::ToggleSelectionFrame() {
    const RECT r = GetSelectionRect();
    {
        ScopedGetDC dc(hwnd);
        InvertFrame(dc, r);
    }
    // The tip appears once the selection has a width or a height and then follows every change.
    if (!sizeTip.hwnd && r.right == r.left && r.bottom == r.top) return;
    const int zoom = settings.ZoomFactor;
    char text[128];
    ResString format(IDS_SELECTED_SIZE);
    wsprintfA(text, format.GetText(), (r.right - r.left) / zoom, (r.bottom - r.top) / zoom);
    const outrules::Point t = outrules::TipPosition(outrules::Point{selAnchor.x, selAnchor.y}, zoom);
    POINT corner = {t.x, t.y};
    ClientToScreen(hwnd, &corner);
    sizeTip.Show(hwnd, corner.x, corner.y, text);
}

void MainWindow::StartSelection(POINT client) {
    selecting = true;
    selAnchor = selCurrent = client;
    SetCapture(hwnd);
}

void MainWindow::MoveSelection(int x, int y) {
    ToggleSelectionFrame();
    RECT view;
    GetViewRect(&view);
    const outrules::Point p = outrules::ClampIntoView(x, y, ToRules(view));
    selCurrent = POINT{p.x, p.y};
    ToggleSelectionFrame();
}

void MainWindow::FinishSelection(POINT client) {
    selecting = false;
    ReleaseCapture();
    const RECT r = GetSelectionRect();
    ToggleSelectionFrame();  // erases the frame; the tip keeps the final size
    if (r.right == r.left || r.bottom == r.top) {
        sizeTip.Destroy();
        hasSelection = false;
    } else {
        hasSelection = true;
        ants.SetBounds(r);
    }
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    ShowContextMenu(screen);
    if (hasSelection) {  // no menu was shown: drop the selection at once
        sizeTip.Destroy();
        hasSelection = false;
        PaintNow();
    }
}

void MainWindow::CancelSelection() {
    if (hasSelection || selecting) {
        sizeTip.Destroy();
        hasSelection = false;
        if (selecting) {
            selecting = false;
            ReleaseCapture();
        }
    }
    PaintNow();  // also removes a frame or the ants
}

void MainWindow::ZoomToSelection() {
    const int zoom = settings.ZoomFactor;
    const RECT s = GetSelectionRect();
    RECT view;
    GetViewRect(&view);
    if (s.right <= s.left) return;  // only offered for a selection with a width
    UpdateOutline();
    const outrules::ZoomTarget target = outrules::ZoomTo(ToRules(s), ToRules(view), ToRules(outline), zoom);
    point = POINT{target.point.x, target.point.y};
    SetZoom(target.zoom);
    PaintNow();
}

bool MainWindow::ShowContextMenu(POINT p) {
    int helpId = 0;
    if (!HelpIdAt(p, &helpId)) return false;
    HMENU menu = LoadMenuA(programInstance, MAKEINTRESOURCEA(IDR_CONTEXT_MENU));
    HMENU popup = GetSubMenu(menu, hasSelection ? 1 : 0);
    if (hasSelection) {
        EnableMenuItem(popup, ID_SEL_ZOOM_TO, MF_BYCOMMAND | (settings.ZoomFactor == 32 ? MF_GRAYED : MF_ENABLED));
    } else {
        const struct {
            UINT id;
            bool checked;
        } marks[] = {
            {ID_ALWAYS_ON_TOP, settings.AlwaysOnTop != 0},
            {ID_FOLLOW_MOUSE, settings.MouseTracking != 0},
            {ID_TOGGLE_TOOLBAR, settings.DisplayToolbar != 0},
            {ID_TOGGLE_STATUSBAR, settings.DisplayStatusbar != 0},
            {ID_ZOOM_2X, settings.ZoomFactor == 2},
            {ID_ZOOM_4X, settings.ZoomFactor == 4},
        };
        for (const auto& m : marks) CheckMenuItem(popup, m.id, MF_BYCOMMAND | (m.checked ? MF_CHECKED : MF_UNCHECKED));
    }
    const int command = TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd, nullptr);
    if (menu) DestroyMenu(menu);
    if (command == ID_WHATS_THIS) {
        ShowWhatsThis(p, helpId);
    } else {
        CancelSelection();
        OnCommand(static_cast<WORD>(command));
    }
    return true;
}
