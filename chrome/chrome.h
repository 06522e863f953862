// The main window's bars: the rebar band, the toolbar, the two trackbars and the status bar, and
// the texts they show. The windows are children of the window passed in, which destroys them.
#ifndef PEERIX_CHROME_H
#define PEERIX_CHROME_H

#include <windows.h>
#include <commctrl.h>

#include "../res/resource.h"

// The toolbar's bitmap: a strip of seven images of 16 x 15 pixels; image 4 is drawn but used by no
// button.
constexpr int kToolbarImageCount = 7;
// The last button: the trackbars sit right of it, and the window's smallest width leaves room up
// to it.
constexpr UINT kLastToolbarButton = ID_FOLLOW_KEYBOARD;
constexpr int kToolbarImageWidth = 16, kToolbarImageHeight = 15;

// The common-controls library's version through its DllGetVersion; 4.0 when it has none.
HRESULT GetCommonControlsVersion(DWORD* major, DWORD* minor);

// The rebar, when the common controls are new enough for one; null otherwise.
HWND CreateRebar(HWND parent);
// The toolbar with its buttons and tooltips, as a band of rebar or, without one, in parent.
HWND CreateToolbar(HWND parent, HWND rebar, HWND tooltips);
// The zoom and rate trackbars, placed in the toolbar right of its last button.
void CreateTrackbars(HWND parent, HWND toolbar, bool inRebar, int zoom, int rate, HWND* zoomTrack, HWND* rateTrack);
// The status bar showing text in its first part.
HWND CreateStatusBar(HWND parent, const char* text);
int WindowHeight(HWND window);

// Measures the widest texts of the four status-bar parts in the status bar's own font, in
// measure's device context, and sets the parts for a view viewWidth wide at dpi.
void SetStatusParts(HWND statusBar, HWND measure, int viewWidth, int statusHeight, int dpi);
// The narrowest status bar of that height that shows its four parts, measured at dpi as
// SetStatusParts measures them, clear of the size grip.
int StatusBarMinWidth(HWND statusBar, HWND measure, int statusHeight, int dpi);
// The client width of parent at which the toolbar in it still shows all of `last`, a control in
// the toolbar: that control's right edge plus what lies right of the toolbar's client area now.
int ToolbarWidthFor(HWND parent, HWND toolbar, HWND last);
// Gives the status bar another font and returns its new height.
int SetStatusFont(HWND statusBar, HFONT font);

// Gives the toolbar other images (each button as wide and high as buttonSize says: width in the
// low, height in the high word) and another indent.
void ScaleToolbar(HWND toolbar, HIMAGELIST images, DWORD buttonSize, int indent);
// The height the rebar's band asks for its toolbar.
void SetBandChildHeight(HWND rebar, int height);
// Places the trackbars right of the Follow Mouse button again, with gaps for dpi and thumbs
// scaled from thumbLength, the trackbars' own at the system's DPI.
void PlaceTrackbars(HWND toolbar, HWND zoomTrack, HWND rateTrack, int dpi, int thumbLength);
// Appends a separator and "About Peerix..." to the window's system menu.
void AddAboutToSystemMenu(HWND window);

// Answers a tooltip's TTN_NEEDTEXT with the command string's tooltip part.
void FillToolTipText(NMHDR* header);
// Shows a menu item's status help, or the default text, in the status bar's first part.
void ShowMenuHelp(HWND statusBar, WORD item, WORD flags, HMENU menu);
// Fills the owner-drawn swatch part with colour.
void DrawSwatch(const DRAWITEMSTRUCT* item, COLORREF colour);

#endif
