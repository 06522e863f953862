#include <gtest/gtest.h>

#include "view/geometry.h"

using namespace rules;

namespace {

Source Make(int w, int h, int zoom, int sw = 1024, int sh = 768) {
    Source s{};
    EXPECT_TRUE(ComputeSource(w, h, zoom, sw, sh, &s));
    return s;
}

}  // namespace

TEST(Geometry, SourceCoversTheViewWithOneSpareColumnAndRow) {
    const Source s = Make(300, 200, 3);
    EXPECT_EQ(s.srcWidth, 101);
    EXPECT_EQ(s.halfWidth, 50);
    EXPECT_EQ(s.srcHeight, 67);
    EXPECT_EQ(s.halfHeight, 33);
    EXPECT_EQ(s.maxX, 1024 - 50 - 1);
    EXPECT_EQ(s.maxY, 768 - 33 - 1);
    EXPECT_EQ(s.srcWidth * 3, 303);  // the last 3 columns are clipped

    const Source one = Make(400, 300, 1);
    EXPECT_EQ(one.srcWidth, 401);
    EXPECT_EQ(one.srcHeight, 301);

    const Source big = Make(640, 480, 32);
    EXPECT_EQ(big.srcWidth, 21);
    EXPECT_EQ(big.srcHeight, 16);
    // Between 1 and zoom pixels of surplus, always.
    for (int zoom = 1; zoom <= 32; ++zoom)
        for (int w = 0; w < 200; ++w) {
            const Source t = Make(w, 10, zoom);
            EXPECT_GE(t.srcWidth * zoom - w, 1);
            EXPECT_LE(t.srcWidth * zoom - w, zoom);
        }
}

TEST(Geometry, EmptyAndNegativeViews) {
    const Source zero = Make(0, 0, 5);
    EXPECT_EQ(zero.srcWidth, 1);
    EXPECT_EQ(zero.srcHeight, 1);
    EXPECT_EQ(zero.halfWidth, 0);
    Source untouched{7, 7, 7, 7, 7, 7};
    EXPECT_FALSE(ComputeSource(-1, 10, 3, 1024, 768, &untouched));
    EXPECT_FALSE(ComputeSource(10, -1, 3, 1024, 768, &untouched));
    EXPECT_EQ(untouched.srcWidth, 7);
}

TEST(Geometry, ClampHoldsThePointInsideTheScreen) {
    const Source s = Make(300, 300, 3);  // 101 x 101, half 50
    Point c = ClampPoint({0, 0}, s);
    EXPECT_EQ(c.x, 50);
    EXPECT_EQ(c.y, 50);
    Rect r = SourceRect(c, s);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    // At or beyond the bottom-right corner the source ends at the screen's edge for odd sizes.
    c = ClampPoint({5000, 5000}, s);
    r = SourceRect(c, s);
    EXPECT_EQ(r.left, 1024 - 2 * 50 - 1);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 768);
    // An even width ends a column short of the edge.
    const Source even = Make(297, 297, 3);  // 100 x 100, half 50
    r = SourceRect(ClampPoint({5000, 5000}, even), even);
    EXPECT_EQ(r.left, 1024 - 2 * 50 - 1);
    EXPECT_EQ(r.right, 1023);
    // Inside the range the point is used as it is.
    c = ClampPoint({500, 400}, s);
    EXPECT_EQ(c.x, 500);
    EXPECT_EQ(c.y, 400);
    c = ClampPoint({-20, 973}, s);
    EXPECT_EQ(c.x, 50);
    EXPECT_EQ(c.y, 768 - 51);
}

TEST(Geometry, SourceWiderThanTheScreenPinsToOneSide) {
    const Source s = Make(3000, 100, 1, 1024, 768);  // 3001 wide, half 1500, maxX = -477
    EXPECT_GT(s.halfWidth, s.maxX);
    EXPECT_EQ(ClampPoint({0, 50}, s).x, s.halfWidth);  // left of half: the lower bound wins
    EXPECT_EQ(ClampPoint({1499, 50}, s).x, s.halfWidth);
    EXPECT_EQ(ClampPoint({1500, 50}, s).x, s.maxX);  // any other point: the upper bound
    EXPECT_EQ(ClampPoint({9000, 50}, s).x, s.maxX);
}

TEST(Geometry, OutlineRunsOnePixelOutsideTheSource) {
    const Source s = Make(300, 300, 3);  // srcWidth 101
    const Point c = ClampPoint({500, 400}, s);
    const Rect src = SourceRect(c, s);
    EXPECT_EQ(src.left, 450);
    EXPECT_EQ(src.right - 1, 550);
    const Rect o = OutlineRect(c, s);
    EXPECT_EQ(o.left, 449);
    EXPECT_EQ(o.right, 551);
    EXPECT_EQ(o.top, src.top - 1);
    EXPECT_EQ(o.bottom, src.bottom);
}

TEST(Geometry, MarkerLandsOnTheCentreOfTheMagnifiedPixel) {
    const Source s = Make(300, 300, 5);
    Point m = MarkerPosition({0, 0}, ClampPoint({0, 0}, s), s, 5, 0, 28);
    EXPECT_EQ(m.x, 2);
    EXPECT_EQ(m.y, 2 + 28);
    m = MarkerPosition({500, 400}, ClampPoint({500, 400}, s), s, 5, 0, 28);
    EXPECT_EQ(m.x, s.halfWidth * 5 + 2);
    EXPECT_EQ(m.y, s.halfHeight * 5 + 2 + 28);
    // A point beyond the clamp range shows at its own place, off the centre.
    m = MarkerPosition({5, 7}, ClampPoint({5, 7}, s), s, 4, 0, 0);
    EXPECT_EQ(m.x, 5 * 4 + 2);
    EXPECT_EQ(m.y, 7 * 4 + 2);
}

TEST(Geometry, ViewRectLeavesOutTheShownBars) {
    const Rect client{0, 0, 400, 300};
    Rect v = ViewRect(client, true, 28, true, 20);
    EXPECT_EQ(v.top, 28);
    EXPECT_EQ(v.bottom, 280);
    v = ViewRect(client, false, 28, true, 20);
    EXPECT_EQ(v.top, 0);
    EXPECT_EQ(v.bottom, 280);
    v = ViewRect(client, true, 28, false, 20);
    EXPECT_EQ(v.bottom, 300);
    v = ViewRect(Rect{0, 0, 100, 30}, true, 28, true, 20);
    EXPECT_LT(v.bottom - v.top, 0);  // no room left: the caller's Layout marks the view empty
}

TEST(Geometry, FrameStrokesCoverEachBorderPixelOnce) {
    // Rasterise the strokes as GDI does (a negative extent covers its origin pixel and the
    // |extent| - 1 before it) and count how often each pixel is inverted: every frame pixel
    // exactly once, nothing else.
    for (const Rect& r : {Rect{10, 20, 16, 25}, Rect{3, 3, 4, 4}, Rect{0, 0, 30, 2}}) {
        Stroke strokes[4];
        FrameStrokes(r, strokes);
        int hits[40][40] = {};
        for (const Stroke& s : strokes) {
            int x0 = s.x, x1 = s.x + s.width, y0 = s.y, y1 = s.y + s.height;
            if (x1 < x0) x0 = x1 + 1, x1 = s.x + 1;
            if (y1 < y0) y0 = y1 + 1, y1 = s.y + 1;
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) ++hits[y][x];
        }
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const bool onFrame = (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom) &&
                                     (x == r.left || x == r.right || y == r.top || y == r.bottom);
                EXPECT_EQ(hits[y][x], onFrame ? 1 : 0) << x << "," << y;
            }
    }
}
