#include "rules.h"

namespace rules {

bool WantsWheelMessage(uint32_t version) {
    const bool family95 = (version & 0x80000000u) != 0;
    const uint32_t majorMinor = version & 0xFFFFu;
    if (family95) return majorMinor == 4;
    return majorMinor == 3;
}

bool HasArea(const Rect& r) {
    return r.right > r.left && r.bottom > r.top;
}

Rect WorkAreaToScreen(const Rect& r, int workLeft, int workTop) {
    return Rect{r.left + workLeft, r.top + workTop, r.right + workLeft, r.bottom + workTop};
}

void CentredOrigin(const Rect& reference, const Rect& window, int* x, int* y) {
    *x = reference.left + ((reference.right - reference.left) - (window.right - window.left)) / 2;
    *y = reference.top + ((reference.bottom - reference.top) - (window.bottom - window.top)) / 2;
}

namespace {

// The origin of a span of length n moved the least distance into [lo, hi); a longer span starts
// at lo. In 64 bits: a stored rectangle may span more than an int holds.
long long Into(long long origin, long long n, long long lo, long long hi) {
    if (n >= hi - lo || origin < lo) return lo;
    return origin + n > hi ? hi - n : origin;
}

long long Overlap(long long a0, long long a1, long long b0, long long b1) {
    const long long lo = a0 > b0 ? a0 : b0, hi = a1 < b1 ? a1 : b1;
    return hi > lo ? hi - lo : 0;
}

long long Min(long long a, long long b) {
    return a < b ? a : b;
}

// A rectangle whose origin fits an int, given in 64 bits; its size, once shrunk to an area, does
// too.
Rect At(long long x, long long y, long long w, long long h) {
    return Rect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + w), static_cast<int>(y + h)};
}

}  // namespace

Rect KeepInside(const Rect& r, const Rect& area) {
    const long long w = static_cast<long long>(r.right) - r.left, h = static_cast<long long>(r.bottom) - r.top;
    const long long x = Into(r.left, w, area.left, area.right), y = Into(r.top, h, area.top, area.bottom);
    return At(x, y, w, h);
}

Rect CentredInside(const Rect& reference, const Rect& window, const Rect& work) {
    int x = 0, y = 0;
    CentredOrigin(reference, window, &x, &y);
    return KeepInside(Rect{x, y, x + window.right - window.left, y + window.bottom - window.top}, work);
}

Rect RescueWindow(const Rect& stored, const Rect& work, int captionHeight, int minStrip) {
    // Widths and heights in 64 bits: right - left of a stored rectangle may overflow an int.
    const long long w = static_cast<long long>(stored.right) - stored.left;
    const long long h = static_cast<long long>(stored.bottom) - stored.top;
    const long long workW = static_cast<long long>(work.right) - work.left;
    const long long workH = static_cast<long long>(work.bottom) - work.top;
    const long long strip = Min(w, minStrip);
    const bool fits = w <= workW && h <= workH;
    const bool grabbable =
        2 * Overlap(stored.top, static_cast<long long>(stored.top) + captionHeight, work.top, work.bottom) >=
            captionHeight &&
        Overlap(stored.left, stored.right, work.left, work.right) >= strip;
    if (fits && grabbable) return stored;
    const long long sw = Min(w, workW), sh = Min(h, workH);
    return At(Into(stored.left, sw, work.left, work.right), Into(stored.top, sh, work.top, work.bottom), sw, sh);
}

Point DefaultWindowSize(int dpi) {
    return Point{ScaleForDpi(320, dpi), ScaleForDpi(200, dpi)};
}

void KeepDirectory(char* path, int length) {
    const int cut = LastBackslash(path, length);
    if (cut >= 1) path[cut + 1] = '\0';
}

}  // namespace rules
