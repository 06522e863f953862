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

// The outline of the magnified area for a point, as the view computes it before Zoom To.
Rect OutlineFor(int viewWidth, int viewHeight, int zoom, rules::Point point) {
    rules::Source s;
    EXPECT_TRUE(rules::ComputeSource(viewWidth, viewHeight, zoom, rules::Rect{0, 0, 1024, 768}, &s));
    const rules::Rect o = rules::OutlineRect(rules::ClampPoint(point, s), s);
    return Rect{o.left, o.top, o.right, o.bottom};
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

TEST(SelectionRules, ZoomToCentresTheSelectionAndMultipliesByTheWidthRatio) {
    // Zoom 2, view (0, 28)-(400, 328), point (500, 400): the outline is (399, 324)-(600, 475);
    // the selection (100, 128)-(200, 178) makes it (449, 374)-(499, 399), centred at (474, 386),
    // and 400 div 100 = 4 gives zoom 8.
    const Rect outline = OutlineFor(400, 300, 2, {500, 400});
    ExpectRect(outline, 399, 324, 600, 475);  // one outside the 200 x 150 pixels shown
    ZoomTarget z = ZoomTo(Rect{100, 128, 200, 178}, Rect{0, 28, 400, 328}, outline, 2);
    EXPECT_EQ(z.point.x, 474);
    EXPECT_EQ(z.point.y, 386);
    EXPECT_EQ(z.zoom, 8);
    // The same selection in a view starting at 27.
    z = ZoomTo(Rect{100, 127, 200, 177}, Rect{0, 27, 400, 327}, outline, 2);
    EXPECT_EQ(z.point.x, 474);
    EXPECT_EQ(z.point.y, 386);

    // Only the widths count: a flat, wide selection gives 400 div 300 = 1.
    z = ZoomTo(Rect{0, 28, 300, 30}, Rect{0, 28, 400, 328}, outline, 2);
    EXPECT_EQ(z.zoom, 2);
    // A tall, narrow one a large factor, left for SetZoom to clamp.
    z = ZoomTo(Rect{96, 28, 104, 328}, Rect{0, 28, 400, 328}, outline, 8);
    EXPECT_EQ(z.zoom, 400);

    // Zoom 3, a selection of 10 x 7 source pixels starting 3 columns and 7 rows into the view: the
    // centre of an odd extent is truncated toward the top-left.
    const Rect o3 = OutlineFor(300, 200, 3, {500, 400});
    z = ZoomTo(Rect{9, 21, 39, 42}, Rect{0, 0, 300, 200}, o3, 3);
    EXPECT_EQ(z.point.x, o3.left + 3 + 5);
    EXPECT_EQ(z.point.y, o3.top + 7 + 3);
    EXPECT_EQ(z.zoom, 30);
}

TEST(SelectionRules, AntsPhaseRunsZeroTwoFourSixAndRoundAgain) {
    int phase = 0;
    const int expected[] = {2, 4, 6, 0, 2, 4, 6, 0};
    for (int want : expected) {
        phase = NextAntsPhase(phase);
        EXPECT_EQ(phase, want);
    }
}
