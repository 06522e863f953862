// Commands, keys, zoom, update rate and the window's standing options.
#include <windows.h>
#include <commctrl.h>

#include "../app/globals.h"
#include "../app/rules.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../chrome/help.h"
#include "../dialogs/dialogs.h"
#include "../output/capture.h"
#include "../res/resource.h"
#include "mainwindow.h"
#include "rules.h"

namespace {

int Inverted(int flag) {
    return flag == 0 ? 1 : 0;
}

// Blocks like Sleep and handles no message, but lets the system show what was drawn: some
// systems (Wine) put drawing on the screen only while the drawing thread waits this way, so a
// frame drawn and erased around a plain Sleep would never be seen.
void Pause(DWORD ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, 0);
}

bool KeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

bool MainWindow::OnCommand(WORD id) {
    switch (id) {
    case ID_EXIT:
        DestroyWindow(hwnd);
        return true;
    case ID_ALWAYS_ON_TOP:
        settings.AlwaysOnTop = Inverted(settings.AlwaysOnTop);
        ApplyAlwaysOnTop();
        break;
    case ID_FOLLOW_MOUSE:
        settings.MouseTracking = Inverted(settings.MouseTracking);
        ApplyFollowMouse();
        break;
    case ID_FOLLOW_KEYBOARD:
        settings.FollowKeyboard = Inverted(settings.FollowKeyboard);
        ApplyFollowKeyboard();
        break;
    case ID_ZOOM_2X:
        SetZoom(2);
        break;
    case ID_ZOOM_4X:
        SetZoom(4);
        break;
    case ID_HELP:
        ShowHelp(hwnd, HELP_CONTEXT, HID_MAIN_TOPIC);
        break;
    case ID_TOGGLE_TOOLBAR:
        settings.DisplayToolbar = Inverted(settings.DisplayToolbar);
        ApplyToolbarVisibility();
        break;
    case ID_TOGGLE_STATUSBAR:
        settings.DisplayStatusbar = Inverted(settings.DisplayStatusbar);
        ApplyStatusBarVisibility();
        break;
    case ID_OPTIONS:
        if (RunOptionsDialog(hwnd)) {
            settings.Save();
            PaintNow();
        }
        break;
    case ID_SEL_COPY_ORIGINAL:
        CopyImage(false, true);
        break;
    case ID_SEL_COPY_ZOOMED:
        CopyImage(true, true);
        break;
    case ID_SEL_SAVE:
        SaveImageAs(true);
        break;
    case ID_CONTEXT_MENU:
        ShowContextMenu(ViewCornerOnScreen());
        break;
    case ID_SEL_CANCEL:
        CancelSelection();
        break;
    case ID_SEL_ZOOM_TO:
        ZoomToSelection();
        break;
    case ID_HIGHLIGHT:
        Highlight();
        break;
    case ID_COPY_COLOUR: {
        // The colour the status bar shows: under the pointer, or what the view magnifies there.
        POINT p;
        GetCursorPos(&p);
        CopyColour(ColourAt(p));
        break;
    }
    case ID_PIXEL_GRID:
        settings.DisplayPixelGrid = Inverted(settings.DisplayPixelGrid);
        PaintNow();
        break;
    case ID_COPY_ZOOMED:
        CopyImage(true, false);
        break;
    case ID_COPY_SCREEN:
        CopyImage(false, false);
        break;
    case ID_SAVE_AS:
        SaveImageAs(hasSelection);
        break;
    case ID_ZOOM_IN:
        SetZoom(settings.ZoomFactor + 1);
        break;
    case ID_ZOOM_OUT:
        SetZoom(settings.ZoomFactor - 1);
        break;
    case ID_ABOUT:
        RunAbout();
        break;
    case ID_RATE_UP:
        SetUpdateRate(settings.Update + 1, false);
        break;
    case ID_RATE_DOWN:
        SetUpdateRate(settings.Update - 1, false);
        break;
    default:
        break;  // What's This is handled inside the context menu
    }
    return false;
}

void MainWindow::OnKeyDown(WPARAM key) {
    if (key == VK_ESCAPE) {
        EndMouseModes();
        CancelSelection();
        return;
    }
    const rules::Step step =
        rules::KeyStep(static_cast<int>(key), KeyHeld(VK_CONTROL), source.srcWidth, source.srcHeight);
    if (step.dx || step.dy) Pan(step.dx, step.dy);
}

void MainWindow::Pan(int dx, int dy) {
    const POINT p = ToPOINT(rules::PanPoint(monitors, Geometry(), ToRules(point), dx, dy, ToRules(SourceBounds())));
    if (p.x == point.x && p.y == point.y) return;
    point = p;
    Layout();
    PaintNow();
}

void MainWindow::SetZoom(int zoom) {
    zoom = rules::Clamp(zoom, rules::kMinZoom, rules::kMaxZoom);
    if (zoom == settings.ZoomFactor) return;
    settings.ZoomFactor = zoom;
    Layout();
    PaintNow();
    SendMessageA(zoomTrack, TBM_SETPOS, TRUE, zoom);
    char text[128];
    zoomLevelFormat.Format(text, zoom);
    tips.UpdateTipText(zoomTrack, text);
}

void MainWindow::SetUpdateRate(int rate, bool force) {
    rate = rules::Clamp(rate, rules::kRateNone, rules::kRateFast);
    if (rate == settings.Update && !force) return;
    char text[128];
    autoUpdateFormat.Format(text, rules::RateName(rate));
    tips.UpdateTipText(rateTrack, text);
    if (rate == rules::kRateNone && settings.Update != rules::kRateNone) KillTimer(hwnd, kRefreshTimer);
    settings.Update = rate;
    SendMessageA(rateTrack, TBM_SETPOS, TRUE, rate);
    const int intervals[] = {0, 0, settings.Update1, settings.Update2, settings.Update3};
    // Setting timer 1 again replaces a running one.
    if (rate != rules::kRateNone) SetTimer(hwnd, kRefreshTimer, static_cast<UINT>(intervals[rate]), nullptr);
    ApplyFollowMouse();
}

void MainWindow::ApplyAlwaysOnTop() {
    SetWindowPos(hwnd, settings.AlwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(toolbar, TB_SETSTATE, ID_ALWAYS_ON_TOP,
                 settings.AlwaysOnTop ? TBSTATE_CHECKED | TBSTATE_ENABLED : TBSTATE_ENABLED);
}

void MainWindow::ApplyFollowMouse() {
    SendMessageA(toolbar, TB_SETSTATE, ID_FOLLOW_MOUSE,
                 settings.MouseTracking ? TBSTATE_CHECKED | TBSTATE_ENABLED : TBSTATE_ENABLED);
    PaintNow();  // the cursor marker depends on following
    ApplyHousekeeping();
}

void MainWindow::Highlight() {
    UpdateOutline();
    for (int i = 0; i < 4; ++i) {
        ToggleOutline();
        Pause(100);
        ToggleOutline();
        Pause(100);
    }
}

POINT MainWindow::ViewCornerOnScreen() const {
    RECT view;
    GetViewRect(&view);
    POINT corner = {view.left, view.top};
    ClientToScreen(hwnd, &corner);
    return corner;
}

void MainWindow::RunAbout() {
    RunAboutDialog(hwnd);
}

LRESULT ForwardWheelMessage(HWND target, WPARAM wParam, LPARAM lParam) {
    // The old drivers put the delta in wParam; WM_MOUSEWHEEL carries it in the high word.
    WPARAM w = (wParam & 0xFFFF) << 16;
    if (KeyHeld(VK_CONTROL)) w |= MK_CONTROL;
    if (KeyHeld(VK_SHIFT)) w |= MK_SHIFT;
    HWND focus = GetFocus();
    HWND desktop = GetDesktopWindow();
    if (!focus) return SendMessageA(target, WM_MOUSEWHEEL, w, lParam);
    LRESULT r;
    do {
        r = SendMessageA(focus, WM_MOUSEWHEEL, w, lParam);
        focus = GetParent(focus);
    } while (r == 0 && focus && focus != desktop);
    return 0;
}
