// Context help: the help file beside the program and the one way into WinHelp.
#ifndef PEERIX_HELP_H
#define PEERIX_HELP_H

#include <windows.h>

// The help file's name; it lives in the program's folder.
#define PEERIX_HELP_FILE "Peerix.hlp"

// Calls WinHelp with the help file beside the program, shown in its "NormWin" window (under Wine
// without the window, see HelpRequestPath).
BOOL ShowHelp(HWND window, UINT command, ULONG_PTR data);

// True when the program runs under Wine (its ntdll exports wine_get_version).
bool RunningUnderWine();

// Fills buffer with the path ShowHelp passes to WinHelp, as built under Wine or on Windows.
void GetHelpRequestPath(char* buffer, DWORD size, bool underWine);

// The last-write time of the first file matching name; false when there is none.
bool GetFileWriteTime(const char* name, FILETIME* time);

// Fills buffer (at least MAX_PATH) with the help file's full path beside the program.
void GetHelpFilePath(char* buffer, DWORD size);

// True, with *known updated, when the help file beside the program was written after *known.
bool HelpFileChanged(FILETIME* known);

// The What's This popup for helpId at a screen point of owner's client area.
void ShowWhatsThis(HWND owner, POINT screenPoint, int helpId);

#endif
