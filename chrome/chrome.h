// The main window's bars: the rebar band, the toolbar, the two trackbars and the status bar, and
// the texts they show. The windows are children of the window passed in, which destroys them.
#ifndef PEERIX_CHROME_H
#define PEERIX_CHROME_H

#include <windows.h>
#include <commctrl.h>

// The common-controls library's version through its DllGetVersion; 4.0 when it has none.
HRESULT GetCommonControlsVersion(DWORD* major, DWORD* minor);

// The rebar, when the common controls are new enough for one; null otherwise.
HWND CreateRebar(HWND parent);
// The toolbar with its buttons and tooltips, as a band of rebar or, without one, in parent.
HWND CreateToolbar(HWND parent, HWND rebar, HWND tooltips);
// The zoom and rate trackbars, placed in the toolbar right of the Follow Mouse button.
void CreateTrackbars(HWND parent, HWND toolbar, bool inRebar, int zoom, int rate, HWND* zoomTrack, HWND* rateTrack);
// The status bar showing text in its first part.
HWND CreateStatusBar(HWND parent, const char* text);
int WindowHeight(HWND window);

// Measures the widest texts of the four status-bar parts in measure's device context and sets
// the parts for a view viewWidth wide.
void SetStatusParts(HWND statusBar, HWND measure, int viewWidth, int statusHeight);
// Appends a separator and "About Peerix..." to the window's system menu.
void AddAboutToSystemMenu(HWND window);

// Answers a tooltip's TTN_NEEDTEXT with the command string's tooltip part.
void FillToolTipText(NMHDR* header);
// Shows a menu item's status help, or the default text, in the status bar's first part.
void ShowMenuHelp(HWND statusBar, WORD item, WORD flags, HMENU menu);
// Fills the owner-drawn swatch part with colour.
void DrawSwatch(const DRAWITEMSTRUCT* item, COLORREF colour);

#endif
