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

// Where the pixel grid's one-pixel lines go along one axis of the view: *count lines, at *first
// and every zoom pixels after it. Each is the first coordinate of a magnified pixel other than
// the view's first, so it runs on the edge between two pixels, the partly shown last one
// included. No lines below kMinGridZoom, where they would hide the picture.
constexpr int kMinGridZoom = 4;
void GridLines(int viewStart, int viewLength, int zoom, int* first, int* count);

// A colour as text for the clipboard, red first whatever the format: "#FA0AC8",
// "rgb(250, 10, 200)" or "250, 10, 200". A format outside the list counts as the first.
enum ColourFormat { kColourHash = 0, kColourFunction = 1, kColourDecimal = 2 };
void FormatColour(int format, int red, int green, int blue, char* out, size_t size);

// The file types a save writes, in the order of the Save dialog's filters.
enum ImageType { kImagePng = 0, kImageBmp = 1 };
const char* ImageExtension(int type);  // "png" or "bmp"
// The type a chosen path is written as: its own extension when that is .png or .bmp (in any
// case), else the type of the filter chosen.
int ImageTypeForPath(const char* path, int filterType);
// A name ending in .png or .bmp (in any case) takes the extension of type instead; false, with the
// name unchanged, for any other name.
bool SwapImageExtension(char* name, int type);
// The name the Save dialog proposes: "Peerix 2026-12-07 22.15.03.png", local time.
struct LocalTime {
    int year, month, day, hour, minute, second;
};
void ProposedImageName(const LocalTime& t, int type, char* out, size_t size);

// The pixels of a packed DIB's rows (BI_RGB at 8 bits with its colour table, 16 bits as 5-5-5,
// 24 or 32 bits; bottom-up) as top-down rows of 24-bit blue, green, red, padded to 4 bytes: what
// a PNG encoder takes. Five-bit channels widen as image readers widen them (v << 3 | v >> 2).
// False for any other depth. out holds Bgr24RowBytes(width) * height bytes.
uint32_t Bgr24RowBytes(int width);
bool DibToBgr24(int bitCount, int width, int height, const uint8_t* table, int tableEntries, const uint8_t* rows,
                uint8_t* out);

}  // namespace rules

#endif
