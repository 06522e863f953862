// What a user sees of a running Peerix: its chrome windows, the view rectangle between them, and
// whether the view shows the expected magnification of the test pattern.
#ifndef PEERIX_E2E_VIEW_H
#define PEERIX_E2E_VIEW_H

#include <windows.h>

#include <string>

namespace e2e {

// The child windows of Peerix's main window, found by class (null when absent).
struct Chrome {
    HWND band = nullptr;  // the rebar, or the toolbar without one
    HWND toolbar = nullptr;
    HWND zoomTrack = nullptr;  // the trackbars sit inside the toolbar, zoom left of rate
    HWND rateTrack = nullptr;
    HWND statusBar = nullptr;
    HWND tooltip = nullptr;  // the toolbar's tooltip control, shared with the trackbars
};
Chrome FindChrome(HWND peerix);

// The view on the screen: the client area less the band (its height less 2) and the status bar
// where they are shown.
RECT ViewOnScreen(HWND peerix);

// The rectangle of the monitor nearest to p (the primary screen's when the system cannot say).
RECT MonitorNearest(POINT p);

// The screen pixel shown at the view's top-left corner for a point and zoom: the point in the
// middle of the magnified area, held inside the monitor nearest to it.
POINT SourceOrigin(const RECT& view, int zoom, POINT point);

// Waits until the view shows the pattern (of a variant) magnified around point; on timeout
// returns the last difference, else an empty string.
std::string WaitForView(HWND peerix, int zoom, POINT point, int variant = 0, int timeoutMs = 5000);
// The same check once, without waiting.
std::string CompareView(HWND peerix, int zoom, POINT point, int variant = 0);
// WaitForView for the point that a drag ended at, with the pointer there too. Under Wine the
// cursor position that the program reads while handling the last move can lag behind that move
// now and then, and no further move comes; a user's hand would move again, so this does too.
std::string SettleDrag(HWND peerix, int zoom, POINT at);

// The window rectangle that Peerix's main window needs, placed at (left, top), for a client area
// of this size (without the bars that is the view).
RECT WindowForClient(int left, int top, int clientWidth, int clientHeight);
// The smallest window Peerix lets itself be made (its WM_GETMINMAXINFO answer).
SIZE SmallestWindow(HWND peerix);
// The size of a first start: 320 x 200 at 96 DPI, or wider where the smallest window is.
SIZE FirstStartSize(HWND peerix);

// A trackbar's thumb in screen coordinates (TBM_GETTHUMBRECT through the other process).
RECT ThumbOnScreen(HWND trackbar);

}  // namespace e2e

#endif
