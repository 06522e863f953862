// The right-button selection of whole magnified pixels, its frame and size tip, the context
// menus, and Zoom To.
#include "../app/globals.h"
#include "../app/resstring.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../chrome/help.h"
#include "../output/contextmenu.h"
#include "../output/rules.h"
#include "../res/resource.h"
#include "mainwindow.h"

RECT MainWindow::GetSelectionRect() const {
    RECT view;
    GetViewRect(&view);
    const rules::Rect r =
        rules::SnapSelection(ToRules(selAnchor), ToRules(selCurrent), ToRules(view), settings.ZoomFactor);
    return ToRECT(r);
}

void MainWindow::ToggleSelectionFrame() {
    if (!hwnd) return;  // GetDC of no window would be the screen's
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
    format.Format(text, (r.right - r.left) / zoom, (r.bottom - r.top) / zoom);
    const rules::Point t = rules::TipPosition(ToRules(selAnchor), zoom);
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
    selCurrent = ToPOINT(rules::ClampIntoView(x, y, ToRules(view)));
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
        ApplyHousekeeping();  // the ants march while the menu is open
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
    const RECT s = GetSelectionRect();
    RECT view;
    GetViewRect(&view);
    if (s.right <= s.left || s.bottom <= s.top) return;  // only offered for a selection with an area
    const rules::ZoomTarget target =
        rules::ZoomTo(ToRules(s), ToRules(view), ToRules(SourceRect()), settings.ZoomFactor);
    // The point is placed for the view at the new zoom, so that every selected pixel shows whole.
    rules::Source next;
    if (rules::ComputeSource(view.right - view.left, view.bottom - view.top, target.zoom, ToRules(SourceBounds()),
                             &next))
        point = ToPOINT(rules::CentreOn(target.pixels, next));
    SetZoom(target.zoom);
    PaintNow();
}

bool MainWindow::ShowContextMenu(POINT p) {
    int helpId = 0;
    if (!HelpIdAt(p, &helpId)) return false;
    // The colour at the point asked about, read now: what the menu offers is what it copies.
    const COLORREF colour = ColourAt(p);
    char value[64], item[128];
    ColourText(colour, value, sizeof value);
    ResString(IDS_COPY_COLOUR_ITEM).Format(item, value);
    const int command = TrackViewMenu(hwnd, p, hasSelection, item);
    if (command == ID_WHATS_THIS) {
        ShowWhatsThis(hwnd, p, helpId);
    } else if (command == ID_COPY_COLOUR) {
        CopyColour(colour);
    } else {
        CancelSelection();
        OnCommand(static_cast<WORD>(command));
    }
    return true;
}
