#include "selectiontip.h"

#include <cstring>

#include "../app/globals.h"
#include "../app/scoped.h"
#include "../app/windowobject.h"
#include "../app/types.h"

namespace {

HGDIOBJ FontOrStock(HFONT font) {
    return font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
}

}  // namespace

ATOM SelectionTip::tipClassAtom = 0;

SelectionTip::~SelectionTip() {
    if (tipClassAtom) UnregisterClassA(MAKEINTATOM(tipClassAtom), programInstance);
    tipClassAtom = 0;
}

void SelectionTip::Show(HWND owner, int x, int y, const char* newText) {
    if (!hwnd) {
        if (!tipClassAtom) {
            WNDCLASSEXA wc = {};
            wc.cbSize = sizeof wc;
            wc.style = CS_BYTEALIGNCLIENT | CS_DBLCLKS;
            wc.lpfnWndProc = WindowProc;
            wc.hInstance = programInstance;
            wc.lpszClassName = "hbx_TrackingToolTip";
            tipClassAtom = RegisterClassExA(&wc);
        }
        // The window attaches itself to hwnd while it is created.
        if (!CreateWindowExA(0, MAKEINTATOM(tipClassAtom), nullptr, WS_POPUPWINDOW, 0, 0, 0, 0, owner, nullptr,
                             programInstance, this))
            return;
    }
    lstrcpynA(text, newText, sizeof text);
    SIZE extent = {0, 0};
    {
        ScopedGetDC dc(hwnd);
        ScopedSelectObject selected(dc, FontOrStock(font));
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    }
    const int height = extent.cy + rules::ScaleForDpi(2, dpi), width = extent.cx + rules::ScaleForDpi(8, dpi);
    SetWindowPos(hwnd, HWND_TOPMOST, x, y - height, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void SelectionTip::SetLook(HFONT newFont, int newDpi) {
    font = newFont;
    dpi = newDpi;
}

void SelectionTip::Destroy() {
    if (hwnd) DestroyWindow(hwnd);  // WM_NCDESTROY clears hwnd
}

LRESULT CALLBACK SelectionTip::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ForwardToObject(ObjectFromCreateParams<SelectionTip>(window, message, lParam), window, message, wParam,
                           lParam);
}

LRESULT SelectionTip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    {
        ScopedSelectObject selected(dc, FontOrStock(font));
        DrawTextA(dc, text, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    EndPaint(hwnd, &ps);
    return 0;
}
