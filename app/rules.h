// Pure rules of the application shell: no Win32 calls, so the host tests can pin them down.
#ifndef PEERIX_APP_RULES_H
#define PEERIX_APP_RULES_H

#include <cstdint>

#include "types.h"

namespace rules {

// Older wheel-mouse drivers send a registered message instead of WM_MOUSEWHEEL on the first
// releases of both families: the 95 family at exactly 4.0 and NT at exactly 3.0. The low word
// (major and minor together) is compared whole.
bool WantsWheelMessage(uint32_t version);

// A stored window rectangle must have a positive width and height to be usable.
bool HasArea(const Rect& r);

// The placement's normal rectangle is relative to the work area; the window is created in
// screen coordinates. workLeft/workTop are the work area's offset from the monitor's origin.
Rect WorkAreaToScreen(const Rect& r, int workLeft, int workTop);

// Where to put a window so that it is centred on a reference window (signed division,
// truncating toward zero, no clamping to the screen).
void CentredOrigin(const Rect& reference, const Rect& window, int* x, int* y);

// The rectangle moved the least distance that puts it wholly inside area, its size kept. One wider
// or taller than the area is aligned with the area's left or top edge.
Rect KeepInside(const Rect& r, const Rect& area);

// A window centred on its reference where that fits the work area, else moved the least distance
// onto it.
Rect CentredInside(const Rect& reference, const Rect& window, const Rect& work);

// A stored main-window rectangle checked against the work area of its nearest monitor. It is kept
// as it is when it fits the work area and its caption can be grabbed: at least half of the
// caption's height (captionHeight, from the window's top) over a strip of minStrip pixels, or the
// whole width of a narrower window, lies on the work area. Otherwise it is shrunk to the work
// area where larger and moved the least distance onto it.
Rect RescueWindow(const Rect& stored, const Rect& work, int captionHeight, int minStrip);

// The main window's size at a first start: 320 x 200 as designed at 96 DPI, scaled to dpi.
Point DefaultWindowSize(int dpi);

// Cuts a module file name after its last backslash in place. Position 0 is never examined; with
// no backslash the name stays whole.
void KeepDirectory(char* path, int length);

}  // namespace rules

#endif
