// Creating the main window, and handing over to an instance that is already running.
#ifndef PEERIX_STARTUP_H
#define PEERIX_STARTUP_H

#include <windows.h>

#define PEERIX_CLASS_NAME "PeerixMainWnd"

// Creates and shows the main window at the saved rectangle. Null when the window could not be
// made (an error box has said why) or when a running instance took over instead.
HWND CreateMainWindow(HINSTANCE instance, int showCommand);

// Brings a running instance's window (or the dialog it has open) to the front, restoring it if
// minimised; false when there is none.
bool ActivateEarlierInstance();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
