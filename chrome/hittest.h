// The help hit test of the main window's bars.
#ifndef PEERIX_HITTEST_H
#define PEERIX_HITTEST_H

#include <windows.h>

// True when window exists and the screen point lies in its window rectangle (right and bottom
// edges excluded); a hidden window counts with its rectangle.
bool PointInWindow(HWND window, POINT screenPoint);

// The windows of the main window's bars, for the help hit test.
struct BarWindows {
    HWND band, toolbar, zoomTrack, rateTrack, statusBar;
};

// The context-help id of a screen point on the bars: a trackbar, a status-bar part, a toolbar
// button (its command id) or the rest of the band; 0 elsewhere.
int BarHelpIdAt(POINT screenPoint, const BarWindows& bars);

#endif
