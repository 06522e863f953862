#include "rules.h"

#include <cstring>
#include <utility>

namespace rules {

namespace {

int Snap(int q, int zoom) {
    return zoom * (q / zoom);
}

}  // namespace

Rect SnapSelection(Point anchor, Point current, Rect v, int zoom) {
    Rect r{anchor.x, anchor.y, current.x, current.y};
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return Rect{Snap(r.left - v.left, zoom) + v.left, Snap(r.top - v.top, zoom) + v.top,
                Snap(r.right - v.left, zoom) + v.left, Snap(r.bottom - v.top, zoom) + v.top};
}

Point ClampIntoView(int x, int y, Rect v) {
    return Point{Clamp(x, v.left, v.right), Clamp(y, v.top, v.bottom)};
}

Point TipPosition(Point anchor, int zoom) {
    return Point{Snap(anchor.x, zoom) - 5, Snap(anchor.y, zoom) - 5};
}

Rect SelectedPixels(Rect visible, Rect v, Rect s, int zoom) {
    const int left = visible.left + (s.left - v.left) / zoom, top = visible.top + (s.top - v.top) / zoom;
    return Rect{left, top, left + (s.right - s.left) / zoom, top + (s.bottom - s.top) / zoom};
}

ZoomTarget ZoomTo(Rect s, Rect v, Rect visible, int zoom) {
    // The factor that still fits both the width and the height; the selection lies in the view,
    // so it is at least 1 unless the view has shrunk since.
    const int w = s.right - s.left, h = s.bottom - s.top;
    const int byWidth = (v.right - v.left) / w, byHeight = (v.bottom - v.top) / h;
    int k = byWidth < byHeight ? byWidth : byHeight;
    if (k < 1) k = 1;
    const long long z = static_cast<long long>(k) * zoom;
    return ZoomTarget{SelectedPixels(visible, v, s, zoom), z > kMaxZoom ? kMaxZoom : static_cast<int>(z)};
}

int NextAntsPhase(int phase) {
    phase += 2;
    return phase > 7 ? 0 : phase;
}

CaptureArea CaptureRect(bool zoomed, bool useSelection, Rect visible, Rect v, Rect s, int zoom) {
    CaptureArea a{visible, zoomed ? zoom : 1, 0, 0};
    if (useSelection) a.source = SelectedPixels(visible, v, s, zoom);
    if (zoomed && !useSelection) {
        // Exactly the view as shown, its last blocks cut where the view cuts them.
        a.bitmapWidth = v.right - v.left;
        a.bitmapHeight = v.bottom - v.top;
    } else {
        a.bitmapWidth = (a.source.right - a.source.left) * a.scale;
        a.bitmapHeight = (a.source.bottom - a.source.top) * a.scale;
    }
    return a;
}

Stretch StretchWithin(Rect s, Rect b, int scale, int destX, int destY) {
    const int left = s.left > b.left ? s.left : b.left, right = s.right < b.right ? s.right : b.right;
    const int top = s.top > b.top ? s.top : b.top, bottom = s.bottom < b.bottom ? s.bottom : b.bottom;
    Stretch t;
    t.srcX = left;
    t.srcY = top;
    t.srcWidth = right - left;
    t.srcHeight = bottom - top;
    t.destX = destX + (left - s.left) * scale;
    t.destY = destY + (top - s.top) * scale;
    t.destWidth = t.srcWidth * scale;
    t.destHeight = t.srcHeight * scale;
    t.partial = left != s.left || top != s.top || right != s.right || bottom != s.bottom;
    return t;
}

uint32_t DibRowBytes(int bitCount, int width) {
    return ((static_cast<uint32_t>(bitCount) * static_cast<uint32_t>(width) + 31) / 32) * 4;
}

uint16_t DibColourCount(int bitCount, uint32_t clrUsed) {
    if (static_cast<uint16_t>(clrUsed) != 0) return static_cast<uint16_t>(clrUsed);
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

BmpLayout LayoutBmp(int bitCount, int width, int height, uint32_t clrUsed) {
    BmpLayout l;
    l.tableBytes = 4u * DibColourCount(bitCount, clrUsed);
    l.imageBytes = DibRowBytes(bitCount, width) * static_cast<uint32_t>(height);
    l.pixelOffset = 14 + 40 + l.tableBytes;
    l.fileSize = l.pixelOffset + l.imageBytes;
    return l;
}

bool CopyDirectoryPart(const char* path, char* dest, size_t destSize) {
    const int cut = LastBackslash(path, static_cast<int>(std::strlen(path)));
    const size_t length = cut < 0 ? 0 : static_cast<size_t>(cut);
    // A folder that does not fit is not cut: the old one stays.
    if (destSize == 0 || length >= destSize) return false;
    std::memcpy(dest, path, length);
    dest[length] = '\0';
    return true;
}

void JoinLines(char* dest, size_t destSize, const char* const* lines, int count) {
    size_t used = 0;
    const auto put = [&](const char* text, size_t n) {
        for (size_t i = 0; i < n && used + 1 < destSize; ++i) dest[used++] = text[i];
    };
    for (int i = 0; i < count; ++i) {
        if (i > 0) put("\n", 1);
        size_t n = std::strlen(lines[i]);
        while (n > 0 && (lines[i][n - 1] == ' ' || lines[i][n - 1] == '\r' || lines[i][n - 1] == '\n')) --n;
        put(lines[i], n);
    }
    dest[used] = '\0';
}

void ReplaceChar(char* s, char from, char to) {
    for (; *s; ++s)
        if (*s == from) *s = to;
}

}  // namespace rules
