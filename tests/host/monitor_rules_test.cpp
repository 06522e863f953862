// Which monitor the view shows, and how the keys carry the point from one monitor to the next.
#include <gtest/gtest.h>

#include <initializer_list>

#include "view/geometry.h"

using namespace rules;

namespace {

Monitors Layout(std::initializer_list<Rect> rects) {
    Monitors m = {};
    for (const Rect& r : rects) m.rects[m.count++] = r;
    return m;
}

// A view 300 x 200 at zoom 3: 101 x 67 source pixels, 100 x 67 of them shown, half 50 x 33.
Source View300x200() {
    Source s{};
    EXPECT_TRUE(ComputeSource(300, 200, 3, Rect{0, 0, 1024, 768}, &s));
    return s;
}

const Rect kPrimary = {0, 0, 1024, 768};
const Rect kRight = {1024, 0, 1824, 600};  // the second monitor right of the primary one
const Rect kLeft = {-1024, 0, 0, 768};     // the first one left of a primary 800 x 600
const Rect kPrimary800 = {0, 0, 800, 600};
const Rect kBelow = {0, 768, 1024, 1536};  // stacked under the primary one
const Rect kNone = {0, 0, 0, 0};

bool Same(Point a, Point b) {
    return a.x == b.x && a.y == b.y;
}

}  // namespace

TEST(MonitorRule, TheMonitorHoldingThePointOrElseTheNearest) {
    const Monitors two = Layout({kPrimary, kRight});
    EXPECT_EQ(NearestMonitor(two, Point{0, 0}), 0);
    EXPECT_EQ(NearestMonitor(two, Point{1023, 767}), 0);
    EXPECT_EQ(NearestMonitor(two, Point{1024, 0}), 1);  // right edges are exclusive
    EXPECT_EQ(NearestMonitor(two, Point{1823, 599}), 1);
    // Uncovered space under the smaller monitor: 1 pixel from the primary, 1 from the second;
    // the tie goes to the earlier one. Further right only the second one is near.
    EXPECT_EQ(NearestMonitor(two, Point{1024, 600}), 0);
    EXPECT_EQ(NearestMonitor(two, Point{1200, 650}), 1);  // 177 from the primary, 51 from the second
    EXPECT_EQ(NearestMonitor(two, Point{1030, 767}), 0);
    // Far outside the virtual screen, on every side.
    EXPECT_EQ(NearestMonitor(two, Point{-5000, 300}), 0);
    EXPECT_EQ(NearestMonitor(two, Point{9000, -9000}), 1);
    // Negative origins: the monitor left of the primary one.
    const Monitors left = Layout({kPrimary800, kLeft});
    EXPECT_EQ(NearestMonitor(left, Point{-1, 0}), 1);
    EXPECT_EQ(NearestMonitor(left, Point{-1024, 767}), 1);
    EXPECT_EQ(NearestMonitor(left, Point{0, 0}), 0);
    EXPECT_EQ(NearestMonitor(left, Point{300, 700}), 0);  // 101 below the primary, 301 right of the other
    EXPECT_EQ(NearestMonitor(left, Point{50, 700}), 1);   // 101 below the primary, 51 right of the other
    // Three in an L with uncovered space at the bottom right.
    const Monitors l = Layout({kPrimary, kRight, kBelow});
    EXPECT_EQ(NearestMonitor(l, Point{500, 1000}), 2);
    EXPECT_EQ(NearestMonitor(l, Point{1500, 1000}), 1);  // 401 below the second, 477 right of the third
    EXPECT_EQ(NearestMonitor(l, Point{1100, 1000}), 2);  // 401 below the second, 77 right of the third
    // No monitors at all: nothing, and the bounds fall back.
    const Monitors none = Layout({});
    EXPECT_EQ(NearestMonitor(none, Point{1, 1}), -1);
    const Rect b = MonitorBounds(none, Point{1, 1}, Rect{0, 0, 640, 480});
    EXPECT_EQ(b.right, 640);
    EXPECT_EQ(MonitorBounds(l, Point{1500, 1000}, kNone).left, 1024);
}

TEST(MonitorRule, AStoredPointOnNoMonitorComesToTheNearestPixelOfTheNearestOne) {
    const Monitors two = Layout({kPrimary, kRight});
    EXPECT_TRUE(Same(OntoMonitor(two, Point{1500, 300}), Point{1500, 300}));
    EXPECT_TRUE(Same(OntoMonitor(two, Point{1500, 700}), Point{1500, 599}));
    EXPECT_TRUE(Same(OntoMonitor(two, Point{5000, 5000}), Point{1823, 599}));
    EXPECT_TRUE(Same(OntoMonitor(two, Point{-40, -7}), Point{0, 0}));
    const Monitors left = Layout({kPrimary800, kLeft});
    EXPECT_TRUE(Same(OntoMonitor(left, Point{-3000, 900}), Point{-1024, 767}));
    EXPECT_TRUE(Same(OntoMonitor(left, Point{-512, 384}), Point{-512, 384}));
    EXPECT_TRUE(Same(OntoMonitor(Layout({}), Point{-3000, 900}), Point{-3000, 900}));
}

TEST(MonitorRule, LimitsFollowTheMonitorWhoseOriginMayBeNegative) {
    const Source s = View300x200();
    const Source l = WithBounds(s, kLeft);
    EXPECT_EQ(l.minX, -1024 + 50);
    EXPECT_EQ(l.maxX, 0 - 100 + 50);
    EXPECT_EQ(l.minY, 33);
    EXPECT_EQ(l.maxY, 768 - 67 + 33);
    // The shown pixels at either limit are the monitor's first and last ones.
    EXPECT_EQ(SourceRect(Point{l.minX, l.minY}, l).left, -1024);
    EXPECT_EQ(SourceRect(Point{l.maxX, l.maxY}, l).right, 0);
    EXPECT_EQ(SourceRect(Point{l.maxX, l.maxY}, l).bottom, 768);
    const Source r = WithBounds(s, kRight);
    EXPECT_EQ(SourceRect(ClampPoint(Point{5000, 5000}, r), r).right, 1824);
    EXPECT_EQ(SourceRect(ClampPoint(Point{5000, 5000}, r), r).bottom, 600);
    EXPECT_EQ(SourceRect(ClampPoint(Point{1024, 0}, r), r).left, 1024);
    // The sizes stay as they were.
    EXPECT_EQ(r.srcWidth, s.srcWidth);
    EXPECT_EQ(r.visibleHeight, s.visibleHeight);
}

TEST(MonitorRule, OnOneMonitorTheKeysStepFromThePointTheViewShows) {
    const Source s = View300x200();
    const Monitors one = Layout({kPrimary});
    const Monitors none = Layout({});
    for (int x : {-500, 0, 49, 50, 51, 500, 973, 974, 975, 2000})
        for (int d : {-100, -16, -1, 1, 16, 100}) {
            const Point p = {x, x / 2};
            const Point want = {Clamp(Clamp(p.x, s.minX, s.maxX) + d, s.minX, s.maxX), p.y};
            EXPECT_TRUE(Same(PanPoint(one, s, p, d, 0, kPrimary), want)) << x << " by " << d;
            EXPECT_TRUE(Same(PanPoint(none, s, p, d, 0, kPrimary), want)) << x << " by " << d;
            const Point wantY = {p.x, Clamp(Clamp(p.y, s.minY, s.maxY) + d, s.minY, s.maxY)};
            EXPECT_TRUE(Same(PanPoint(one, s, p, 0, d, kPrimary), wantY)) << x << " by " << d;
        }
    // A point a drag left beyond a limit: the first step already moves the view. Right from x 0
    // (shown as 50) goes to 51; a page left from 2000 (shown as 974) goes 99 columns to 875.
    EXPECT_TRUE(Same(PanPoint(one, s, Point{0, 0}, 1, 0, kNone), Point{51, 0}));
    EXPECT_TRUE(Same(PanPoint(one, s, Point{2000, 300}, 1 - s.srcWidth + 1, 0, kNone), Point{875, 300}));
}

TEST(MonitorRule, KeysCarryThePointAcrossToTheNextMonitorAndBack) {
    const Source s = View300x200();
    const Monitors two = Layout({kPrimary, kRight});
    const Source a = WithBounds(s, kPrimary), b = WithBounds(s, kRight);
    // At the primary's right limit one step right, or sixteen, lands on the second's left limit:
    // its first hundred columns come next to the primary's last hundred.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX, 300}, 1, 0, kNone), Point{b.minX, 300}));
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX, 300}, 16, 0, kNone), Point{b.minX, 300}));
    // A step from short of the limit stops at it, so that no column is passed unseen.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX - 10, 300}, 100, 0, kNone), Point{a.maxX, 300}));
    // A drag may leave the stored point beyond the limit (the cursor at the monitor's edge): the
    // view is at the limit, so one step still lands on the near limit over there.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{1023, 300}, 1, 0, kNone), Point{b.minX, 300}));
    EXPECT_TRUE(Same(PanPoint(two, s, Point{1023, 300}, 16, 0, kNone), Point{b.minX, 300}));
    // Steps longer than the view go on over there by what they go beyond it.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX, 300}, 100 + 40, 0, kNone), Point{b.minX + 40, 300}));
    // Still short of the limit: no carry.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX - 1, 300}, 1, 0, kNone), Point{a.maxX, 300}));
    // Row 700 lies below the smaller monitor: the point comes up into its limits.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX, 700}, 1, 0, kNone), Point{b.minX, b.maxY}));
    // And back from the second's left limit to the primary's right one.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{b.minX, 300}, -1, 0, kNone), Point{a.maxX, 300}));
    EXPECT_TRUE(Same(PanPoint(two, s, Point{b.minX, 300}, -16, 0, kNone), Point{a.maxX, 300}));
    // At the far edges nothing lies beyond: the point stops at the limit.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{b.maxX, 100}, 16, 0, kNone), Point{b.maxX, 100}));
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.minX, 100}, -1, 0, kNone), Point{a.minX, 100}));
    EXPECT_TRUE(Same(PanPoint(two, s, Point{1500, b.maxY}, 0, 1, kNone), Point{1500, b.maxY}));
    // A far step carried over stops at the other monitor's far limit.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX, 300}, 5000, 0, kNone), Point{b.maxX, 300}));

    // The second monitor left of the primary, at negative coordinates.
    const Monitors left = Layout({kPrimary800, kLeft});
    const Source p8 = WithBounds(s, kPrimary800), l = WithBounds(s, kLeft);
    EXPECT_TRUE(Same(PanPoint(left, s, Point{p8.minX, 200}, -1, 0, kNone), Point{l.maxX, 200}));
    EXPECT_TRUE(Same(PanPoint(left, s, Point{l.maxX, 700}, 1, 0, kNone), Point{p8.minX, p8.maxY}));
    EXPECT_TRUE(Same(PanPoint(left, s, Point{l.minX, 700}, -16, 0, kNone), Point{l.minX, 700}));

    // Stacked: down from the bottom limit, up from the top one.
    const Monitors stacked = Layout({kPrimary, kBelow});
    const Source below = WithBounds(s, kBelow);
    EXPECT_TRUE(Same(PanPoint(stacked, s, Point{400, a.maxY}, 0, 1, kNone), Point{400, below.minY}));
    EXPECT_TRUE(Same(PanPoint(stacked, s, Point{400, below.minY}, 0, -66, kNone), Point{400, a.maxY}));
    EXPECT_TRUE(Same(PanPoint(stacked, s, Point{400, below.minY}, 0, -67 - 5, kNone), Point{400, a.maxY - 5}));
    // Both axes at once: across first, then down on the monitor it arrived at.
    EXPECT_TRUE(Same(PanPoint(two, s, Point{a.maxX, 300}, 1, 1, kNone), Point{b.minX, 301}));
}

// Pages (a screenful less one) across each edge, for views of every parity: from the limit the
// next view starts (or ends) at the far monitor's near edge, as if the two met; from short of the
// limit a page stops at it. No column or row is ever skipped.
TEST(MonitorRule, PagesAcrossMonitorsLeaveNoGap) {
    const Rect apart = {1124, 0, 1924, 600};  // not touching: the pages go on as if it did
    const struct {
        Monitors m;
        bool horizontal;
        int direction;
    } cases[] = {{Layout({kPrimary, kRight}), true, 1},
                 {Layout({kPrimary800, kLeft}), true, -1},
                 {Layout({kPrimary, kBelow}), false, 1},
                 {Layout({kBelow, kPrimary}), false, -1},
                 {Layout({kPrimary, apart}), true, 1}};
    for (const auto& c : cases)
        for (int view : {300, 301, 302}) {
            Source s{};
            ASSERT_TRUE(ComputeSource(view, view - 100, 3, kPrimary, &s));
            const Source h = WithBounds(s, c.m.rects[0]), t = WithBounds(s, c.m.rects[1]);
            const int limit = c.horizontal ? (c.direction > 0 ? h.maxX : h.minX) : (c.direction > 0 ? h.maxY : h.minY);
            const int page = c.direction * ((c.horizontal ? s.srcWidth : s.srcHeight) - 1);
            for (int before : {0, 1, 40}) {
                const int at = limit - c.direction * before;
                const Point q = c.horizontal ? PanPoint(c.m, s, Point{at, 300}, page, 0, kNone)
                                             : PanPoint(c.m, s, Point{400, at}, 0, page, kNone);
                const int near =
                    c.horizontal ? (c.direction > 0 ? t.minX : t.maxX) : (c.direction > 0 ? t.minY : t.maxY);
                EXPECT_EQ(c.horizontal ? q.x : q.y, before == 0 ? near : limit) << view << " " << before;
            }
        }
}

TEST(MonitorRule, NoCarryIntoUncoveredSpaceAndAViewWiderThanTheMonitorStaysOnIt) {
    const Source s = View300x200();
    // An L: the second monitor right of the primary, the third under the primary. Below the
    // second there is nothing level with it, so Down stops; from the third, Right finds nothing
    // level with it either.
    const Monitors l = Layout({kPrimary, kRight, kBelow});
    const Source b = WithBounds(s, kRight), c = WithBounds(s, kBelow);
    EXPECT_TRUE(Same(PanPoint(l, s, Point{1400, b.maxY}, 0, 1, kNone), Point{1400, b.maxY}));
    EXPECT_TRUE(Same(PanPoint(l, s, Point{c.maxX, 1000}, 1, 0, kNone), Point{c.maxX, 1000}));
    // Up from the third goes to the primary, the only monitor level with its top edge.
    EXPECT_EQ(NearestMonitor(l, PanPoint(l, s, Point{500, c.minY}, 0, -1, kNone)), 0);

    // A monitor narrower than the view: its limits lie outside it, yet the carried point lands on
    // it, so the next use still finds that monitor.
    const Rect narrow = {1024, 0, 1224, 768};
    const Monitors withNarrow = Layout({kPrimary, narrow});
    const Source a = WithBounds(s, kPrimary);
    const Point p = PanPoint(withNarrow, s, Point{a.maxX, 300}, 1, 0, kNone);
    EXPECT_EQ(NearestMonitor(withNarrow, p), 1);
    EXPECT_GE(p.x, 1024);
    EXPECT_LT(p.x, 1224);
    // The clamp there tests the lower limit first: the view starts at the narrow monitor's left.
    const Source n = WithBounds(s, narrow);
    EXPECT_EQ(SourceRect(ClampPoint(p, n), n).left, 1024);
}
