// The pure types and helpers that every layer shares: points and rectangles of plain integers,
// clamping, flags, the limits of the zoom, the update rate and its intervals, and where a path's
// folder ends. No Win32 here; app/utils.h converts to and from the system's RECT and POINT.
#ifndef PEERIX_TYPES_H
#define PEERIX_TYPES_H

namespace rules {

struct Point {
    int x, y;
};

struct Rect {
    int left, top, right, bottom;
};

// The ranges the program itself writes; values from elsewhere (the registry, the trackbars, the
// keys and the wheel) are clamped into them, never rejected.
constexpr int kMinZoom = 1, kMaxZoom = 32;
constexpr int kRateNone = 1, kRateSlow = 2, kRateMedium = 3, kRateFast = 4;
constexpr int kMinInterval = 20, kMaxInterval = 1000;

// Every length of the window's chrome is designed at 96 DPI and scaled to the window's DPI.
constexpr int kDesignDpi = 96;

// A length made for fromDpi (the design's 96 unless said) at dpi, rounded to the nearest pixel
// (halves away from zero); a DPI of 0 or less (unknown) counts as 96.
constexpr int ScaleForDpi(int length, int dpi, int fromDpi = kDesignDpi) {
    const long long to = dpi > 0 ? dpi : kDesignDpi, from = fromDpi > 0 ? fromDpi : kDesignDpi;
    const long long scaled = static_cast<long long>(length) * to;
    return static_cast<int>(scaled >= 0 ? (scaled + from / 2) / from : -((-scaled + from / 2) / from));
}

// The lower bound is tested first, so an empty range (lo > hi) gives hi for anything above lo.
constexpr int Clamp(int value, int lo, int hi) {
    return value < lo ? lo : (value > hi ? hi : value);
}

// Stored flags are used as 0 or 1; anything else non-zero means set.
constexpr int Flag(int value) {
    return value != 0 ? 1 : 0;
}

// The position of the last backslash among a path's first length characters, or -1: where its
// folder part ends.
constexpr int LastBackslash(const char* path, int length) {
    for (int i = length - 1; i >= 0; --i)
        if (path[i] == '\\') return i;
    return -1;
}

}  // namespace rules

#endif
