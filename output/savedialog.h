// The Save As dialog of the save commands.
#ifndef PEERIX_SAVEDIALOG_H
#define PEERIX_SAVEDIALOG_H

#include <windows.h>

// Asks for a file name in the Save As dialog, extended by the "Save Zoomed Image" check box that
// *zoomed sets on entry and reports back. file holds the proposed name on entry; *type (an
// image type) chooses the filter shown first and reports the type the chosen file is written as.
// False when the user cancelled.
bool AskSaveFileName(HWND owner, const char* initialDirectory, char* file, DWORD size, bool* zoomed, int* type);

// The Save As dialog's hook for the "Save Zoomed Image" check box.
UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
