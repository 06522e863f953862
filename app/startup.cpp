#include "startup.h"

#include "../chrome/dpi.h"
#include "../res/resource.h"
#include "../view/mainwindow.h"
#include "globals.h"
#include "rules.h"
#include "settings.h"
#include "utils.h"
#include "windowobject.h"

namespace {

constexpr DWORD kMainStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;  // 0x00CE0000
static_assert(kMainStyle == 0x00CE0000, "an overlapped window without a maximize box");
#ifndef _WIN64
static_assert(sizeof(WNDCLASSEXA) == 48, "the class record of the 32-bit API");
#endif

ATOM RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_BYTEALIGNCLIENT;  // no redraw on resize: Layout repaints what changed
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PEERIX));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = PEERIX_CLASS_NAME;
    wc.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PEERIX), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    return RegisterClassExA(&wc);
}

// The rectangle a window may take on the work area of its monitor: moved, and shrunk where
// larger, so that it lies there and its caption can be grabbed (see RescueWindow).
rules::Rect Rescued(const RECT& r) {
    // A window saved on a larger desktop, or all but off the screen, comes back where its caption
    // can be grabbed: half the caption's height over a strip as wide as the system's smallest
    // window.
    const int caption = GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CYCAPTION);
    return rules::RescueWindow(ToRules(r), ToRules(WorkAreaNear(r)), caption, GetSystemMetrics(SM_CXMINTRACK));
}

// Gives the new window its size for its DPI and a place on the work area. Only now is the DPI
// known and the chrome built, whose bars set the smallest size: a window set to less grows to it.
void PlaceNewWindow(HWND window, bool stored) {
    RECT r;
    GetWindowRect(window, &r);
    if (!stored) {
        const rules::Point size = rules::DefaultWindowSize(WindowDpi(window));
        r.right = r.left + size.x;
        r.bottom = r.top + size.y;
    }
    constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    const RECT work = WorkAreaNear(r);
    const bool wholly = r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
    GetWindowRect(window, &r);
    // A window that lay wholly on the work area still does after growing; others are rescued.
    const RECT placed = ToRECT(wholly ? rules::KeepInside(ToRules(r), ToRules(work)) : Rescued(r));
    if (!EqualRect(&placed, &r))
        SetWindowPos(window, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                     flags);
}

}  // namespace

bool ActivateEarlierInstance() {
    HWND running = FindWindowA(PEERIX_CLASS_NAME, nullptr);
    if (!running) return false;
    // A dialog the other instance has open is what the user was working with.
    HWND popup = GetLastActivePopup(running);
    BringWindowToTop(popup);
    SetForegroundWindow(popup);
    SetActiveWindow(popup);
    if (IsIconic(popup)) ShowWindow(popup, SW_RESTORE);
    return true;
}

HWND CreateMainWindow(HINSTANCE instance, int showCommand) {
    // Made at the 96-DPI default size; PlaceNewWindow sizes it for its DPI.
    const rules::Point size = rules::DefaultWindowSize(rules::kDesignDpi);
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = size.x, height = size.y;
    const bool stored = settings.WindowPosFound();
    if (stored) {
        const RECT r = ToRECT(Rescued(settings.WindowPos));
        x = r.left;
        y = r.top;
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    if (settings.SingleInstance && ActivateEarlierInstance()) return nullptr;

    const char* title = titleText.GetText();
    const ATOM atom = RegisterMainClass(instance);
    // A failed registration gives atom 0, which names no class, so creation fails below.
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, MAKEINTATOM(atom), title, kMainStyle, x, y, width, height, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) {
        ShowSystemError(nullptr, title);
        return nullptr;
    }
    PlaceNewWindow(window, stored);
    ShowWindow(window, showCommand);
    return window;
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ForwardToObject(&mainWindow, window, message, wParam, lParam);
}
