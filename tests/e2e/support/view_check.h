// What Peerix's view should show over a PatternWindow, and what the selection draws on it: the
// inverted frame and the marching ants.
#ifndef PEERIX_E2E_VIEW_CHECK_H
#define PEERIX_E2E_VIEW_CHECK_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/screen.h"

namespace e2e {

struct ExpectedView {
    POINT client = {};  // the window's client origin on the screen
    RECT view = {};     // the view in client coordinates
    int zoom = 1;
    int sourceLeft = 0, sourceTop = 0;  // the screen pixel shown at the view's top-left
};

// The view of a Peerix window that shows `point` at `zoom`, with the view starting viewTop
// pixels below the client area's top (the band) and ending bottomCut pixels above its bottom
// (the status bar). The point is held inside the screen as the program holds it.
ExpectedView ViewOf(HWND window, int zoom, POINT point, int viewTop = 0, int bottomCut = 0);

// Where the picture of a view without a status bar starts below the band: the first client row,
// in column x, that shows a pixel of the pattern painted over patternArea, once the whole view
// from that row down shows the pattern around `point` at `zoom`. -1 on timeout.
int WaitForPictureTop(HWND window, int zoom, POINT point, const RECT& patternArea, int x, int timeoutMs = 5000);

// Compares the screen with the magnified pattern. `frame` (client coordinates, right and bottom
// edges included, may be null) is expected inverted; screen rectangles in `covered` (windows in
// front of the view) are skipped. Empty when everything matches.
std::string CompareView(const ExpectedView& v, const RECT* frame = nullptr, const std::vector<RECT>& covered = {});

// Waits until CompareView finds no difference; the last difference is left in diff.
bool WaitForView(const ExpectedView& v, const RECT* frame, const std::vector<RECT>& covered, std::string* diff,
                 int timeoutMs = 5000);

// The marching ants' phase (0, 2, 4 or 6) shown along bounds (client coordinates of the window
// whose client origin is at `client` on the screen), or -1 when the four edges do not all show
// the dashes of one phase.
int AntsPhaseOnScreen(POINT client, const RECT& bounds);

// With PEERIX_SHOTS set to a folder, saves what the screen shows in area there as name.bmp, for a
// person to look at; does nothing otherwise.
void SaveShot(const char* name, const RECT& area);

}  // namespace e2e

#endif
