// The window and dialog helpers of both tiers: finding and reading dialog boxes and message boxes
// (of another process, or of another thread of this one) as a user sees them, and the texts,
// classes and rectangles of any window. WM_GETTEXT and the button messages carry no pointers
// across, so plain calls work.
#ifndef PEERIX_E2E_DIALOGS_H
#define PEERIX_E2E_DIALOGS_H

#include <windows.h>

#include <initializer_list>
#include <string>

namespace dialogs {

// The process's visible dialog box (class "#32770") with this caption, or null.
HWND Find(DWORD pid, const char* caption);
// Waits for it; null on timeout.
HWND WaitFor(DWORD pid, const char* caption, int timeoutMs = 5000);
// Waits until the window no longer exists or is hidden.
bool WaitGone(HWND window, int timeoutMs = 5000);

// A window's text (WM_GETTEXT, which crosses processes), and a dialog item's.
std::string Text(HWND window);
std::string ItemText(HWND dialog, int id);
// A window's class name.
std::string ClassOf(HWND window);
// The text of a message box (its static text, id 0xFFFF).
std::string MessageBoxText(HWND box);
// The system's own text for an error code, without its closing line break, as a message that
// quotes it shows it.
std::string SystemText(DWORD error);
// The window that has the keyboard focus in window's thread.
HWND Focused(HWND window);

// A window's rectangle on the screen, and its centre.
RECT Rect(HWND window);
POINT Centre(HWND window);
// A window's rectangle in the client coordinates of another (its parent, say).
RECT RectIn(HWND window, HWND other);
// The origin at which a window is centred on a reference window (differences truncated toward
// zero, no clamping), for comparing with where it actually is.
POINT CentredOrigin(HWND reference, HWND window);

// Clicks the middle of a window (a button, a check box, a field) with the left button.
void ClickCentre(HWND window);

// Replaces the text of an edit field as a user does: click into it, rub out what is there, type.
void TypeInto(HWND edit, const char* text);

// Presses a key chord on the foreground window until the process shows the dialog with this
// caption (at most three tries); the dialog or null. Under Wine a window that has just come to
// the front can receive the X server's idea of the modifier keys (all up) a moment later, which
// drops the modifier of a chord sent in that moment; pressing again is what a user would do.
HWND PressForDialog(DWORD pid, const char* caption, WORD key, std::initializer_list<WORD> modifiers);

}  // namespace dialogs

#endif
