#include "utils.h"

#include "rules.h"

bool CentreWindow(HWND reference, HWND window) {
    RECT ref, win;
    if (!GetWindowRect(reference, &ref) || !GetWindowRect(window, &win)) return false;
    int x = 0, y = 0;
    rules::CentredOrigin(ToRules(ref), ToRules(win), &x, &y);
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

namespace {

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return info.rcWork;
}

}  // namespace

RECT WorkAreaNear(HWND window) {
    return WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

RECT WorkAreaNear(const RECT& r) {
    return WorkAreaOf(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

bool CentreWindowInWorkArea(HWND reference, HWND window) {
    RECT ref, win;
    if (!GetWindowRect(reference, &ref) || !GetWindowRect(window, &win)) return false;
    const rules::Rect r = rules::CentredInside(ToRules(ref), ToRules(win), ToRules(WorkAreaNear(reference)));
    return SetWindowPos(window, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

void GetProgramDirectory(HMODULE module, char* buffer, DWORD size) {
    const DWORD n = GetModuleFileNameA(module, buffer, size);
    if (n == 0) return;
    rules::KeepDirectory(buffer, static_cast<int>(n));
}

void SystemErrorText(DWORD error, char* buffer, DWORD size) {
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, size, nullptr);
    if (n >= size) n = 0;
    while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r' || buffer[n - 1] == ' ')) --n;
    buffer[n] = '\0';
}

void ShowSystemError(HWND owner, const char* caption) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                   GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
                   nullptr);
    MessageBoxA(owner, text, caption, MB_ICONERROR);
    LocalFree(text);
}

FARPROC SystemEntry(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) {
        // By its full path: a file of the same name beside the program must not be loaded.
        char path[MAX_PATH];
        const UINT n = GetSystemDirectoryA(path, MAX_PATH);
        if (n == 0 || n + 1 + static_cast<UINT>(lstrlenA(library)) >= MAX_PATH) return nullptr;
        path[n] = '\\';
        lstrcpyA(path + n + 1, library);
        module = LoadLibraryA(path);
    }
    return module ? GetProcAddress(module, name) : nullptr;
}
