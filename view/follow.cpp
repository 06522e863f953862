// Following: the point of interest goes where the mouse pointer goes, or where another program's
// text cursor or keyboard focus goes, whichever moved last.
#include <climits>

#include "../app/globals.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../res/resource.h"
#include "mainwindow.h"
#include "rules.h"

namespace {

bool OwnWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process == GetCurrentProcessId();
}

}  // namespace

bool MainWindow::KeyboardMoved(POINT* spot) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    // No foreground window, one of another desktop, or a program the system will not ask: the
    // point stays where it is.
    if (!GetGUIThreadInfo(0, &info)) return false;
    HWND at = info.hwndCaret ? info.hwndCaret : info.hwndFocus;
    // Peerix's own focus (its dialogs, its main window) must not pull the view onto itself.
    if (!at || OwnWindow(at)) return false;
    POINT place;
    if (info.hwndCaret) {
        rules::Point caret;
        if (!rules::CaretSpot(ToRules(info.rcCaret), &caret)) return false;
        place = ToPOINT(caret);
        // A window that closed since the query has nothing to convert against.
        if (!ClientToScreen(info.hwndCaret, &place)) return false;
    } else {
        // A focus without a caret (a list, a button) is followed once, when it arrives.
        if (info.hwndFocus == lastFocus) return false;
        RECT r;
        if (!GetWindowRect(info.hwndFocus, &r)) return false;
        place = POINT{r.left, r.top + (r.bottom - r.top) / 2};
    }
    lastFocus = info.hwndFocus;
    if (place.x == lastKeyboardSpot.x && place.y == lastKeyboardSpot.y) return false;  // a still caret
    lastKeyboardSpot = place;
    *spot = place;
    return true;
}

void MainWindow::Follow(POINT pointer) {
    if (!hasSelection && !selecting && !dragging && (settings.MouseTracking || settings.FollowKeyboard)) {
        rules::Following f = {};
        f.mouse = settings.MouseTracking != 0;
        f.keyboard = settings.FollowKeyboard != 0;
        f.pointer = ToRules(pointer);
        f.lastPointer = ToRules(lastPointer);
        f.point = ToRules(point);
        POINT spot = {0, 0};
        f.keyboardMoved = f.keyboard && KeyboardMoved(&spot);
        f.keyboardSpot = ToRules(spot);
        rules::Point next;
        if (rules::FollowedPoint(f, &next)) {
            point = ToPOINT(next);
            PaintNow();
        }
    }
    lastPointer = pointer;
}

void MainWindow::ApplyFollowKeyboard() {
    SendMessageA(toolbar, TB_SETSTATE, ID_FOLLOW_KEYBOARD,
                 settings.FollowKeyboard ? TBSTATE_CHECKED | TBSTATE_ENABLED : TBSTATE_ENABLED);
    // Turned on, the keyboard's place is taken at the next tick, even if it has not moved.
    lastFocus = nullptr;
    lastKeyboardSpot = POINT{INT_MIN, INT_MIN};
    ApplyHousekeeping();
}
