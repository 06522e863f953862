#include <gtest/gtest.h>

#include "output/rules.h"
#include "view/geometry.h"

using namespace rules;

namespace {

void ExpectRect(const Rect& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(SelectionRules, SnapsToWholeMagnifiedPixelsOfTheView) {
    const Rect top0{0, 0, 300, 200};
    // Zoom 3, anchor (10, 40), pointer (25, 52): from the pixel holding the anchor up to, not
    // including, the one holding the pointer.
    ExpectRect(SnapSelection({10, 40}, {25, 52}, top0, 3), 9, 39, 24, 51);
    // Dragging up and to the left gives the same rectangle.
    ExpectRect(SnapSelection({25, 52}, {10, 40}, top0, 3), 9, 39, 24, 51);
    ExpectRect(SnapSelection({25, 40}, {10, 52}, top0, 3), 9, 39, 24, 51);
    // Zoom 1 keeps every pixel.
    ExpectRect(SnapSelection({10, 40}, {25, 52}, top0, 1), 10, 40, 25, 52);

    // The view starting at client y 28: rows are counted from the view's top, so y 40 (12 rows
    // in) stays 40 and y 35 (7 rows in) becomes 34, not 33.
    const Rect top28{0, 28, 400, 328};
    ExpectRect(SnapSelection({10, 40}, {25, 35}, top28, 3), 9, 34, 24, 40);
    // Odd top, zoom 2: 127 and 177 are whole pixels of a view starting at 27.
    ExpectRect(SnapSelection({100, 127}, {200, 177}, Rect{0, 27, 400, 327}, 2), 100, 127, 200, 177);

    // Corners in the same magnified column or row: no width or no height.
    const Rect column = SnapSelection({9, 40}, {11, 90}, top0, 3);
    EXPECT_EQ(column.right - column.left, 0);
    EXPECT_EQ(column.bottom - column.top, 51);  // rows 39 to 90
    const Rect row = SnapSelection({0, 96}, {64, 127}, top0, 32);
    EXPECT_EQ(row.bottom - row.top, 0);
    EXPECT_EQ(row.right - row.left, 64);

    // The corner clamped onto the view's right and bottom edges snaps down inside the view.
    ExpectRect(SnapSelection({10, 40}, {392, 323}, Rect{0, 0, 392, 323}, 3), 9, 39, 390, 321);

    // Above the view (the band's overlap) the division truncates toward zero: y 26 in a view from
    // 28 is -2 rows, which snaps to the view's top, not one magnified pixel above it.
    ExpectRect(SnapSelection({10, 26}, {20, 40}, top28, 3), 9, 28, 18, 40);
}

TEST(SelectionRules, PointerIsHeldInsideTheViewWithBothEndsAllowed) {
    const Rect v{0, 28, 400, 328};
    const struct {
        int x, y, wantX, wantY;
    } cases[] = {
        {150, 100, 150, 100},  // inside: unchanged
        {400, 328, 400, 328},  // the right and bottom edges themselves
        {401, 329, 400, 328},  // one beyond
        {-1, 27, 0, 28},       // left of and above the view (signed positions under capture)
        {-32768, 32767, 0, 328}, {0, 28, 0, 28},
    };
    for (const auto& c : cases) {
        const Point p = ClampIntoView(c.x, c.y, v);
        EXPECT_EQ(p.x, c.wantX) << c.x << "," << c.y;
        EXPECT_EQ(p.y, c.wantY) << c.x << "," << c.y;
    }
}

TEST(SelectionRules, TipCornerIsFivePixelsAboveAndLeftOfTheAnchorsPixel) {
    Point t = TipPosition({10, 40}, 3);
    EXPECT_EQ(t.x, 4);
    EXPECT_EQ(t.y, 34);
    // Client coordinates, not view-relative: with the view at 28 the anchor's row snaps to 40,
    // while the tip still uses 3 x (40 div 3) - 5 = 34.
    EXPECT_EQ(SnapSelection({10, 40}, {30, 60}, Rect{0, 28, 400, 328}, 3).top, 40);
    EXPECT_EQ(TipPosition({10, 40}, 3).y, 34);
    t = TipPosition({0, 0}, 1);
    EXPECT_EQ(t.x, -5);
    EXPECT_EQ(t.y, -5);
    t = TipPosition({100, 70}, 32);
    EXPECT_EQ(t.x, 91);
    EXPECT_EQ(t.y, 59);
}

TEST(SelectionRules, ZoomToCentresTheSelectedPixelsAtTheLargestZoomThatShowsThemWhole) {
    // Each case runs as the view does it; the screen pixels shown wholly afterwards must hold the
    // selected ones unless the zoom stopped at 32. First the worked example: zoom 2, view
    // (0, 28)-(400, 328), point (500, 400); pixels 450..499 x 375..399, zoom 8, point (475, 387).
    const auto zoomTo = [](Rect sel, Rect v, int zoom, ZoomTarget* t, Point* point) {
        Source before, after;
        ComputeSource(v.right - v.left, v.bottom - v.top, zoom, Rect{0, 0, 1024, 768}, &before);
        *t = ZoomTo(sel, v, SourceRect(ClampPoint({500, 400}, before), before), zoom);
        ComputeSource(v.right - v.left, v.bottom - v.top, t->zoom, Rect{0, 0, 1024, 768}, &after);
        *point = CentreOn(t->pixels, after);
        const Point c = ClampPoint(*point, after);
        const int x = c.x - after.halfWidth, y = c.y - after.halfHeight;
        const Rect& p = t->pixels;
        return t->zoom == 32 ||
               (p.left >= x && p.top >= y && p.right <= x + after.srcWidth - 1 && p.bottom <= y + after.srcHeight - 1);
    };
    ZoomTarget t;
    Point p;
    EXPECT_TRUE(zoomTo({100, 128, 200, 178}, {0, 28, 400, 328}, 2, &t, &p));
    ExpectRect(t.pixels, 450, 375, 500, 400);
    EXPECT_EQ(t.zoom, 8);
    EXPECT_EQ(p.x, 475);
    EXPECT_EQ(p.y, 387);
    const struct {
        Rect sel, view;
        int zoom, want;
    } cases[] = {
        {{10, 10, 47, 33}, {0, 0, 400, 300}, 1, 10},    // 37 x 23: the width decides
        {{100, 20, 120, 120}, {0, 0, 400, 300}, 1, 3},  // tall: the height decides
        {{0, 140, 300, 150}, {0, 0, 400, 300}, 1, 1},   // wide: 400 / 300, the zoom stays
        {{96, 96, 104, 104}, {0, 0, 400, 300}, 2, 32},  // 50 x 2, clamped
        {{0, 0, 75, 30}, {0, 0, 300, 300}, 1, 4},       // an odd count filling the view exactly
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(zoomTo(c.sel, c.view, c.zoom, &t, &p)) << c.sel.left << "," << c.sel.top;
        EXPECT_EQ(t.zoom, c.want) << c.sel.left << "," << c.sel.top;
    }
    // Selections all over a 300 x 200 view at zooms 1 to 4.
    for (int z = 1; z <= 4; ++z)
        for (int l = 0; l < 300; l += 14 * z)
            for (int r = l + z; r <= 300; r += 10 * z)
                for (int top = 0; top < 200; top += 12 * z)
                    for (int b = top + z; b <= 200; b += 8 * z)
                        ASSERT_TRUE(
                            zoomTo(SnapSelection({l, top}, {r, b}, {0, 0, 300, 200}, z), {0, 0, 300, 200}, z, &t, &p))
                            << z << ": " << l << "," << top << " " << r << "," << b;
}

TEST(SelectionRules, AntsPhaseRunsZeroTwoFourSixAndRoundAgain) {
    int phase = 0;
    const int expected[] = {2, 4, 6, 0, 2, 4, 6, 0};
    for (int want : expected) {
        phase = NextAntsPhase(phase);
        EXPECT_EQ(phase, want);
    }
}
