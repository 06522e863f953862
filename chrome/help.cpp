// Context help: WinHelp calls, the hit test that gives every area its help id, What's This and
// the start-up check for a new help file.
#include "help.h"

#include <commctrl.h>

#include "../app/globals.h"
#include "../app/utils.h"
#include "rules.h"
#include "../res/resource.h"

void GetHelpFilePath(char* buffer, DWORD size) {
    buffer[0] = '\0';
    GetProgramDirectory(moduleHandle, buffer, size);
    const int used = lstrlenA(buffer);
    if (used + lstrlenA(PEERIX_HELP_FILE) < static_cast<int>(size)) lstrcpyA(buffer + used, PEERIX_HELP_FILE);
}

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void GetHelpRequestPath(char* buffer, DWORD size, bool underWine) {
    char folder[520] = "";
    GetProgramDirectory(moduleHandle, folder, sizeof folder);
    rules::HelpRequestPath(folder, underWine, buffer, size);
}

BOOL ShowHelp(HWND window, UINT command, ULONG_PTR data) {
    char path[520];
    GetHelpRequestPath(path, sizeof path, RunningUnderWine());
    return WinHelpA(window, path, command, data);
}

bool PointInWindow(HWND window, POINT p) {
    RECT r;
    if (!window || !IsWindow(window) || !GetWindowRect(window, &r)) return false;
    return PtInRect(&r, p) != FALSE;
}

bool GetFileWriteTime(const char* name, FILETIME* time) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    *time = found.ftLastWriteTime;
    FindClose(search);
    return true;
}

int BarHelpIdAt(POINT p, const BarWindows& bars) {
    if (PointInWindow(bars.rateTrack, p)) return HID_RATE_TRACK;
    if (PointInWindow(bars.zoomTrack, p)) return HID_ZOOM_TRACK;
    if (PointInWindow(bars.statusBar, p)) {
        int id = HID_STATUS_MENU_HELP;
        POINT s = p;
        ScreenToClient(bars.statusBar, &s);
        for (int part = 0; part < 4; ++part) {
            RECT r;
            if (SendMessageA(bars.statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r)) && PtInRect(&r, s))
                id = HID_STATUS_MENU_HELP + part;
        }
        return id;
    }
    POINT t = p;
    ScreenToClient(bars.toolbar, &t);
    const LRESULT index = bars.toolbar ? SendMessageA(bars.toolbar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&t)) : -1;
    TBBUTTON button = {};
    if (index >= 0 && SendMessageA(bars.toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)) &&
        button.idCommand != 0)
        return button.idCommand;
    if (PointInWindow(bars.toolbar, p) || PointInWindow(bars.band, p)) return HID_TOOLBAR;
    return 0;
}

bool HelpFileChanged(FILETIME* known) {
    // The file that help would open: the one beside the program, not one in the current folder.
    char path[MAX_PATH];
    GetHelpFilePath(path, sizeof path);
    FILETIME written;
    if (!GetFileWriteTime(path, &written) || CompareFileTime(&written, known) <= 0) return false;
    *known = written;
    return true;
}

void ShowWhatsThis(HWND owner, POINT screenPoint, int helpId) {
    POINT client = screenPoint;
    ScreenToClient(owner, &client);
    // WinHelp shows the popup at the window it is given, so a hidden child stands at the point.
    HWND spot = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD, client.x, client.y, 10, 10, owner,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)), programInstance, nullptr);
    DWORD ids[4] = {1, static_cast<DWORD>(helpId), 0, 0};
    ShowHelp(spot, HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(ids));
    if (spot) DestroyWindow(spot);
}
