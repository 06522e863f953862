// The Options dialog: three refresh rates in updates per second, the colour format, the cursor
// drawn while following, single-instance start-up and the format of copied colours.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "../app/globals.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../chrome/help.h"
#include "../res/resource.h"
#include "dialogs.h"
#include "rules.h"

namespace {

struct RateField {
    int edit, spin;
    int Settings::*interval;
};
const RateField kRates[] = {
    {IDC_SLOW, IDC_SLOW_SPIN, &Settings::Update1},
    {IDC_MEDIUM, IDC_MEDIUM_SPIN, &Settings::Update2},
    {IDC_FAST, IDC_FAST_SPIN, &Settings::Update3},
};

void Initialise(HWND dialog) {
    CentreWindowInWorkArea(GetParent(dialog), dialog);
    // The template stores each control's help id; some systems (Wine) do not pass them on to the
    // controls, so fill in the ones left at 0 by the same rule.
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(c);
        if (id != -1 && GetWindowContextHelpId(c) == 0)
            SetWindowContextHelpId(c, HID_OPTIONS_BASE + static_cast<DWORD>(id));
    }
    for (const RateField& f : kRates) {
        // Upper limit in the low word, lower in the high word: the up arrow counts up.
        SendDlgItemMessageA(dialog, f.spin, UDM_SETRANGE, 0, MAKELPARAM(rules::kMaxRate, rules::kMinRate));
        SetDlgItemInt(dialog, f.edit, static_cast<UINT>(rules::RateForInterval(settings.*f.interval)), FALSE);
    }
    CheckDlgButton(dialog, IDC_SHOW_CURSOR, static_cast<UINT>(settings.DisplayMouseWhenFollowing));
    CheckDlgButton(dialog, IDC_SINGLE_INSTANCE, static_cast<UINT>(settings.SingleInstance));
    CheckRadioButton(dialog, IDC_RGB, IDC_HEX, settings.DisplayRGBColourPanel ? IDC_RGB : IDC_HEX);
    // The three formats' buttons follow each other in the order of their values.
    CheckRadioButton(dialog, IDC_COPY_HASH, IDC_COPY_DECIMAL, IDC_COPY_HASH + settings.ColourCopyFormat);
}

// OK: every rate must be valid before anything is stored; the first invalid one stops it.
bool Accept(HWND dialog) {
    UINT values[3];
    for (int i = 0; i < 3; ++i)
        if (!ReadRateField(dialog, kRates[i].edit, &values[i])) return false;
    for (int i = 0; i < 3; ++i) settings.*kRates[i].interval = rules::IntervalForRate(static_cast<int>(values[i]));
    settings.DisplayMouseWhenFollowing = IsDlgButtonChecked(dialog, IDC_SHOW_CURSOR) == BST_CHECKED ? 1 : 0;
    settings.DisplayRGBColourPanel = IsDlgButtonChecked(dialog, IDC_RGB) == BST_CHECKED ? 1 : 0;
    settings.SingleInstance = IsDlgButtonChecked(dialog, IDC_SINGLE_INSTANCE) == BST_CHECKED ? 1 : 0;
    for (int id = IDC_COPY_HASH; id <= IDC_COPY_DECIMAL; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) settings.ColourCopyFormat = id - IDC_COPY_HASH;
    EndDialog(dialog, IDOK);
    return true;
}

void HelpForControl(HWND control, UINT command) {
    DWORD ids[4] = {static_cast<DWORD>(GetDlgCtrlID(control)), GetWindowContextHelpId(control), 0, 0};
    ShowHelp(control, command, reinterpret_cast<ULONG_PTR>(ids));
}

void ContextHelp(HWND dialog, LPARAM lParam) {
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};  // signed: monitors left of the primary
    HWND window;
    if (p.x == -1 && p.y == -1) {
        // The keyboard form (Shift+F10, the Menu key): help for the control with the focus.
        window = GetFocus();
        if (!window || (window != dialog && !IsChild(dialog, window))) return;
    } else {
        ScreenToClient(dialog, &p);
        window = ChildWindowFromPoint(dialog, p);
        if (!window) return;
    }
    if (GetWindowLongA(window, GWL_ID) == -1) return;  // labels and group boxes have no help
    HelpForControl(window, HELP_CONTEXTMENU);
}

}  // namespace

bool ReadRateField(HWND dialog, int id, UINT* value) {
    // Not GetDlgItemInt: it stops at the first character that is no digit and still reports a
    // number, so "1e3" would be taken as 1. A text longer than the buffer is no rate either.
    char typed[64];
    *value = 0;
    const int length = GetDlgItemTextA(dialog, id, typed, sizeof typed);
    const bool number = length < static_cast<int>(sizeof typed) - 1 && rules::ParseDecimal(typed, value);
    if (rules::ValidRate(number, *value)) return true;
    ResString text(IDS_INVALID_UPDATE);
    MessageBoxA(dialog, text.GetText(), errorCaption.GetText(), MB_ICONERROR);
    SetFocus(GetDlgItem(dialog, id));
    return false;
}

INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Initialise(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) return Accept(dialog) ? TRUE : FALSE;
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        if (info->iCtrlId == 0) return FALSE;
        DWORD ids[4] = {static_cast<DWORD>(info->iCtrlId), static_cast<DWORD>(info->dwContextId), 0, 0};
        ShowHelp(static_cast<HWND>(info->hItemHandle), HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(ids));
        return TRUE;
    }
    case WM_CONTEXTMENU:
        ContextHelp(dialog, lParam);
        return FALSE;
    default:
        return FALSE;
    }
}

bool RunOptionsDialog(HWND owner) {
    // The start-up registers only the bar classes; the dialog's spin buttons need theirs.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    return DialogBoxParamA(programInstance, MAKEINTRESOURCEA(IDD_OPTIONS), owner, OptionsDlgProc, 0) == IDOK;
}
