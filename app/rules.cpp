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
// at lo.
int Into(int origin, int n, int lo, int hi) {
    if (n >= hi - lo || origin < lo) return lo;
    return origin + n > hi ? hi - n : origin;
}

int Overlap(int a0, int a1, int b0, int b1) {
    const int lo = a0 > b0 ? a0 : b0, hi = a1 < b1 ? a1 : b1;
    return hi > lo ? hi - lo : 0;
}

}  // namespace

Rect KeepInside(const Rect& r, const Rect& area) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int x = Into(r.left, w, area.left, area.right), y = Into(r.top, h, area.top, area.bottom);
    return Rect{x, y, x + w, y + h};
}

Rect CentredInside(const Rect& reference, const Rect& window, const Rect& work) {
    int x = 0, y = 0;
    CentredOrigin(reference, window, &x, &y);
    return KeepInside(Rect{x, y, x + window.right - window.left, y + window.bottom - window.top}, work);
}

Rect RescueWindow(const Rect& stored, const Rect& work, int captionHeight, int minStrip) {
    const int w = stored.right - stored.left, h = stored.bottom - stored.top;
    const int workW = work.right - work.left, workH = work.bottom - work.top;
    const int strip = w < minStrip ? w : minStrip;
    const bool fits = w <= workW && h <= workH;
    const bool grabbable =
        2 * Overlap(stored.top, stored.top + captionHeight, work.top, work.bottom) >= captionHeight &&
        Overlap(stored.left, stored.right, work.left, work.right) >= strip;
    if (fits && grabbable) return stored;
    const Rect shrunk{stored.left, stored.top, stored.left + (w < workW ? w : workW),
                      stored.top + (h < workH ? h : workH)};
    return KeepInside(shrunk, work);
}

void KeepDirectory(char* path, int length) {
    const int cut = LastBackslash(path, length);
    if (cut >= 1) path[cut + 1] = '\0';
}

}  // namespace rules
