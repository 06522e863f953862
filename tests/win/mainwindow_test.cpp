// The main window's geometry and painting, on the real window and the real screen.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/settings.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

using namespace pixels;

namespace {

// Paints once and checks the client area against the pattern around the clamped point. What a
// window draws reaches the screen when Wine flushes the window's surface, so the check waits for
// it.
std::string PaintAndCompare(int zoom) {
    mainWindow.PaintNow();
    const RECT view = ClientOnScreen(mainWindow.hwnd);
    const POINT cl = mainWindow.ClampPoint();
    std::string diff;
    waiting::WaitFor(
        [&] {
            const Capture c = CaptureScreen(view);
            diff = CompareMagnified(c, POINT{view.left, view.top}, SIZE{view.right - view.left, view.bottom - view.top},
                                    cl.x - mainWindow.source.halfWidth, cl.y - mainWindow.source.halfHeight, zoom);
            return diff.empty();
        },
        3000, 20);
    return diff;
}

// The screen once everything drawn so far has surely been flushed to it.
Capture Settled(const RECT& area) {
    waiting::PumpFor(200);
    return CaptureScreen(area);
}

// Sets the point and the zoom behind the commands' back and lays the view out for them.
void SetView(POINT point, int zoom) {
    mainWindow.point = point;
    settings.ZoomFactor = zoom;
    mainWindow.Layout();
}

}  // namespace

class MainWindowView : public GlobalStateTest {};

TEST_F(MainWindowView, LayoutDerivesTheSourceFromTheViewAndZoom) {
    RealMainWindow w(RECT{500, 100, 900, 400});
    RECT client;
    GetClientRect(w.Handle(), &client);
    ASSERT_GT(client.right, 300);
    // Size the client area to exactly 300 x 200.
    RECT frame = {0, 0, 300, 200};
    AdjustWindowRectEx(&frame, GetWindowLongA(w.Handle(), GWL_STYLE), FALSE, GetWindowLongA(w.Handle(), GWL_EXSTYLE));
    SetWindowPos(w.Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    waiting::PumpFor(30);
    SetView(mainWindow.point, 3);
    EXPECT_EQ(mainWindow.source.srcWidth, 101);
    EXPECT_EQ(mainWindow.source.halfWidth, 50);
    EXPECT_EQ(mainWindow.source.srcHeight, 67);
    EXPECT_EQ(mainWindow.source.halfHeight, 33);
    EXPECT_EQ(mainWindow.source.visibleWidth, 100);
    EXPECT_EQ(mainWindow.source.visibleHeight, 67);
    EXPECT_EQ(mainWindow.source.maxX, screenWidth - 100 + 50);
    EXPECT_EQ(mainWindow.source.maxY, screenHeight - 67 + 33);
    RECT box;
    ASSERT_NE(GetRgnBox(mainWindow.viewRegion, &box), ERROR);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 300);
    EXPECT_EQ(box.bottom, 200);
    EXPECT_FALSE(mainWindow.viewEmpty);

    // A band shown at the top moves the view's top down; a status bar its bottom up.
    settings.DisplayToolbar = 1;
    settings.DisplayStatusbar = 1;
    const int savedBand = mainWindow.bandHeight, savedStatus = mainWindow.statusHeight;
    mainWindow.bandHeight = 28;
    mainWindow.statusHeight = 20;
    mainWindow.Layout();
    GetRgnBox(mainWindow.viewRegion, &box);
    EXPECT_EQ(box.top, 28);
    EXPECT_EQ(box.bottom, 180);
    EXPECT_EQ(mainWindow.source.srcHeight, 152 / 3 + 1);

    // No room at all: the view is empty and the old geometry stays.
    mainWindow.bandHeight = 300;
    mainWindow.Layout();
    EXPECT_TRUE(mainWindow.viewEmpty);
    EXPECT_EQ(mainWindow.source.srcHeight, 152 / 3 + 1);
    mainWindow.bandHeight = savedBand;
    mainWindow.statusHeight = savedStatus;
    settings.DisplayToolbar = 0;
    settings.DisplayStatusbar = 0;
    mainWindow.Layout();
    EXPECT_FALSE(mainWindow.viewEmpty);
}

TEST_F(MainWindowView, PaintIsAnExactNearestNeighbourMagnification) {
    PatternWindow pattern(RECT{0, 0, 400, 400});
    ASSERT_TRUE(pattern.WaitUntilShown());
    RealMainWindow w(RECT{450, 80, 450 + 317, 80 + 289});
    for (int zoom : {1, 2, 3, 5, 32}) {
        SetView(POINT{200, 190}, zoom);
        const std::string diff = PaintAndCompare(zoom);
        EXPECT_TRUE(diff.empty()) << "zoom " << zoom << "\n" << diff;
    }
    // The top-left corner of the screen: the point is held at half the source size.
    SetView(POINT{-50, 3}, 4);
    EXPECT_EQ(mainWindow.ClampPoint().x, mainWindow.source.halfWidth);
    EXPECT_EQ(mainWindow.ClampPoint().y, mainWindow.source.halfHeight);
    const std::string diff = PaintAndCompare(4);
    EXPECT_TRUE(diff.empty()) << diff;
}

TEST_F(MainWindowView, AnEmptyViewIsNotPainted) {
    RealMainWindow w(RECT{450, 80, 750, 300});
    settings.DisplayToolbar = 1;
    mainWindow.bandHeight = 1000;
    mainWindow.Layout();
    ASSERT_TRUE(mainWindow.viewEmpty);
    HDC dc = GetDC(w.Handle());
    RECT client;
    GetClientRect(w.Handle(), &client);
    HBRUSH brush = CreateSolidBrush(RGB(12, 34, 56));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(w.Handle(), dc);
    mainWindow.PaintNow();
    const Capture c = Settled(ClientOnScreen(w.Handle()));
    for (COLORREF p : c.pixels) ASSERT_EQ(p, RGB(12, 34, 56));
}

TEST_F(MainWindowView, CursorMarkerOnlyWhileFollowingWithTheMarkerOn) {
    PatternWindow pattern(RECT{0, 0, 400, 400});
    ASSERT_TRUE(pattern.WaitUntilShown());
    RealMainWindow w(RECT{450, 80, 450 + 317, 80 + 289});
    SetView(POINT{200, 190}, 6);
    const RECT view = ClientOnScreen(w.Handle());
    const POINT c = mainWindow.ClampPoint();
    const int mx = view.left + (mainWindow.point.x - c.x + mainWindow.source.halfWidth) * 6 + 3;
    const int my = view.top + (mainWindow.point.y - c.y + mainWindow.source.halfHeight) * 6 + 3;

    struct Case {
        int tracking, marker;
        bool drawn;
    } const cases[] = {{0, 1, false}, {1, 0, false}, {1, 1, true}, {0, 0, false}};
    for (const Case& k : cases) {
        settings.MouseTracking = k.tracking;
        settings.DisplayMouseWhenFollowing = k.marker;
        mainWindow.PaintNow();
        const Capture shot = Settled(RECT{mx, my, mx + 4, my + 4});
        // The arrow's tip is black at its hotspot, with white inside just below it.
        const bool tip = shot.At(mx, my) == RGB(0, 0, 0) && shot.At(mx + 1, my + 2) == RGB(255, 255, 255);
        EXPECT_EQ(tip, k.drawn) << k.tracking << k.marker;
    }
}

TEST_F(MainWindowView, OutlineTwiceLeavesTheScreenAsItWas) {
    PatternWindow pattern(RECT{0, 0, 400, 400});
    ASSERT_TRUE(pattern.WaitUntilShown());
    RealMainWindow w(RECT{450, 80, 450 + 250, 80 + 200});
    SetView(POINT{200, 190}, 4);
    mainWindow.UpdateOutline();
    const RECT o = mainWindow.outline;
    const POINT c = mainWindow.ClampPoint();
    EXPECT_EQ(o.left, c.x - mainWindow.source.halfWidth - 1);
    EXPECT_EQ(o.right, c.x - mainWindow.source.halfWidth + mainWindow.source.visibleWidth);
    const RECT around = {o.left - 2, o.top - 2, o.right + 3, o.bottom + 3};
    const Capture before = Settled(around);
    mainWindow.ToggleOutline();
    const Capture shown = Settled(around);
    for (int y = around.top; y < around.bottom; ++y)
        for (int x = around.left; x < around.right; ++x) {
            const bool onFrame = x >= o.left && x <= o.right && y >= o.top && y <= o.bottom &&
                                 (x == o.left || x == o.right || y == o.top || y == o.bottom);
            const COLORREF want = onFrame ? (before.At(x, y) ^ 0x00FFFFFF) : before.At(x, y);
            ASSERT_EQ(shown.At(x, y), want) << x << "," << y;
        }
    mainWindow.ToggleOutline();
    const Capture after = Settled(around);
    EXPECT_EQ(after.pixels, before.pixels);
}

TEST_F(MainWindowView, InvertFrameInvertsEachBorderPixelOnce) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 40);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, 40, 40, WHITENESS);
    const RECT r = {5, 7, 30, 21};
    MainWindow::InvertFrame(memory, r);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool onFrame = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom &&
                                 (x == r.left || x == r.right || y == r.top || y == r.bottom);
            ASSERT_EQ(GetPixel(memory, x, y), onFrame ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x << "," << y;
        }
    MainWindow::InvertFrame(memory, r);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(GetPixel(memory, x, y), RGB(255, 255, 255));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(MainWindowView, IdentityPaletteNamesEveryHardwareIndex) {
    HPALETTE p = CreateIdentityPalette();
    ASSERT_NE(p, nullptr);
    PALETTEENTRY entries[256];
    ASSERT_EQ(GetPaletteEntries(p, 0, 256, entries), 256u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(entries[i].peRed, i);
        EXPECT_EQ(entries[i].peGreen, 0);
        EXPECT_EQ(entries[i].peBlue, 0);
        EXPECT_EQ(entries[i].peFlags, PC_EXPLICIT);
    }
    DeleteObject(p);
    EXPECT_NE(mainWindow.palette, nullptr);
}

TEST_F(MainWindowView, DestructionStoresPlacementAndPointAndEndsTheLoop) {
    POINT saved = {0, 0};
    {
        RealMainWindow w(RECT{210, 130, 610, 430});
        mainWindow.point = POINT{-7, 9999};
        saved = mainWindow.point;
        DestroyWindow(w.Handle());
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 0u);
    }
    EXPECT_EQ(settings.WindowPos.left, 210);
    EXPECT_EQ(settings.WindowPos.top, 130);
    EXPECT_EQ(settings.WindowPos.right, 610);
    EXPECT_EQ(settings.WindowPos.bottom, 430);
    EXPECT_EQ(settings.ZoomPoint.x, saved.x);
    EXPECT_EQ(settings.ZoomPoint.y, saved.y);
}
