#include "geometry.h"

namespace rules {

bool ComputeSource(int viewWidth, int viewHeight, int zoom, Rect bounds, Source* out) {
    if (viewWidth < 0 || viewHeight < 0) return false;
    Source s = {};
    // The point sits half of one more than fits from the view's left and top; that keeps it
    // where it always was in the view, and the page step a screenful less one.
    s.srcWidth = viewWidth / zoom + 1;
    s.srcHeight = viewHeight / zoom + 1;
    s.halfHeight = s.srcHeight / 2;
    s.halfWidth = s.srcWidth / 2;
    // A partly shown column counts; a view of zero width still shows one.
    s.visibleWidth = viewWidth == 0 ? 1 : (viewWidth + zoom - 1) / zoom;
    s.visibleHeight = viewHeight == 0 ? 1 : (viewHeight + zoom - 1) / zoom;
    *out = WithBounds(s, bounds);
    return true;
}

Source WithBounds(const Source& s, Rect bounds) {
    Source r = s;
    // The bounds' first column is the first visible one at the lower limit and its last column
    // the last visible one at the upper limit, whatever the parity of the view or the zoom.
    r.minX = bounds.left + s.halfWidth;
    r.minY = bounds.top + s.halfHeight;
    r.maxX = bounds.right - s.visibleWidth + s.halfWidth;
    r.maxY = bounds.bottom - s.visibleHeight + s.halfHeight;
    r.bounds = bounds;
    return r;
}

namespace {

long long DistanceSquared(const Rect& r, Point p) {
    const long long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - (r.right - 1) : 0);
    const long long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - (r.bottom - 1) : 0);
    return dx * dx + dy * dy;
}

// The nearest monitor to p among those wholly beyond one edge of `from` (direction +1: right of
// or below it; -1: left of or above it) on the given axis and level with some of that edge; -1
// when there is none.
int NextMonitor(const Monitors& m, const Rect& from, Point p, bool horizontal, int direction) {
    int best = -1;
    long long bestDistance = 0;
    for (int i = 0; i < m.count; ++i) {
        const Rect& r = m.rects[i];
        // Wholly beyond that edge, and sharing some of its length: across uncovered space
        // diagonally is no way to go.
        const bool beyond = horizontal ? (direction > 0 ? r.left >= from.right : r.right <= from.left)
                                       : (direction > 0 ? r.top >= from.bottom : r.bottom <= from.top);
        const bool alongside =
            horizontal ? r.top < from.bottom && r.bottom > from.top : r.left < from.right && r.right > from.left;
        if (!beyond || !alongside) continue;
        const long long d = DistanceSquared(r, p);
        if (best < 0 || d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

Point Inside(const Rect& r, Point p) {
    return Point{Clamp(p.x, r.left, r.right - 1), Clamp(p.y, r.top, r.bottom - 1)};
}

// One axis of PanPoint.
Point PanAxis(const Monitors& m, const Source& s, Point p, int d, bool horizontal, Rect fallback) {
    const Rect here = MonitorBounds(m, p, fallback);
    const Source h = WithBounds(s, here);
    const int lo = horizontal ? h.minX : h.minY, hi = horizontal ? h.maxX : h.maxY;
    // Counted from the point the view shows: a drag may have left the stored one beyond the
    // limits, and steps counted from there would move the view less, or not at all.
    const int from = Clamp(horizontal ? p.x : p.y, lo, hi);
    const int target = from + d;
    const bool past = (d > 0 && target > hi) || (d < 0 && target < lo);
    const int next = past ? NextMonitor(m, here,
                                        Point{horizontal ? (d > 0 ? here.right : here.left - 1) : p.x,
                                              horizontal ? p.y : (d > 0 ? here.bottom : here.top - 1)},
                                        horizontal, d)
                          : -1;
    // Short of the limit a step stops at it, as at an edge with nothing beyond: the view then
    // shows this monitor's last columns before the next step leaves them.
    const bool atLimit = d > 0 ? from >= hi : from <= lo;
    if (next < 0 || !atLimit) {
        const int v = Clamp(target, lo, hi);
        return horizontal ? Point{v, p.y} : Point{p.x, v};
    }
    // From the limit the step goes on over there as if the two monitors met at this edge: a page
    // shows the screenful next to the last one, a shorter step the near limit.
    const Rect& there = m.rects[next];
    const Source t = WithBounds(s, there);
    const int offset = horizontal ? (d > 0 ? there.left - here.right : there.right - here.left)
                                  : (d > 0 ? there.top - here.bottom : there.bottom - here.top);
    const long long glued = static_cast<long long>(target) + offset;
    const int lo2 = horizontal ? t.minX : t.minY, hi2 = horizontal ? t.maxX : t.maxY;
    const int v = glued < lo2 ? lo2 : (glued > hi2 ? hi2 : static_cast<int>(glued));
    Point q;
    if (horizontal) {
        q.x = v;
        q.y = Clamp(Clamp(p.y, h.minY, h.maxY), t.minY, t.maxY);
    } else {
        q.x = Clamp(Clamp(p.x, h.minX, h.maxX), t.minX, t.maxX);
        q.y = v;
    }
    // A view larger than that monitor puts its limits outside it; the point must still lie on
    // it, or the next use would pick another monitor.
    return Inside(there, q);
}

}  // namespace

int NearestMonitor(const Monitors& m, Point p) {
    int best = -1;
    long long bestDistance = 0;
    for (int i = 0; i < m.count; ++i) {
        const long long d = DistanceSquared(m.rects[i], p);
        if (best < 0 || d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

Rect MonitorBounds(const Monitors& m, Point p, Rect fallback) {
    const int i = NearestMonitor(m, p);
    return i < 0 ? fallback : m.rects[i];
}

Point OntoMonitor(const Monitors& m, Point p) {
    const int i = NearestMonitor(m, p);
    return i < 0 ? p : Inside(m.rects[i], p);
}

Point PanPoint(const Monitors& m, const Source& s, Point p, int dx, int dy, Rect fallback) {
    if (dx != 0) p = PanAxis(m, s, p, dx, true, fallback);
    if (dy != 0) p = PanAxis(m, s, p, dy, false, fallback);
    return p;
}

Point ClampPoint(Point p, const Source& s) {
    return Point{Clamp(p.x, s.minX, s.maxX), Clamp(p.y, s.minY, s.maxY)};
}

namespace {

// One axis of CentreOn: n pixels from a, in a view showing `whole` pixels wholly from the point
// less half.
int CentreAxis(int a, int n, int half, int whole) {
    const int middle = a + n / 2;
    if (n > whole) return middle;
    // The first pixel shown must be at or before a, the last wholly shown one at or after the
    // selection's last. Of an odd count that fills the view exactly, the middle is one short.
    return Clamp(middle, a + n - whole + half, a + half);
}

}  // namespace

Point CentreOn(Rect pixels, const Source& s) {
    // A view w wide shows w / zoom pixels wholly, one less than the source it is made from.
    return Point{CentreAxis(pixels.left, pixels.right - pixels.left, s.halfWidth, s.srcWidth - 1),
                 CentreAxis(pixels.top, pixels.bottom - pixels.top, s.halfHeight, s.srcHeight - 1)};
}

Rect SourceRect(Point c, const Source& s) {
    const int left = c.x - s.halfWidth, top = c.y - s.halfHeight;
    return Rect{left, top, left + s.visibleWidth, top + s.visibleHeight};
}

Rect OutlineRect(Point c, const Source& s) {
    const Rect r = SourceRect(c, s);
    return Rect{r.left - 1, r.top - 1, r.right, r.bottom};
}

Point MarkerPosition(Point point, Point c, const Source& s, int zoom, int viewLeft, int viewTop) {
    return Point{(point.x - c.x + s.halfWidth) * zoom + zoom / 2 + viewLeft,
                 (point.y - c.y + s.halfHeight) * zoom + zoom / 2 + viewTop};
}

Rect ViewRect(Rect client, bool toolbarShown, int bandHeight, bool statusShown, int statusHeight) {
    if (toolbarShown) client.top += bandHeight;
    if (statusShown) client.bottom -= statusHeight;
    return client;
}

Point MinTrackSize(const MinSizeParts& p) {
    int client = p.toolbarWidth > p.viewWidth ? p.toolbarWidth : p.viewWidth;
    if (client < p.statusWidth) client = p.statusWidth;
    int width = p.frameWidth + client;
    if (width < p.captionWidth) width = p.captionWidth;
    if (width < p.systemWidth) width = p.systemWidth;
    int height = p.frameHeight + p.bandHeight + p.statusHeight + p.viewHeight;
    if (height < p.systemHeight) height = p.systemHeight;
    return Point{width, height};
}

void FrameStrokes(const Rect& r, Stroke out[4]) {
    // A negative extent includes its origin pixel and runs |extent| pixels back from it. With
    // that, these four strokes meet corner to corner: each frame pixel is inverted exactly once.
    const int w = r.right - r.left, h = r.bottom - r.top;
    out[0] = Stroke{r.left, r.bottom, 1, -h};   // left side, from the bottom-left corner up
    out[1] = Stroke{r.left, r.top, w, 1};       // top side
    out[2] = Stroke{r.right, r.top, 1, h};      // right side, down
    out[3] = Stroke{r.right, r.bottom, -w, 1};  // bottom side, from the bottom-right corner left
}

bool SourcePixelAt(Point client, Rect view, Rect source, int zoom, Point* pixel) {
    if (zoom < 1 || client.x < view.left || client.x >= view.right || client.y < view.top || client.y >= view.bottom)
        return false;
    *pixel = Point{source.left + (client.x - view.left) / zoom, source.top + (client.y - view.top) / zoom};
    return true;
}

}  // namespace rules
