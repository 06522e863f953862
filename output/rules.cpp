#include "rules.h"

#include <cctype>
#include <cstdio>
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

void GridLines(int viewStart, int viewLength, int zoom, int* first, int* count) {
    *first = viewStart + zoom;
    *count = zoom >= kMinGridZoom && viewLength > 0 ? (viewLength - 1) / zoom : 0;
}

void FormatColour(int format, int red, int green, int blue, char* out, size_t size) {
    if (format == kColourFunction)
        std::snprintf(out, size, "rgb(%d, %d, %d)", red, green, blue);
    else if (format == kColourDecimal)
        std::snprintf(out, size, "%d, %d, %d", red, green, blue);
    else
        std::snprintf(out, size, "#%02X%02X%02X", red & 0xFF, green & 0xFF, blue & 0xFF);
}

const char* ImageExtension(int type) {
    return type == kImageBmp ? "bmp" : "png";
}

int ImageTypeForPath(const char* path, int filterType) {
    const size_t n = std::strlen(path);
    if (n > 4 && path[n - 4] == '.') {
        char ext[4];
        for (int i = 0; i < 3; ++i)
            ext[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(path[n - 3 + i])));
        ext[3] = '\0';
        if (std::strcmp(ext, "png") == 0) return kImagePng;
        if (std::strcmp(ext, "bmp") == 0) return kImageBmp;
    }
    return filterType;
}

bool SwapImageExtension(char* name, int type) {
    const size_t n = std::strlen(name);
    if (ImageTypeForPath(name, -1) == -1) return false;
    std::memcpy(name + n - 3, ImageExtension(type), 3);
    return true;
}

void ProposedImageName(const LocalTime& t, int type, char* out, size_t size) {
    std::snprintf(out, size, "Peerix %04d-%02d-%02d %02d.%02d.%02d.%s", t.year, t.month, t.day, t.hour, t.minute,
                  t.second, ImageExtension(type));
}

uint32_t Bgr24RowBytes(int width) {
    return DibRowBytes(24, width);
}

bool DibToBgr24(int bitCount, int width, int height, const uint8_t* table, int tableEntries, const uint8_t* rows,
                uint8_t* out) {
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) return false;
    const uint32_t inRow = DibRowBytes(bitCount, width), outRow = Bgr24RowBytes(width);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rows + static_cast<size_t>(height - 1 - y) * inRow;  // bottom-up
        uint8_t* o = out + static_cast<size_t>(y) * outRow;
        std::memset(o, 0, outRow);
        for (int x = 0; x < width; ++x, o += 3) {
            if (bitCount == 8) {
                const int i = in[x];
                if (i < tableEntries) std::memcpy(o, table + 4 * i, 3);  // RGBQUAD: blue, green, red
            } else if (bitCount == 16) {
                const unsigned v = static_cast<unsigned>(in[2 * x] | in[2 * x + 1] << 8);
                const unsigned channels[3] = {v & 0x1F, (v >> 5) & 0x1F, (v >> 10) & 0x1F};
                for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(channels[c] << 3 | channels[c] >> 2);
            } else {
                std::memcpy(o, in + x * (bitCount / 8), 3);
            }
        }
    }
    return true;
}

}  // namespace rules
