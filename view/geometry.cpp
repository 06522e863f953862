#include "geometry.h"

namespace rules {

bool ComputeSource(int viewWidth, int viewHeight, int zoom, Rect bounds, Source* out) {
    if (viewWidth < 0 || viewHeight < 0) return false;
    Source s;
    // The point sits half of one more than fits from the view's left and top; that keeps it
    // where it always was in the view, and the page step a screenful less one.
    s.srcWidth = viewWidth / zoom + 1;
    s.srcHeight = viewHeight / zoom + 1;
    s.halfHeight = s.srcHeight / 2;
    s.halfWidth = s.srcWidth / 2;
    // A partly shown column counts; a view of zero width still shows one.
    s.visibleWidth = viewWidth == 0 ? 1 : (viewWidth + zoom - 1) / zoom;
    s.visibleHeight = viewHeight == 0 ? 1 : (viewHeight + zoom - 1) / zoom;
    // The bounds' first column is the first visible one at the lower limit and its last column
    // the last visible one at the upper limit, whatever the parity of the view or the zoom.
    s.minX = bounds.left + s.halfWidth;
    s.minY = bounds.top + s.halfHeight;
    s.maxX = bounds.right - s.visibleWidth + s.halfWidth;
    s.maxY = bounds.bottom - s.visibleHeight + s.halfHeight;
    s.bounds = bounds;
    *out = s;
    return true;
}

Point ClampPoint(Point p, const Source& s) {
    return Point{Clamp(p.x, s.minX, s.maxX), Clamp(p.y, s.minY, s.maxY)};
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
    const int client = p.toolbarWidth > p.viewWidth ? p.toolbarWidth : p.viewWidth;
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

}  // namespace rules
