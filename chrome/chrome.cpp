// The toolbar band, the trackbars inside it, the status bar and the texts they show.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <cstddef>

#include "chrome.h"
#include "dpi.h"

#include "../app/globals.h"
#include "../app/resstring.h"
#include "../app/scoped.h"
#include "../app/types.h"
#include "../res/resource.h"
#include "rules.h"

namespace {

#ifndef _WIN64
static_assert(sizeof(TBBUTTON) == 20, "the button record of the 32-bit API");
static_assert(offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT) == 80, "the band record up to cxHeader");
#endif

constexpr DWORD kRebarStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | CCS_NODIVIDER | CCS_TOP;
constexpr DWORD kToolbarInRebarStyle =
    WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE;
constexpr DWORD kToolbarAloneStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_TOP;
constexpr DWORD kTrackbarStyle = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | TBS_NOTICKS | TBS_FIXEDLENGTH;
constexpr DWORD kStatusStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_SIZEGRIP | CCS_BOTTOM;
static_assert(kRebarStyle == 0x56800041, "rebar style");
static_assert(kToolbarInRebarStyle == 0x5000094C, "toolbar style inside a rebar");
static_assert(kToolbarAloneStyle == 0x50800141, "toolbar style without a rebar");
static_assert(kTrackbarStyle == 0x50030050, "trackbar style");
static_assert(kStatusStyle == 0x50800103, "status bar style");

// The toolbar: always on top, save, two copies, follow mouse and keyboard, with separators between
// groups.
const TBBUTTON kButtons[] = {
    {0, ID_ALWAYS_ON_TOP, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {1, ID_SAVE_AS, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {2, ID_COPY_ZOOMED, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {3, ID_COPY_SCREEN, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
    {5, ID_FOLLOW_MOUSE, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {6, ID_FOLLOW_KEYBOARD, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0},
    {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, {}, 0, 0},
};

HWND CreateTrackbar(HWND parent, int x, int y, int width, int height, int low, int high, int position) {
    HWND track = CreateWindowExA(0, TRACKBAR_CLASSA, nullptr, kTrackbarStyle, x, y, width, height, parent, nullptr,
                                 programInstance, nullptr);
    SendMessageA(track, TBM_SETRANGE, TRUE, MAKELPARAM(low, high));
    SendMessageA(track, TBM_SETPOS, TRUE, position);
    return track;
}

}  // namespace

int WindowHeight(HWND window) {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

HRESULT GetCommonControlsVersion(DWORD* major, DWORD* minor) {
    if (!major || !minor) return E_INVALIDARG;
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library) return E_FAIL;
    HRESULT result = S_OK;
    auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void (*)()>(GetProcAddress(library, "DllGetVersion")));
    if (!getVersion) {
        // Libraries before DllGetVersion are 4.0.
        *major = 4;
        *minor = 0;
    } else {
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof info;
        result = getVersion(&info);
        if (FAILED(result)) {
            result = E_FAIL;
        } else {
            *major = info.dwMajorVersion;
            *minor = info.dwMinorVersion;
        }
    }
    FreeLibrary(library);
    return result;
}

HWND CreateRebar(HWND parent) {
    DWORD major = 0, minor = 0;
    if (FAILED(GetCommonControlsVersion(&major, &minor)) || !rules::WantsRebar(major, minor)) return nullptr;
    return CreateWindowExA(0, REBARCLASSNAMEA, nullptr, kRebarStyle, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_REBAR)), programInstance, nullptr);
}

HWND CreateToolbar(HWND parent, HWND rebar, HWND tooltips) {
    // Images of 16 x 15 pixels, all seven of the strip; the buttons take their default size.
    HWND toolbar =
        CreateToolbarEx(rebar ? rebar : parent, rebar ? kToolbarInRebarStyle : kToolbarAloneStyle, IDC_TOOLBAR,
                        kToolbarImageCount, programInstance, IDB_TOOLBAR, kButtons, 0, 0, 0, kToolbarImageWidth,
                        kToolbarImageHeight, sizeof(TBBUTTON));
    SendMessageA(toolbar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tooltips), 0);
    // The indent goes in before the buttons: some toolbars lay their buttons out again only when
    // buttons are added, not when the indent changes.
    SendMessageA(toolbar, TB_SETINDENT, 4, 0);
    SendMessageA(toolbar, TB_ADDBUTTONSA, sizeof kButtons / sizeof kButtons[0], reinterpret_cast<LPARAM>(kButtons));
    if (rebar) {
        REBARBANDINFOA info = {};
        info.cbSize = offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT);  // the 80-byte form
        info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
        info.fStyle = RBBS_CHILDEDGE | RBBS_TOPALIGN;
        info.hwndChild = toolbar;
        info.cxMinChild = 0;
        info.cyMinChild = 21;
        info.cx = 100;
        SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
    }
    return toolbar;
}

void CreateTrackbars(HWND parent, HWND toolbar, bool inRebar, int zoom, int rate, HWND* zoomTrack, HWND* rateTrack) {
    // The trackbars sit right of the last button; they are made as children of parent, so that
    // their notifications go there, and then moved into the toolbar.
    RECT button = {0, 0, 0, 0};
    SendMessageA(toolbar, TB_GETRECT, kLastToolbarButton, reinterpret_cast<LPARAM>(&button));
    const int w = button.right - button.left, h = button.bottom - button.top;
    *zoomTrack = CreateTrackbar(parent, button.right + 2, button.top, 3 * w, h, rules::kMinZoom, rules::kMaxZoom, zoom);
    SetParent(*zoomTrack, toolbar);
    *rateTrack = CreateTrackbar(parent, button.right + 3 * w + 4, button.top, (3 * w) / 2, h, rules::kRateNone,
                                rules::kRateFast, rate);
    SetParent(*rateTrack, toolbar);
    if (!inRebar) {
        const LRESULT thumb = SendMessageA(*zoomTrack, TBM_GETTHUMBLENGTH, 0, 0) - 2;
        SendMessageA(*zoomTrack, TBM_SETTHUMBLENGTH, thumb, 0);
        SendMessageA(*rateTrack, TBM_SETTHUMBLENGTH, thumb, 0);
    }
}

HWND CreateStatusBar(HWND parent, const char* text) {
    HWND statusBar = CreateStatusWindowA(kStatusStyle, text, parent, IDC_STATUSBAR);
    SendMessageA(statusBar, SB_SETTEXTA, SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
    SendMessageA(statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return statusBar;
}

namespace {

struct PartWidths {
    int w0, w1, w3, swatch;
};

// The widest texts of the status-bar parts in the bar's own font, with their padding, and the
// swatch, at dpi.
PartWidths MeasureStatusParts(HWND statusBar, HWND measure, int dpi) {
    SIZE s0 = {0, 0}, s1 = {0, 0}, s3 = {0, 0};
    {
        HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(statusBar, WM_GETFONT, 0, 0));
        ScopedGetDC dc(measure);
        ScopedSelectObject selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        GetTextExtentPoint32A(dc, pressF1Text.GetText(), pressF1Text.GetLength(), &s0);
        GetTextExtentPoint32A(dc, widestColourText.GetText(), widestColourText.GetLength(), &s1);
        GetTextExtentPoint32A(dc, widestCoordsText.GetText(), widestCoordsText.GetLength(), &s3);
    }
    const int pad = rules::ScaleForDpi(6, dpi);
    return PartWidths{s0.cx + pad, s1.cx + pad, s3.cx + pad, rules::ScaleForDpi(rules::kSwatchWidth, dpi)};
}

}  // namespace

void SetStatusParts(HWND statusBar, HWND measure, int viewWidth, int statusHeight, int dpi) {
    const PartWidths p = MeasureStatusParts(statusBar, measure, dpi);
    int edges[4];
    rules::StatusPartEdges(p.w0, p.w1, p.w3, viewWidth, statusHeight, edges, p.swatch);
    SendMessageA(statusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
}

int StatusBarMinWidth(HWND statusBar, HWND measure, int statusHeight, int dpi) {
    const PartWidths p = MeasureStatusParts(statusBar, measure, dpi);
    return rules::StatusBarMinWidth(p.w0, p.w1, p.w3, statusHeight, p.swatch);
}

int ToolbarWidthFor(HWND parent, HWND toolbar, HWND last) {
    RECT client = {0, 0, 0, 0}, bar = {0, 0, 0, 0}, control = {0, 0, 0, 0};
    GetClientRect(parent, &client);
    GetClientRect(toolbar, &bar);
    MapWindowPoints(toolbar, parent, reinterpret_cast<POINT*>(&bar), 2);
    GetWindowRect(last, &control);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&control), 2);
    // What lies right of the toolbar (the band's edges) stays the same when the window narrows.
    return control.right + (client.right - bar.right);
}

int SetStatusFont(HWND statusBar, HFONT font) {
    SendMessageA(statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // The bar takes the height of its font when it is next sized.
    SendMessageA(statusBar, WM_SIZE, 0, 0);
    return WindowHeight(statusBar);
}

void ScaleToolbar(HWND toolbar, HIMAGELIST images, DWORD buttonSize, int indent) {
    // The indent first: it takes effect when the buttons are laid out again, which the new
    // images and sizes cause.
    SendMessageA(toolbar, TB_SETINDENT, static_cast<WPARAM>(indent), 0);
    SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, static_cast<LPARAM>(buttonSize));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
}

void SetBandChildHeight(HWND rebar, int height) {
    REBARBANDINFOA info = {};
    info.cbSize = offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT);
    info.fMask = RBBIM_CHILDSIZE;
    info.cxMinChild = 0;
    info.cyMinChild = static_cast<UINT>(height);
    SendMessageA(rebar, RB_SETBANDINFOA, 0, reinterpret_cast<LPARAM>(&info));
}

void PlaceTrackbars(HWND toolbar, HWND zoomTrack, HWND rateTrack, int dpi, int thumbLength) {
    RECT button = {0, 0, 0, 0};
    SendMessageA(toolbar, TB_GETRECT, kLastToolbarButton, reinterpret_cast<LPARAM>(&button));
    const int w = button.right - button.left, h = button.bottom - button.top;
    // The thumb first: a trackbar lays its channel and thumb out when it is sized.
    const int thumb = rules::ScaleForDpi(thumbLength, dpi, SystemDpi());
    SendMessageA(zoomTrack, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumb), 0);
    SendMessageA(rateTrack, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumb), 0);
    constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(zoomTrack, nullptr, button.right + rules::ScaleForDpi(2, dpi), button.top, 3 * w, h, flags);
    SetWindowPos(rateTrack, nullptr, button.right + 3 * w + rules::ScaleForDpi(4, dpi), button.top, (3 * w) / 2, h,
                 flags);
}

void AddAboutToSystemMenu(HWND window) {
    HMENU system = GetSystemMenu(window, FALSE);
    if (!system) return;
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    ResString about(IDS_SYS_ABOUT);
    AppendMenuA(system, MF_STRING, IDM_SYS_ABOUT, about.GetText());
}

void FillToolTipText(NMHDR* header) {
    if (header->code != TTN_NEEDTEXTA) return;
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    ResString command(static_cast<UINT>(header->idFrom));
    if (const char* text = command.GetText()) rules::TooltipText(text, info->szText, sizeof info->szText);
}

namespace {

// Menu items whose status help is not the string of their own id: Highlight's string would make
// it a toolbar command, the system menu's About is the general menu's, and the system's own items
// have no strings of ours.
const struct {
    WORD item;
    UINT help;
} kMenuHelp[] = {
    {ID_HIGHLIGHT, IDS_HIGHLIGHT_HELP}, {IDM_SYS_ABOUT, ID_ABOUT},  {SC_RESTORE, IDS_RESTORE_HELP},
    {SC_MOVE, IDS_MOVE_HELP},           {SC_SIZE, IDS_SIZE_HELP},   {SC_MINIMIZE, IDS_MINIMIZE_HELP},
    {SC_MAXIMIZE, IDS_MAXIMIZE_HELP},   {SC_CLOSE, IDS_CLOSE_HELP},
};

UINT MenuHelpString(WORD item) {
    for (const auto& row : kMenuHelp)
        if (row.item == item) return row.help;
    return item;
}

}  // namespace

void ShowMenuHelp(HWND statusBar, WORD item, WORD flags, HMENU menu) {
    if (!menu && flags == 0xFFFF) {
        // The menu has closed: the parts come back, part 0 with the text it always keeps.
        SendMessageA(statusBar, SB_SIMPLE, FALSE, 0);
        return;
    }
    char text[256];
    lstrcpynA(text, pressF1Text.GetText() ? pressF1Text.GetText() : "", sizeof text);
    if (menu && flags != 0xFFFF) {
        ResString command(MenuHelpString(item));
        if (const char* s = command.GetText()) {
            char help[256];
            if (rules::MenuHelpText(s, help, sizeof help)) lstrcpyA(text, help);
        }
    }
    // While a menu is open its help takes the whole bar: part 0 alone is too narrow for it.
    SendMessageA(statusBar, SB_SIMPLE, TRUE, 0);
    SendMessageA(statusBar, SB_SETTEXTA, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
}

void DrawSwatch(const DRAWITEMSTRUCT* item, COLORREF colour) {
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    FillRect(item->hDC, &item->rcItem, brush);
}
