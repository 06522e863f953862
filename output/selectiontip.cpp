#include "selectiontip.h"

#include <cstring>

#include "../app/globals.h"
#include "../app/scoped.h"

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
        hwnd = CreateWindowExA(0, MAKEINTATOM(tipClassAtom), nullptr, WS_POPUPWINDOW, 0, 0, 0, 0, owner, nullptr,
                               programInstance, this);
        if (!hwnd) return;
    }
    lstrcpynA(text, newText, sizeof text);
    SIZE extent = {0, 0};
    {
        ScopedGetDC dc(hwnd);
        ScopedSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
    }
    const int height = extent.cy + 2, width = extent.cx + 8;
    SetWindowPos(hwnd, HWND_TOPMOST, x, y - height, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(hwnd, nullptr, FALSE);
}

void SelectionTip::Destroy() {
    if (!hwnd) return;
    DestroyWindow(hwnd);
    hwnd = nullptr;
}

LRESULT CALLBACK SelectionTip::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* tip = reinterpret_cast<SelectionTip*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (tip) return tip->HandleMessage(window, message, wParam, lParam);
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT SelectionTip::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    {
        ScopedSelectObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc, text, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    EndPaint(window, &ps);
    return 0;
}
