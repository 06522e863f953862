// Copies of the live screen, and putting them on the clipboard.
#ifndef PEERIX_CAPTURE_H
#define PEERIX_CAPTURE_H

#include <windows.h>

#include "rules.h"

// The one way the screen is drawn: stretches the screen pixels of source into target with its
// top-left corner at (x, y), each pixel a scale x scale block. Only the pixels inside bounds are
// read (a stretch that reaches past the screen's edge may draw nothing at all); the blocks of
// those outside are black. Draws through target's clip region.
void StretchScreen(HDC target, int x, int y, const rules::Rect& source, const rules::Rect& bounds, int scale);

// The pixel grid over a view showing zoom x zoom blocks from its top-left corner: one-pixel lines
// on the edges between the blocks (rules::GridLines), dotted black and white so that they show on
// any picture.
void DrawPixelGrid(HDC target, const RECT& view, int zoom);

// A new screen-compatible bitmap of the area's bitmap size holding its screen pixels, each
// stretched to a whole block; what lies outside bounds stays black. Null on failure. The caller
// owns the bitmap.
HBITMAP CaptureScreen(const rules::CaptureArea& area, const rules::Rect& bounds);

enum class ClipboardResult {
    Copied,
    Busy,    // another program holds the clipboard open
    Failed,  // nothing to copy, or the clipboard refused it
};

// Hands the bitmap to the clipboard as CF_BITMAP and, when png is given, the same pixels in the
// registered format "PNG" that browsers and chat programs read. The clipboard takes both (png is
// a moveable block); what it does not take is freed. On any failure the clipboard is closed again
// and the speaker beeps.
ClipboardResult CopyBitmapToClipboard(HWND owner, HBITMAP bitmap, HGLOBAL png = nullptr);

// Puts text (ASCII) on the clipboard as Unicode text, or beeps.
ClipboardResult CopyTextToClipboard(HWND owner, const char* text);

#endif
