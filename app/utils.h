// Small utilities shared by the whole program.
#ifndef PEERIX_UTILS_H
#define PEERIX_UTILS_H

#include <windows.h>

#include "types.h"

// The system's rectangles and points as the pure rules take them, and back.
inline rules::Rect ToRules(const RECT& r) {
    return rules::Rect{r.left, r.top, r.right, r.bottom};
}
inline RECT ToRECT(const rules::Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}
inline rules::Point ToRules(POINT p) {
    return rules::Point{p.x, p.y};
}
inline POINT ToPOINT(rules::Point p) {
    return POINT{p.x, p.y};
}

// Moves window so that its window rectangle is centred on reference's; false when either
// rectangle cannot be read or the move fails.
bool CentreWindow(HWND reference, HWND window);

// Centres window on reference where it then lies wholly on the work area of reference's monitor,
// else moves it the least distance onto that work area; false when a rectangle cannot be read or
// the move fails.
bool CentreWindowInWorkArea(HWND reference, HWND window);

// The work area of the monitor nearest to a window or a rectangle.
RECT WorkAreaNear(HWND window);
RECT WorkAreaNear(const RECT& r);

// Fills buffer with the directory of the module's file, ending in a backslash.
void GetProgramDirectory(HMODULE module, char* buffer, DWORD size);

// The system's own text for an error code, without its closing line break; empty when the system
// has none. size must not be 0.
void SystemErrorText(DWORD error, char* buffer, DWORD size);

// Shows the system's text for the calling thread's last error in an error box.
void ShowSystemError(HWND owner, const char* caption);

// An entry point of a system library that only some commands need (the Save dialog, the shell),
// so that a start does not pay for loading it. The library is loaded from the system folder on
// first use and stays for the rest of the run; null when it or the entry point is missing.
FARPROC SystemEntry(const char* library, const char* name);
// The same, typed: SystemProc<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA").
template <typename Proc>
Proc SystemProc(const char* library, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(SystemEntry(library, name)));
}

#endif
