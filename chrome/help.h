// Context help: the one way into help. A topic opens as its page in the user's browser where the
// system has no WinHelp engine (Windows Vista on), else, and when no program opens the page, from
// the help file beside the program in WinHelp. Popups (What's This, the dialogs' control help)
// are Peerix's own on every system.
#ifndef PEERIX_HELP_H
#define PEERIX_HELP_H

#include <windows.h>

// The help file's name; it lives in the program's folder.
#define PEERIX_HELP_FILE "Peerix.hlp"
// The folder of the pages, in the program's folder.
#define PEERIX_HELP_PAGES "help"

// HELP_CONTEXT opens the topic of the id in data; HELP_WM_HELP and HELP_CONTEXTMENU show the
// popup of the help id in the (control id, help id) pair data points to, beside window;
// HELP_QUIT closes WinHelp. A missing page or help file is reported in a message box that names
// it; other failures are silent.
BOOL ShowHelp(HWND window, UINT command, ULONG_PTR data);

// True when the program runs under Wine (its ntdll exports wine_get_version).
bool RunningUnderWine();

// The system's major version: 5 for XP, 6 for Vista to 8.1, 10 for 10 and 11; 0 when unknown.
unsigned SystemMajorVersion();

// Fills buffer with the path ShowHelp passes to WinHelp, as built under Wine or on Windows: the
// program's folder in the help engine's code page, or its short form where the long one cannot
// be written in that code page.
void GetHelpRequestPath(char* buffer, DWORD size, bool underWine);

// The last-write time of the first file matching name; false when there is none.
bool GetFileWriteTime(const wchar_t* name, FILETIME* time);

// Fills buffer with the full path of the file that opens the main topic at start: the main
// topic's page where pages are the route, else the help file. False when it does not fit.
bool GetStartupHelpPath(wchar_t* buffer, DWORD size);

// True, with *known updated, when that file was written after *known.
bool HelpFileChanged(FILETIME* known);

// The What's This popup for helpId at a screen point of owner's client area.
void ShowWhatsThis(HWND owner, POINT screenPoint, int helpId);

#endif
