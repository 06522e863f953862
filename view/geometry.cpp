#include "geometry.h"

namespace rules {

bool ComputeSource(int viewWidth, int viewHeight, int zoom, int screenWidth, int screenHeight, Source* out) {
    if (viewWidth < 0 || viewHeight < 0) return false;
    Source s;
    // One more than fits, so the stretched image always covers the view; the clip region cuts
    // the surplus (1 to zoom pixels) off.
    s.srcWidth = viewWidth / zoom + 1;
    s.srcHeight = viewHeight / zoom + 1;
    s.halfHeight = s.srcHeight / 2;
    s.halfWidth = s.srcWidth / 2;
    s.maxX = screenWidth - s.halfWidth - 1;
    s.maxY = screenHeight - s.halfHeight - 1;
    *out = s;
    return true;
}

Point ClampPoint(Point p, const Source& s) {
    return Point{Clamp(p.x, s.halfWidth, s.maxX), Clamp(p.y, s.halfHeight, s.maxY)};
}

Rect SourceRect(Point c, const Source& s) {
    const int left = c.x - s.halfWidth, top = c.y - s.halfHeight;
    return Rect{left, top, left + s.srcWidth, top + s.srcHeight};
}

Rect OutlineRect(Point c, const Source& s) {
    return Rect{c.x - s.halfWidth - 1, c.y - s.halfHeight - 1, c.x - s.halfWidth + s.srcWidth,
                c.y - s.halfHeight + s.srcHeight};
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
