#include "utils.h"

#include "rules.h"

bool CentreWindow(HWND reference, HWND window) {
    RECT ref, win;
    if (!GetWindowRect(reference, &ref) || !GetWindowRect(window, &win)) return false;
    int x = 0, y = 0;
    rules::CentredOrigin(ToRules(ref), ToRules(win), &x, &y);
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

void GetProgramDirectory(HMODULE module, char* buffer, DWORD size) {
    const DWORD n = GetModuleFileNameA(module, buffer, size);
    if (n == 0) return;
    rules::KeepDirectory(buffer, static_cast<int>(n));
}

void ShowSystemError(HWND owner, const char* caption) {
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                   GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
                   nullptr);
    MessageBoxA(owner, text, caption, MB_ICONERROR);
    LocalFree(text);
}
