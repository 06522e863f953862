// Pure rules of the selection and of the images that leave the program: snapping, the size tip's
// place, Zoom To, the captured rectangle, the .bmp layout and two small string rules.
#ifndef PEERIX_OUTPUT_RULES_H
#define PEERIX_OUTPUT_RULES_H

#include <cstddef>
#include <cstdint>

#include "../app/types.h"

namespace rules {

// The selection snapped to whole magnified pixels of the view: from the pixel holding the
// top-left corner up to, not including, the one holding the bottom-right corner.
Rect SnapSelection(Point anchor, Point current, Rect view, int zoom);

// A pointer position held inside the view; both the right and the bottom edge are allowed.
Point ClampIntoView(int x, int y, Rect view);

// Where the size tip's bottom-left corner goes, in client coordinates (not relative to the view).
Point TipPosition(Point anchor, int zoom);

// The screen pixels a snapped selection s covers in view v, whose first wholly shown pixel is
// visible's top-left one.
Rect SelectedPixels(Rect visible, Rect view, Rect selection, int zoom);

// Zoom To: the selected screen pixels, and the zoom that shows them largest while they fit both
// the view's width and its height: the current zoom times the smaller of the view's width over
// the selection's and its height over the selection's, at least 1, at most 32. The selection has
// a width and a height.
struct ZoomTarget {
    Rect pixels;
    int zoom;
};
ZoomTarget ZoomTo(Rect selection, Rect view, Rect visible, int zoom);

// The marching ants' phase after one drawing: 2 pixels on, back to 0 after 6.
int NextAntsPhase(int phase);

// What a copy takes from the screen: each source pixel becomes a scale x scale block, and the
// bitmap's size cuts the last blocks where the view cuts them.
struct CaptureArea {
    Rect source;  // screen pixels
    int scale;
    int bitmapWidth, bitmapHeight;
};
// visible is the screen rectangle the view shows at least partly.
CaptureArea CaptureRect(bool zoomed, bool useSelection, Rect visible, Rect view, Rect selection, int zoom);

// One stretch of screen pixels by a whole factor, limited to the part of source inside bounds:
// the screen can give nothing beyond its edges (Wine draws nothing at all when asked to).
// destX, destY is where source's own top-left corner lands; srcWidth or srcHeight is 0 or less
// when no part of source lies inside.
struct Stretch {
    int destX, destY, destWidth, destHeight;
    int srcX, srcY, srcWidth, srcHeight;
    bool partial;  // some of source lay outside: the rest of the destination must be filled
};
Stretch StretchWithin(Rect source, Rect bounds, int scale, int destX, int destY);

// .bmp layout: bytes per pixel row (padded to 32 bits), colour-table entries and the file's size.
uint32_t DibRowBytes(int bitCount, int width);
// The colour table's entries: clrUsed (as a 16-bit value) when not 0, else 2, 16 or 256 for 1, 4
// and 8 bits per pixel and none for deeper pixels.
uint16_t DibColourCount(int bitCount, uint32_t clrUsed);
struct BmpLayout {
    uint32_t tableBytes, imageBytes, pixelOffset, fileSize;
};
BmpLayout LayoutBmp(int bitCount, int width, int height, uint32_t clrUsed);

// The folder part of a path (up to its last backslash, which is dropped); empty without one.
// False, with dest untouched, when the folder does not fit destSize bytes with its terminator.
bool CopyDirectoryPart(const char* path, char* dest, size_t destSize);

// Joins count lines into dest with a line break after each but the last, each line's trailing
// spaces and line breaks left out (system texts end in one). Cut to destSize - 1 characters; dest
// is always terminated. destSize must not be 0.
void JoinLines(char* dest, size_t destSize, const char* const* lines, int count);

// Replaces every `from` by `to` up to the terminating NUL.
void ReplaceChar(char* s, char from, char to);

}  // namespace rules

#endif
