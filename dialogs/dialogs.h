// The program's two dialogs, each run modally over its owner.
#ifndef PEERIX_DIALOGS_H
#define PEERIX_DIALOGS_H

#include <windows.h>

// The Options dialog; true when it ended with OK (the settings then hold the new values).
bool RunOptionsDialog(HWND owner);
INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Reads one rate field (updates per second); shows the error box and puts the focus back on the
// field when it is not a number from 1 to 50.
bool ReadRateField(HWND dialog, int id, UINT* value);

// The About box with its two links.
void RunAboutDialog(HWND owner);
INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
