// Context help: WinHelp calls, What's This and the start-up check for a new help file.
#include "help.h"

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

bool GetFileWriteTime(const char* name, FILETIME* time) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(name, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    *time = found.ftLastWriteTime;
    FindClose(search);
    return true;
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
