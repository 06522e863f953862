// Pure rules of the main window's interaction: trackbar steps, key steps and update rates.
#ifndef PEERIX_VIEW_RULES_H
#define PEERIX_VIEW_RULES_H

#include "../app/types.h"

namespace rules {

// The value a trackbar notification asks for (TB_LINEUP .. TB_THUMBTRACK; other codes keep the
// current value).
int TrackbarValue(int code, int thumbPosition, int current);

struct Step {
    int dx, dy;
};

// How a key moves the point of interest: arrows by 1 (16 with Ctrl); Page Up and Page Down by a
// screenful less one, vertically by rows or, with Ctrl, horizontally by columns. {0, 0} for any
// other key.
Step KeyStep(int virtualKey, bool ctrl, int srcWidth, int srcHeight);

// "None", "Slow", "Medium", "Fast" for 1..4; the caller clamps first.
const char* RateName(int rate);

// What the point of interest follows on a tick of the housekeeping timer. With Follow Keyboard
// on, a keyboard move (a caret that moved, a newly focused window) takes the point there; else,
// with Follow Mouse on, a pointer move takes it to the pointer: with the keyboard followed too,
// a move since the last tick, so that whichever moved last wins; alone, any place but the point,
// as Follow Mouse always worked. A keyboard move beats a pointer move within one tick: typing is
// where the user works. False when the point stays.
struct Following {
    bool mouse, keyboard;
    Point pointer, lastPointer, point;
    bool keyboardMoved;
    Point keyboardSpot;
};
bool FollowedPoint(const Following& f, Point* next);

// Where a text cursor is followed: its left edge at its vertical middle, in the coordinates of its
// rectangle; false for a caret without height, which shows nothing to follow.
bool CaretSpot(Rect caret, Point* spot);

}  // namespace rules

#endif
