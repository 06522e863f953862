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

// Fills buffer with the directory of the module's file, ending in a backslash.
void GetProgramDirectory(HMODULE module, char* buffer, DWORD size);

// Shows the system's text for the calling thread's last error in an error box.
void ShowSystemError(HWND owner, const char* caption);

#endif
