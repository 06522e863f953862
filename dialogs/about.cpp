// The About box: version, notice, thanks, and two links that turn purple once opened.
#include <windows.h>
#include <shellapi.h>

#include <initializer_list>

#include "../app/globals.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../res/resource.h"
#include "dialogs.h"

namespace {

// What one showing of the box owns. It lives in RunAboutDialog's frame, so the font is freed
// however the dialog ends; the dialog keeps a pointer to it as its user data.
struct AboutState {
    ScopedGdiObject<HFONT> linkFont;
    // The statics' own window procedure; both links are statics, so one value serves both.
    WNDPROC staticProc = nullptr;
};

AboutState* StateOf(HWND dialog) {
    return reinterpret_cast<AboutState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPurple = RGB(128, 0, 128);
static_assert(kBlue == 0xFF0000 && kPurple == 0x800080, "0x00BBGGRR");

void OpenLink(HWND dialog, int control, ResString& target, int* used) {
    // Without the shell the link fails as one that no program opens.
    const auto shellExecute = SystemProc<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    const INT_PTR result = shellExecute ? reinterpret_cast<INT_PTR>(shellExecute(nullptr, "open", target.GetText(),
                                                                                 nullptr, nullptr, SW_SHOWNORMAL))
                                        : SE_ERR_DLLNOTFOUND;
    if (result > 32) {
        *used = 1;
        InvalidateRect(GetDlgItem(dialog, control), nullptr, FALSE);
    } else {
        MessageBeep(0);
    }
}

}  // namespace

namespace {

// The dotted focus frame around the link's text (not its whole control, which may be wider).
void DrawLinkFocus(HWND link) {
    RECT r = {0, 0, 0, 0};
    GetClientRect(link, &r);
    char text[128] = {};
    const int n = GetWindowTextA(link, text, sizeof text);
    ScopedGetDC dc(link);
    if (!dc) return;
    ScopedSelectObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(link, WM_GETFONT, 0, 0)));
    SIZE extent = {0, 0};
    if (GetTextExtentPoint32A(dc, text, n, &extent) && extent.cx < r.right) r.right = extent.cx;
    DrawFocusRect(dc, &r);
}

// Repaints the dialog's background under the link and the link over it: the link draws on a
// transparent background, so a focus frame is gone only once what lies beneath is drawn again.
void RedrawLink(HWND link) {
    RECT r;
    GetWindowRect(link, &r);
    HWND dialog = GetParent(link);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(dialog, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace

LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorA(programInstance, MAKEINTRESOURCEA(IDCUR_HAND)));
        return TRUE;
    case WM_GETDLGCODE:
        // Enter and Space belong to the focused link, not to the default button.
        if (lParam) {
            const MSG* m = reinterpret_cast<const MSG*>(lParam);
            if (m->message == WM_KEYDOWN && (m->wParam == VK_RETURN || m->wParam == VK_SPACE)) return DLGC_WANTMESSAGE;
        }
        return DLGC_STATIC;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE) {
            // Exactly what a click does.
            SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), STN_CLICKED),
                         reinterpret_cast<LPARAM>(window));
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        RedrawLink(window);
        return 0;
    default:
        break;
    }
    const AboutState* state = StateOf(GetParent(window));
    if (!state || !state->staticProc) return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = CallWindowProcA(state->staticProc, window, message, wParam, lParam);
    if (message == WM_PAINT && GetFocus() == window) DrawLinkFocus(window);
    return result;
}

namespace {

// Subclasses both links for their cursor and keys, puts them in the Tab order after OK, and gives
// them an underlined copy of the dialog font.
void InitialiseLinks(HWND dialog, AboutState* state) {
    for (int link : {IDC_EMAIL_LINK, IDC_WEB_LINK}) {
        HWND control = GetDlgItem(dialog, link);
        state->staticProc =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
        SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | WS_TABSTOP);
    }
    LOGFONTA font = {};
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!GetObjectA(dialogFont ? static_cast<HGDIOBJ>(dialogFont) : GetStockObject(DEFAULT_GUI_FONT), sizeof font,
                    &font))
        return;

    font.lfUnderline = TRUE;
    state->linkFont.reset(CreateFontIndirectA(&font));
    // Selecting the font at WM_CTLCOLORSTATIC is not enough where a static selects its own
    // font after asking for its colours (Wine does): give the links the font as theirs.
    for (int link : {IDC_EMAIL_LINK, IDC_WEB_LINK})
        SendDlgItemMessageA(dialog, link, WM_SETFONT, reinterpret_cast<WPARAM>(state->linkFont.get()), FALSE);
}

}  // namespace

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (auto* state = reinterpret_cast<AboutState*>(lParam)) InitialiseLinks(dialog, state);
        CentreWindowInWorkArea(GetParent(dialog), dialog);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id != IDC_EMAIL_LINK && id != IDC_WEB_LINK) return FALSE;
        const int used = id == IDC_EMAIL_LINK ? settings.Emailed : settings.Visited;
        HDC dc = reinterpret_cast<HDC>(wParam);
        const AboutState* state = StateOf(dialog);
        if (state && state->linkFont) SelectObject(dc, state->linkFont);
        SetTextColor(dc, used ? kPurple : kBlue);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        case IDC_EMAIL_LINK:
            if (HIWORD(wParam) == STN_CLICKED) OpenLink(dialog, IDC_EMAIL_LINK, emailTarget, &settings.Emailed);
            return FALSE;
        case IDC_WEB_LINK:
            if (HIWORD(wParam) == STN_CLICKED) OpenLink(dialog, IDC_WEB_LINK, webTarget, &settings.Visited);
            return FALSE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

void RunAboutDialog(HWND owner) {
    AboutState state;
    DialogBoxParamA(programInstance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialog, reinterpret_cast<LPARAM>(&state));
}
