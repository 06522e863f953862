// Following: which mover the point goes to, and where a text cursor is followed.
#include <gtest/gtest.h>

#include "view/rules.h"

using namespace rules;

TEST(Following, TheLastMoverWinsAndAStillScreenMovesNothing) {
    const Point point = {100, 100}, caret = {300, 40};
    struct Case {
        bool mouse, keyboard;
        Point pointer, lastPointer;
        bool keyboardMoved;
        bool moves;
        Point to;
    } const cases[] = {
        // Follow Mouse alone, as always: the pointer anywhere but the point, moved or not.
        {true, false, {5, 6}, {5, 6}, false, true, {5, 6}},
        {true, false, {100, 100}, {7, 7}, false, false, {}},
        // Follow Keyboard alone: the caret when it moved; the pointer is nothing to it.
        {false, true, {5, 6}, {1, 1}, true, true, caret},
        {false, true, {5, 6}, {1, 1}, false, false, {}},
        // Both: a pointer that stands still does not pull the point back from the caret...
        {true, true, {5, 6}, {5, 6}, false, false, {}},
        // ...a pointer that moved takes it, a caret that moved takes it back, and within one
        // tick the keyboard wins.
        {true, true, {5, 7}, {5, 6}, false, true, {5, 7}},
        {true, true, {5, 6}, {5, 6}, true, true, caret},
        {true, true, {5, 7}, {5, 6}, true, true, caret},
        {false, false, {5, 7}, {5, 6}, true, false, {}},
    };
    for (const Case& c : cases) {
        Point next = {-1, -1};
        const Following f = {c.mouse, c.keyboard, c.pointer, c.lastPointer, point, c.keyboardMoved, caret};
        EXPECT_EQ(FollowedPoint(f, &next), c.moves) << c.mouse << c.keyboard << c.keyboardMoved;
        if (c.moves) {
            EXPECT_EQ(next.x, c.to.x);
            EXPECT_EQ(next.y, c.to.y);
        }
    }
}

TEST(Following, ACaretIsFollowedAtItsLeftEdgeHalfWayDown) {
    Point spot = {0, 0};
    ASSERT_TRUE(CaretSpot(Rect{20, 10, 22, 26}, &spot));
    EXPECT_EQ(spot.x, 20);
    EXPECT_EQ(spot.y, 18);
    ASSERT_TRUE(CaretSpot(Rect{-4, -9, -3, -2}, &spot));   // a window scrolled past its text
    EXPECT_EQ(spot.y, -6);                                 // halves truncate toward the top
    EXPECT_FALSE(CaretSpot(Rect{20, 10, 22, 10}, &spot));  // no height: nothing to follow
    EXPECT_FALSE(CaretSpot(Rect{20, 10, 22, 4}, &spot));
}
