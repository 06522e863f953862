// The help popup. Its text and the window it came from live in the window itself (its text and
// extra bytes), so a popup needs nothing beyond its own lifetime; it destroys itself when it
// closes. Wide calls throughout: the texts hold letters (×, typographic quotes) that the ANSI
// code page of an older system may lack.
#include "helppopup.h"

#include "../app/globals.h"
#include "../app/scoped.h"
#include "../app/utils.h"
#include "../res/helptexts.h"
#include "dpi.h"
#include "rules.h"

namespace {

const wchar_t kClass[] = L"" PEERIX_HELP_POPUP_CLASS;

// At 96 DPI: a line of about 50 characters of the status font, which reads easily.
constexpr int kWrapWidth = 320;
constexpr int kPadding = 6;
constexpr int kGap = 4;

// The window's extra bytes, one pointer-sized slot each.
enum Slot { kFont, kPreviousFocus, kPaddingSlot, kClosing, kSlots };

LONG_PTR Get(HWND popup, Slot slot) {
    return GetWindowLongPtrW(popup, slot * static_cast<int>(sizeof(LONG_PTR)));
}
void Set(HWND popup, Slot slot, LONG_PTR value) {
    SetWindowLongPtrW(popup, slot * static_cast<int>(sizeof(LONG_PTR)), value);
}

HGDIOBJ FontOf(HWND popup) {
    const LONG_PTR font = Get(popup, kFont);
    return font ? reinterpret_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
}

// The font of tooltips and the status bar, at dpi; null when the system gives none (the stock
// GUI font is used then).
HFONT CreatePopupFont(int dpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    metrics.lfStatusFont.lfHeight = MulDiv(metrics.lfStatusFont.lfHeight, dpi, SystemDpi());
    metrics.lfStatusFont.lfWidth = MulDiv(metrics.lfStatusFont.lfWidth, dpi, SystemDpi());
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

// Closes the popup once, however many of its reasons arrive while it goes.
void Close(HWND popup, bool focusBack) {
    if (Get(popup, kClosing)) return;
    Set(popup, kClosing, 1);
    HWND previous = reinterpret_cast<HWND>(Get(popup, kPreviousFocus));
    DestroyWindow(popup);
    if (focusBack && previous && IsWindow(previous)) SetFocus(previous);
}

void Paint(HWND popup) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(popup, &paint);
    if (!dc) return;
    RECT r;
    GetClientRect(popup, &r);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INFOBK));
    const int padding = static_cast<int>(Get(popup, kPaddingSlot));
    InflateRect(&r, -padding, -padding);
    wchar_t text[helptexts::kMaxText + 1];
    GetWindowTextW(popup, text, helptexts::kMaxText + 1);
    {
        ScopedSelectObject font(dc, FontOf(popup));
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, text, -1, &r, DT_WORDBREAK | DT_NOPREFIX);
    }
    EndPaint(popup, &paint);
}

LRESULT CALLBACK PopupProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        Paint(popup);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT fills it
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_COMMAND:  // a key the main window's accelerators turned into a command
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        // Taken by the popup (through its capture, also over Peerix's other windows), not passed on.
        Close(popup, true);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) Close(popup, false);
        return 0;
    case WM_CANCELMODE:
        Close(popup, false);
        return 0;
    case WM_NCDESTROY:
        if (const LONG_PTR font = Get(popup, kFont)) DeleteObject(reinterpret_cast<HGDIOBJ>(font));
        break;
    default:
        break;
    }
    return DefWindowProcW(popup, message, wParam, lParam);
}

bool RegisterPopupClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(programInstance, kClass, &wc)) return true;
    wc.lpfnWndProc = PopupProc;
    wc.cbWndExtra = kSlots * static_cast<int>(sizeof(LONG_PTR));
    wc.hInstance = programInstance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kClass;
    return RegisterClassExW(&wc) != 0;
}

}  // namespace

bool ShowHelpPopup(HWND about, const RECT& anchor, const wchar_t* text) {
    if (!RegisterPopupClass()) return false;
    const int dpi = WindowDpi(about);
    const int padding = rules::ScaleForDpi(kPadding, dpi);
    const RECT work = WorkAreaNear(anchor);
    // The frame and the padding come off the width the work area leaves for the text.
    const DWORD style = WS_POPUP | WS_BORDER, exStyle = WS_EX_TOOLWINDOW;
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int chrome = 2 * padding + (frame.right - frame.left);
    const int room = (work.right - work.left) - chrome;
    int wrap = rules::ScaleForDpi(kWrapWidth, dpi);
    if (wrap > room) wrap = room > 1 ? room : 1;

    ScopedGdiObject<HFONT> font(CreatePopupFont(dpi));
    RECT textRect = {0, 0, wrap, 0};
    {
        ScopedGetDC screen(nullptr);
        ScopedSelectObject selected(screen, font ? font.get() : GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(screen, text, -1, &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    const int width = (textRect.right - textRect.left) + chrome;
    const int height = (textRect.bottom - textRect.top) + 2 * padding + (frame.bottom - frame.top);
    const RECT place =
        ToRECT(rules::PlaceHelpPopup(ToRules(anchor), width, height, ToRules(work), rules::ScaleForDpi(kGap, dpi)));

    HWND previousFocus = GetFocus();
    HWND popup = CreateWindowExW(exStyle, kClass, text, style, place.left, place.top, width, height,
                                 GetAncestor(about, GA_ROOT), nullptr, programInstance, nullptr);
    if (!popup) return false;
    Set(popup, kFont, reinterpret_cast<LONG_PTR>(font.release()));
    Set(popup, kPreviousFocus, reinterpret_cast<LONG_PTR>(previousFocus));
    Set(popup, kPaddingSlot, padding);
    ShowWindow(popup, SW_SHOW);
    SetFocus(popup);
    SetCapture(popup);
    return true;
}
