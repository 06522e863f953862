// The Save As dialog: PNG or .bmp, a proposed name, and the "Save Zoomed Image" check box of our
// own template.
#include "savedialog.h"

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <windowsx.h>

#include <cstddef>

#include "../app/globals.h"
#include "../app/resstring.h"
#include "../app/utils.h"
#include "../chrome/help.h"
#include "../res/resource.h"
#include "rules.h"

namespace {

// The check box's state while the Save As dialog is open.
bool saveZoomedCheck = false;

#ifndef _WIN64
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the file dialog record up to its template");
#endif

// A new type chosen in the dialog: a name typed without an extension gets the type's, and a name
// ending in the other type's extension (the proposed one) changes with it.
void FollowType(HWND fileDialog, DWORD filterIndex) {
    const int type = rules::Clamp(static_cast<int>(filterIndex) - 1, 0, 1);
    SendMessageA(fileDialog, CDM_SETDEFEXT, 0, reinterpret_cast<LPARAM>(rules::ImageExtension(type)));
    char name[MAX_PATH] = "";
    if (SendMessageA(fileDialog, CDM_GETSPEC, sizeof name, reinterpret_cast<LPARAM>(name)) <= 0) return;
    if (rules::SwapImageExtension(name, type)) {
        // The name box is a combo box on newer systems and an edit box on older ones.
        SendMessageA(fileDialog, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(name));
        SendMessageA(fileDialog, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(name));
    }
}

// The proposed name selected, as a name box that opens with one is on most systems, so that
// typing a name replaces it.
void SelectProposedName(HWND fileDialog) {
    if (HWND combo = GetDlgItem(fileDialog, cmb13))
        PostMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else if (HWND edit = GetDlgItem(fileDialog, edt1))
        PostMessageA(edit, EM_SETSEL, 0, -1);
}

}  // namespace

UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static DWORD ids[4] = {IDC_SAVE_ZOOMED, HID_SAVE_ZOOMED, 0, 0};
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_SAVE_ZOOMED, BM_SETCHECK, saveZoomedCheck ? BST_CHECKED : BST_UNCHECKED, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SAVE_ZOOMED && HIWORD(wParam) == BN_CLICKED)
            saveZoomedCheck = SendDlgItemMessageA(dialog, IDC_SAVE_ZOOMED, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return 0;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == CDN_TYPECHANGE)
            FollowType(GetParent(dialog), reinterpret_cast<const OFNOTIFYA*>(lParam)->lpOFN->nFilterIndex);
        else if (reinterpret_cast<const NMHDR*>(lParam)->code == CDN_INITDONE)
            SelectProposedName(GetParent(dialog));
        return 0;
    case WM_HELP:
        if (reinterpret_cast<const HELPINFO*>(lParam)->iCtrlId == 0) return 0;
        ShowHelp(GetDlgItem(dialog, IDC_SAVE_ZOOMED), HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(ids));
        return 1;
    case WM_CONTEXTMENU: {
        const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        HWND box = GetDlgItem(dialog, IDC_SAVE_ZOOMED);
        if (!box || WindowFromPoint(p) != box) return 0;
        ShowHelp(box, HELP_CONTEXTMENU, reinterpret_cast<ULONG_PTR>(ids));
        return 1;
    }
    default:
        return 0;
    }
}

bool AskSaveFileName(HWND owner, const char* initialDirectory, char* file, DWORD size, bool* zoomed, int* type) {
    ResString filterText(IDS_SAVE_FILTER);
    char filter[128] = {};
    if (filterText.GetText()) lstrcpynA(filter, filterText.GetText(), sizeof filter - 1);
    // "PNG image (*.png)|*.png|Bitmap (*.bmp)|*.bmp||" becomes two filters and the list's closing
    // double NUL, in the order of the image types.
    rules::ReplaceChar(filter, '|', '\0');

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.hInstance = programInstance;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = static_cast<DWORD>(*type) + 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = size;
    dialog.lpstrInitialDir = initialDirectory;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_NOREADONLYRETURN |
                   OFN_EXPLORER | OFN_ENABLESIZING;
    dialog.lpstrDefExt = rules::ImageExtension(*type);
    dialog.lpfnHook = SaveDialogHook;
    dialog.lpTemplateName = MAKEINTRESOURCEA(IDD_SAVE_TEMPLATE);
    saveZoomedCheck = *zoomed;
    // Without the dialog's library, as without a dialog: nothing is saved.
    const auto getSaveFileName = SystemProc<decltype(&GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
    if (!getSaveFileName || !getSaveFileName(&dialog)) return false;
    *zoomed = saveZoomedCheck;
    *type = rules::ImageTypeForPath(file, rules::Clamp(static_cast<int>(dialog.nFilterIndex) - 1, 0, 1));
    return true;
}
