// Pure rules of the main window's interaction: trackbar steps, key steps and update rates.
#ifndef PEERIX_VIEW_RULES_H
#define PEERIX_VIEW_RULES_H

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

}  // namespace rules

#endif
