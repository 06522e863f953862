#include "rules.h"

#include "../app/types.h"

namespace rules {

namespace {

// The virtual-key and trackbar codes, as numbers, so that this stays free of Win32 headers.
constexpr int kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4, kThumbTrack = 5;
constexpr int kPrior = 0x21, kNext = 0x22, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;

}  // namespace

int TrackbarValue(int code, int thumb, int current) {
    switch (code) {
    case kLineUp:
        return current - 1;
    case kLineDown:
        return current + 1;
    case kPageUp:
        return current - 2;
    case kPageDown:
        return current + 2;
    case kThumbPosition:
    case kThumbTrack:
        return thumb;
    default:
        return current;
    }
}

Step KeyStep(int key, bool ctrl, int srcWidth, int srcHeight) {
    const int step = ctrl ? 16 : 1;
    switch (key) {
    case kLeft:
        return Step{-step, 0};
    case kRight:
        return Step{step, 0};
    case kUp:
        return Step{0, -step};
    case kDown:
        return Step{0, step};
    // A page is what the view shows, less one row or column so that one stays in sight.
    case kPrior:
        return ctrl ? Step{1 - srcWidth, 0} : Step{0, 1 - srcHeight};
    case kNext:
        return ctrl ? Step{srcWidth - 1, 0} : Step{0, srcHeight - 1};
    default:
        return Step{0, 0};
    }
}

const char* RateName(int rate) {
    static const char* const names[] = {"None", "Slow", "Medium", "Fast"};
    if (rate < kRateNone || rate > kRateFast) return "";
    return names[rate - kRateNone];
}

bool FollowedPoint(const Following& f, Point* next) {
    if (f.keyboard && f.keyboardMoved) {
        *next = f.keyboardSpot;
        return true;
    }
    if (!f.mouse) return false;
    const Point since = f.keyboard ? f.lastPointer : f.point;
    if (f.pointer.x == since.x && f.pointer.y == since.y) return false;
    *next = f.pointer;
    return true;
}

bool CaretSpot(Rect caret, Point* spot) {
    if (caret.bottom <= caret.top) return false;
    *spot = Point{caret.left, caret.top + (caret.bottom - caret.top) / 2};
    return true;
}

}  // namespace rules
