// The arithmetic of the magnified view: how many screen pixels the view shows, where the point
// of interest may lie, and the rectangles derived from it. No Win32 calls.
#ifndef PEERIX_GEOMETRY_H
#define PEERIX_GEOMETRY_H

#include "../app/types.h"

namespace rules {

struct Source {
    int srcWidth, srcHeight;          // view size / zoom + 1: centres the point and sizes the page step
    int halfWidth, halfHeight;        // half of them, truncated: the point's offset from the left and top
    int visibleWidth, visibleHeight;  // screen pixels the view shows at least partly: view / zoom, rounded up
    int minX, minY;                   // smallest coordinates of the clamped point
    int maxX, maxY;                   // largest; they put the last visible pixel on the bounds' last one
    Rect bounds;                      // the screen area the view may show (right and bottom exclusive)
};

// False when the view has a negative width or height; then nothing is computed. A view of zero
// width or height still shows one source column or row.
bool ComputeSource(int viewWidth, int viewHeight, int zoom, Rect bounds, Source* out);

// The same source sizes with their limits for other bounds: another monitor's rectangle.
Source WithBounds(const Source& s, Rect bounds);

// The monitors of the virtual screen, as the system lists them (the first is not always the
// primary one). Rectangles are right and bottom exclusive; their origin may be negative.
constexpr int kMaxMonitors = 16;
struct Monitors {
    int count;
    Rect rects[kMaxMonitors];
};

// The monitor that holds p, or else the one nearest to it (the shortest distance to its
// rectangle; on a tie the earlier one); -1 when there is none.
int NearestMonitor(const Monitors& m, Point p);

// The rectangle of the monitor nearest to p: the bounds of the magnified area while p is the
// point of interest. fallback when there is no monitor.
Rect MonitorBounds(const Monitors& m, Point p, Rect fallback);

// p itself when a monitor holds it; else the nearest pixel of the nearest monitor (a stored point
// on a monitor that is gone).
Point OntoMonitor(const Monitors& m, Point p);

// The point moved by the arrow and Page keys: each axis from the point the view shows (the
// stored one clamped into the limits for the monitor nearest to it), clamped into those limits.
// A step beyond the upper limit (or below the lower one) stops at the limit; from the limit it
// carries the point onto the nearest monitor that lies wholly beyond that edge of this one and
// level with some of it, going on there as if the two met at that edge (a page shows the
// screenful next to the last one, a shorter step that monitor's near limit), with the other axis
// brought into that monitor's limits; without such a monitor the point stays at the limit.
// Without monitors, the fallback bounds hold it.
Point PanPoint(const Monitors& m, const Source& s, Point p, int dx, int dy, Rect fallback);

// The point of interest held inside [min, max] on each axis; the lower bound is tested first,
// so a source wider than the bounds pins every point right of minX to maxX.
Point ClampPoint(Point p, const Source& s);

// The point that centres the screen pixels `pixels` in the view: their middle one (of an even
// count, the one right of or below the middle), moved the least that shows every one of them
// wholly when the view holds that many. The limits are applied where the point is used.
Point CentreOn(Rect pixels, const Source& s);

// The screen pixels the view shows for a clamped point (right and bottom exclusive).
Rect SourceRect(Point clamped, const Source& s);

// The frame drawn on the screen one pixel outside the source rectangle.
Rect OutlineRect(Point clamped, const Source& s);

// Where the cursor marker's hotspot goes: the centre of the magnified pixel that shows point.
Point MarkerPosition(Point point, Point clamped, const Source& s, int zoom, int viewLeft, int viewTop);

// The screen pixel that the magnified pixel under a client point shows, for a view showing source
// (its first pixel at the view's top-left corner); false when the point lies outside the view.
// The last, partly shown pixel counts too.
bool SourcePixelAt(Point client, Rect view, Rect source, int zoom, Point* pixel);

// The client rectangle less the band at the top and the status bar at the bottom where shown.
Rect ViewRect(Rect client, bool toolbarShown, int bandHeight, bool statusShown, int statusHeight);

// The smallest window that keeps its parts usable: the frame (the window's size less its client
// area's), the client widths the toolbar band and the status bar's parts need and the heights of
// the bars shown (0 for those hidden), a small view, and the width the caption's icon and buttons
// need; never less than the system's own minimum.
struct MinSizeParts {
    int frameWidth, frameHeight;
    int toolbarWidth, bandHeight;
    int statusWidth, statusHeight;
    int viewWidth, viewHeight;
    int captionWidth;
    int systemWidth, systemHeight;
};
Point MinTrackSize(const MinSizeParts& p);

// The four one-pixel strokes (x, y, width, height; negative extents run left or up) that invert
// a frame along the rectangle's sides. Drawing them twice restores the pixels.
struct Stroke {
    int x, y, width, height;
};
void FrameStrokes(const Rect& r, Stroke out[4]);

}  // namespace rules

#endif
