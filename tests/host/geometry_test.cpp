#include <gtest/gtest.h>

#include "view/geometry.h"

using namespace rules;

namespace {

Source Make(int w, int h, int zoom, int sw = 1024, int sh = 768) {
    Source s{};
    EXPECT_TRUE(ComputeSource(w, h, zoom, Rect{0, 0, sw, sh}, &s));
    return s;
}

Source MakeIn(int w, int h, int zoom, Rect bounds) {
    Source s{};
    EXPECT_TRUE(ComputeSource(w, h, zoom, bounds, &s));
    return s;
}

}  // namespace

TEST(Geometry, SourceCoversTheViewWithOneSpareColumnAndRow) {
    // A source one column and row larger than the view needs; of it, the pixels shown at least
    // partly (at 300 x 200 and zoom 3, 303 would be stretched: the last 3 columns are clipped,
    // and 200 / 3 leaves a partly shown row). An empty view still takes one pixel.
    const struct {
        int width, height, zoom;
        int srcWidth, srcHeight, visibleWidth, visibleHeight;
    } cases[] = {
        {300, 200, 3, 101, 67, 100, 67},
        {400, 300, 1, 401, 301, 400, 300},
        {640, 480, 32, 21, 16, 20, 15},
        {0, 0, 5, 1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        const Source s = Make(c.width, c.height, c.zoom);
        EXPECT_EQ(s.srcWidth, c.srcWidth) << c.width << " x " << c.height << " at " << c.zoom;
        EXPECT_EQ(s.srcHeight, c.srcHeight) << c.width << " x " << c.height << " at " << c.zoom;
        EXPECT_EQ(s.visibleWidth, c.visibleWidth) << c.width << " x " << c.height << " at " << c.zoom;
        EXPECT_EQ(s.visibleHeight, c.visibleHeight) << c.width << " x " << c.height << " at " << c.zoom;
    }
    const Source s = Make(300, 200, 3);
    EXPECT_EQ(s.halfWidth, 50);
    EXPECT_EQ(s.halfHeight, 33);
    EXPECT_EQ(s.maxX, 1024 - 100 + 50);
    EXPECT_EQ(s.maxY, 768 - 67 + 33);
    EXPECT_EQ(Make(0, 0, 5).halfWidth, 0);
    // The visible pixels always cover the view, with less than one magnified pixel to spare.
    for (int zoom = 1; zoom <= 32; ++zoom)
        for (int w = 1; w < 200; ++w) {
            const Source t = Make(w, 10, zoom);
            EXPECT_GE(t.visibleWidth * zoom - w, 0) << w << " at " << zoom;
            EXPECT_LT(t.visibleWidth * zoom - w, zoom) << w << " at " << zoom;
        }
}

TEST(Geometry, NegativeViewsAreRefused) {
    Source untouched{7, 7, 7, 7, 7, 7, 7, 7, 7, 7, {7, 7, 7, 7}};
    EXPECT_FALSE(ComputeSource(-1, 10, 3, Rect{0, 0, 1024, 768}, &untouched));
    EXPECT_FALSE(ComputeSource(10, -1, 3, Rect{0, 0, 1024, 768}, &untouched));
    EXPECT_EQ(untouched.srcWidth, 7);
}

TEST(Geometry, ClampHoldsThePointInsideTheScreen) {
    const Source s = Make(300, 300, 3);  // 101 x 101, half 50, 100 x 100 shown
    Point c = ClampPoint({0, 0}, s);
    EXPECT_EQ(c.x, 50);
    EXPECT_EQ(c.y, 50);
    Rect r = SourceRect(c, s);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    c = ClampPoint({5000, 5000}, s);
    r = SourceRect(c, s);
    EXPECT_EQ(r.left, 1024 - 100);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.bottom, 768);
    // Inside the range the point is used as it is.
    c = ClampPoint({500, 400}, s);
    EXPECT_EQ(c.x, 500);
    EXPECT_EQ(c.y, 400);
    c = ClampPoint({-20, 973}, s);
    EXPECT_EQ(c.x, 50);
    EXPECT_EQ(c.y, 768 - 100 + 50);
}

TEST(Geometry, TheVisiblePartReachesBothCornersForEveryParityAndZoom) {
    // Views that are and are not exact multiples of the zoom, with odd and even source sizes,
    // on screens of odd and even size: the last column the view shows at least partly is the
    // screen's last at the bottom-right corner, and its first is 0 at the top-left.
    struct Screen {
        int width, height;
    } const screens[] = {{1024, 768}, {2560, 1440}, {800, 600}, {1023, 767}};
    for (const Screen& sc : screens)
        for (int zoom : {1, 3, 4, 32})
            for (int w : {320, 312, 311, 299, 300, 297, 128, 129, 31, 1, 0}) {
                const int h = w * 2 / 3;
                const Source s = Make(w, h, zoom, sc.width, sc.height);
                const Rect far = SourceRect(ClampPoint({1 << 20, 1 << 20}, s), s);
                const Rect near = SourceRect(ClampPoint({-(1 << 20), -(1 << 20)}, s), s);
                // The pixel at the view's last column and row is source (w - 1) / zoom from the left.
                const int lastShownX = far.left + (w > 0 ? (w - 1) / zoom : 0);
                const int lastShownY = far.top + (h > 0 ? (h - 1) / zoom : 0);
                EXPECT_EQ(lastShownX, sc.width - 1) << w << " at zoom " << zoom;
                EXPECT_EQ(lastShownY, sc.height - 1) << h << " at zoom " << zoom;
                EXPECT_EQ(far.right, sc.width);
                EXPECT_EQ(far.bottom, sc.height);
                EXPECT_EQ(near.left, 0);
                EXPECT_EQ(near.top, 0);
            }
    // The reported case: 320 x 200 at zoom 1 on 1024 x 768 ends at 1023, 767, not 1022, 766.
    const Source s = Make(320, 200, 1);
    const Rect r = SourceRect(ClampPoint({1023, 767}, s), s);
    EXPECT_EQ(r.right - 1, 1023);
    EXPECT_EQ(r.bottom - 1, 767);
    EXPECT_EQ(r.right - r.left, 320);
}

TEST(Geometry, ClampIntoOtherBoundsIncludingNegativeOrigins) {
    // A second monitor left of the first: both ends of the bounds are reached, not 0 or 1024.
    const Rect left{-1024, 0, 0, 768};
    const Source s = MakeIn(300, 200, 3, left);
    const Rect near = SourceRect(ClampPoint({-5000, -5000}, s), s);
    EXPECT_EQ(near.left, -1024);
    EXPECT_EQ(near.top, 0);
    const Rect far = SourceRect(ClampPoint({5000, 5000}, s), s);
    EXPECT_EQ(far.right, 0);
    EXPECT_EQ(far.bottom, 768);
    const Source odd = MakeIn(299, 201, 4, Rect{1024, 100, 1824, 701});
    const Rect r = SourceRect(ClampPoint({1 << 20, 1 << 20}, odd), odd);
    EXPECT_EQ(r.left + 298 / 4, 1823);
    EXPECT_EQ(r.top + 200 / 4, 700);
    EXPECT_EQ(SourceRect(ClampPoint({0, 0}, odd), odd).left, 1024);
    EXPECT_EQ(SourceRect(ClampPoint({0, 0}, odd), odd).top, 100);
}

TEST(Geometry, OutlineRunsOnePixelOutsideTheSource) {
    const Source s = Make(300, 300, 3);  // srcWidth 101, 100 columns shown
    const Point c = ClampPoint({500, 400}, s);
    const Rect src = SourceRect(c, s);
    EXPECT_EQ(src.left, 450);
    EXPECT_EQ(src.right - 1, 549);
    const Rect o = OutlineRect(c, s);
    EXPECT_EQ(o.left, 449);
    EXPECT_EQ(o.right, 550);
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

TEST(Geometry, TheSmallestWindowHoldsTheWholeBandAndEveryStatusPart) {
    // Frame 8 x 27; the status parts (293) are wider than the band (251), then the band (460).
    MinSizeParts p = {8, 27, 251, 28, 293, 20, 32, 32, 112, 112, 100};
    EXPECT_EQ(MinTrackSize(p).x, 301);
    EXPECT_EQ(MinTrackSize(p).y, 27 + 28 + 20 + 32);
    p.toolbarWidth = 460;
    EXPECT_EQ(MinTrackSize(p).x, 468);
    // Hidden bars count nothing: the caption and the system's minimum height decide.
    p.toolbarWidth = p.bandHeight = p.statusWidth = p.statusHeight = 0;
    EXPECT_EQ(MinTrackSize(p).x, 112);
    EXPECT_EQ(MinTrackSize(p).y, 100);
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
