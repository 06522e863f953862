// The main window at another DPI: WM_DPICHANGED as the system sends it when the window moves to a
// monitor of another DPI (sent here in-process: Wine never sends it), and back to 96 DPI.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "chrome/dpi.h"
#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/view_check.h"
#include "tests/support/handle_meter.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

namespace {

bool SameRect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != 0;
}

// Everything of the chrome that a DPI changes, as the window shows it.
struct ChromeState {
    RECT window, band, toolbar, zoomTrack, rateTrack, statusBar;
    std::vector<RECT> buttons;
    int edges[4];
    int bandHeight, statusHeight, thumb, srcWidth, srcHeight;
    SIZE images;
    LONG fontHeight;

    static ChromeState Read() {
        ChromeState s = {};
        s.window = dialogs::Rect(mainWindow.hwnd);
        s.band = dialogs::Rect(mainWindow.band);
        s.toolbar = dialogs::Rect(mainWindow.toolbar);
        s.zoomTrack = dialogs::Rect(mainWindow.zoomTrack);
        s.rateTrack = dialogs::Rect(mainWindow.rateTrack);
        s.statusBar = dialogs::Rect(mainWindow.statusBar);
        const int count = static_cast<int>(SendMessageA(mainWindow.toolbar, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            RECT r = {};
            SendMessageA(mainWindow.toolbar, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
            s.buttons.push_back(r);
        }
        SendMessageA(mainWindow.statusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(s.edges));
        s.bandHeight = mainWindow.bandHeight;
        s.statusHeight = mainWindow.statusHeight;
        s.thumb = static_cast<int>(SendMessageA(mainWindow.zoomTrack, TBM_GETTHUMBLENGTH, 0, 0));
        s.srcWidth = mainWindow.source.srcWidth;
        s.srcHeight = mainWindow.source.srcHeight;
        int cx = 0, cy = 0;
        ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageA(mainWindow.toolbar, TB_GETIMAGELIST, 0, 0)),
                              &cx, &cy);
        s.images = SIZE{cx, cy};
        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(mainWindow.statusBar, WM_GETFONT, 0, 0)), sizeof font, &font);
        s.fontHeight = font.lfHeight;
        return s;
    }
};

// What differs between two states; empty when nothing does.
std::string Differences(const ChromeState& a, const ChromeState& b) {
    std::string d;
    const struct {
        const char* name;
        const RECT &x, &y;
    } rects[] = {{"window", a.window, b.window},
                 {"band", a.band, b.band},
                 {"toolbar", a.toolbar, b.toolbar},
                 {"zoom trackbar", a.zoomTrack, b.zoomTrack},
                 {"rate trackbar", a.rateTrack, b.rateTrack},
                 {"status bar", a.statusBar, b.statusBar}};
    for (const auto& r : rects)
        if (!SameRect(r.x, r.y)) d += std::string(r.name) + " ";
    if (a.buttons.size() != b.buttons.size()) d += "button count ";
    for (size_t i = 0; i < a.buttons.size() && i < b.buttons.size(); ++i)
        if (!SameRect(a.buttons[i], b.buttons[i])) d += "button " + std::to_string(i) + " ";
    for (int i = 0; i < 4; ++i)
        if (a.edges[i] != b.edges[i]) d += "status edge " + std::to_string(i) + " ";
    if (a.bandHeight != b.bandHeight || a.statusHeight != b.statusHeight) d += "heights ";
    if (a.thumb != b.thumb) d += "thumb ";
    if (a.srcWidth != b.srcWidth || a.srcHeight != b.srcHeight) d += "source ";
    if (a.images.cx != b.images.cx || a.images.cy != b.images.cy) d += "images ";
    if (a.fontHeight != b.fontHeight) d += "font ";
    return d;
}

void SendDpiChanged(int dpi, RECT suggested) {
    SendMessageA(mainWindow.hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

int TextWidth(HFONT font, const char* text) {
    HDC dc = GetDC(mainWindow.hwnd);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &s);
    SelectObject(dc, old);
    ReleaseDC(mainWindow.hwnd, dc);
    return s.cx;
}

// The view as painted now must be the pattern magnified around the clamped point.
std::string ViewDifference() {
    mainWindow.PaintNow();
    e2e::ExpectedView v;
    ClientToScreen(mainWindow.hwnd, &v.client);
    mainWindow.GetViewRect(&v.view);
    v.zoom = settings.ZoomFactor;
    const POINT c = mainWindow.ClampPoint();
    v.sourceLeft = c.x - mainWindow.source.halfWidth;
    v.sourceTop = c.y - mainWindow.source.halfHeight;
    std::string diff;
    e2e::WaitForView(v, nullptr, {}, &diff, 3000);
    return diff;
}

class DpiChange : public GlobalStateTest {
protected:
    void SetUp() override {
        settings.ZoomFactor = 3;
        settings.DisplayRGBColourPanel = 1;
    }
};

}  // namespace

TEST_F(DpiChange, At144TheWindowTakesTheSuggestedPlaceAndTheChromeGrowsAndAt96AllIsAsBefore) {
    ASSERT_EQ(SystemDpi(), 96) << "this test starts from a 96-DPI system";
    pixels::PatternWindow pattern(RECT{0, 0, 300, 300});
    ASSERT_TRUE(pattern.WaitUntilShown());
    const RECT start = {320, 60, 320 + 560, 60 + 380};
    RealMainWindow w(start, true, true);
    mainWindow.point = POINT{150, 140};
    mainWindow.PaintNow();
    const ChromeState before = ChromeState::Read();
    ASSERT_EQ(before.images.cx, 16);
    ASSERT_EQ(before.images.cy, 15);

    const RECT suggested = {340, 30, 340 + 660, 30 + 560};
    SendDpiChanged(144, suggested);
    waiting::PumpFor(30);
    const ChromeState big = ChromeState::Read();
    EXPECT_TRUE(SameRect(big.window, suggested));
    EXPECT_EQ(mainWindow.dpi, 144);

    // Toolbar: images twice as large (1.5 rounds to a whole 2), buttons grown by the same pixels,
    // the band high enough for them, the trackbars right of the last button with the scaled gaps.
    EXPECT_EQ(big.images.cx, 32);
    EXPECT_EQ(big.images.cy, 30);
    const RECT& b0 = before.buttons[8];  // Follow Keyboard, the last
    const RECT& b1 = big.buttons[8];
    EXPECT_EQ(b1.right - b1.left, b0.right - b0.left + 16);
    EXPECT_EQ(b1.bottom - b1.top, b0.bottom - b0.top + 15);
    EXPECT_EQ(big.buttons[0].left, 6);  // the indent of 4, scaled
    EXPECT_GE(big.toolbar.bottom - big.toolbar.top, b1.bottom);
    EXPECT_EQ(big.bandHeight, big.band.bottom - big.band.top - 2);
    EXPECT_GT(big.bandHeight, before.bandHeight + 10);
    POINT origin = {0, 0};
    MapWindowPoints(mainWindow.toolbar, nullptr, &origin, 1);
    const int w7 = b1.right - b1.left;
    EXPECT_EQ(big.zoomTrack.left - origin.x, b1.right + 3);
    EXPECT_EQ(big.zoomTrack.right - big.zoomTrack.left, 3 * w7);
    EXPECT_EQ(big.rateTrack.left - origin.x, b1.right + 3 * w7 + 6);
    EXPECT_EQ(big.rateTrack.right - big.rateTrack.left, 3 * w7 / 2);
    EXPECT_EQ(big.thumb, 32);                                            // 21 scaled
    EXPECT_LE(big.thumb + 2, big.zoomTrack.bottom - big.zoomTrack.top);  // the thumb is not cut off

    // Status bar: the font scaled, the bar as high as it makes it, every part holding its widest
    // text in that font, the swatch 31 scaled.
    EXPECT_EQ(big.fontHeight, MulDiv(before.fontHeight, 144, 96));
    EXPECT_EQ(big.statusHeight, big.statusBar.bottom - big.statusBar.top);
    EXPECT_GT(big.statusHeight, before.statusHeight);
    HFONT font = mainWindow.GuiFont();
    EXPECT_GE(big.edges[0], TextWidth(font, "Press F1 for help") + 9);
    EXPECT_EQ(big.edges[1] - big.edges[0], TextWidth(font, " RGB:000,000,000 ") + 9);
    EXPECT_EQ(big.edges[2] - big.edges[1], 47);
    EXPECT_EQ(big.edges[3] - big.edges[2], TextWidth(font, widestCoordsText.GetText()) + 9);

    // The view between them: the source for its new size, still one screen pixel per square.
    RECT view;
    mainWindow.GetViewRect(&view);
    RECT client;
    GetClientRect(mainWindow.hwnd, &client);
    EXPECT_EQ(view.top, big.bandHeight);
    EXPECT_EQ(view.bottom, client.bottom - big.statusHeight);
    EXPECT_EQ(mainWindow.source.srcWidth, (view.right - view.left) / 3 + 1);
    EXPECT_EQ(mainWindow.source.srcHeight, (view.bottom - view.top) / 3 + 1);
    std::string diff = ViewDifference();
    EXPECT_TRUE(diff.empty()) << "at 144 DPI:\n" << diff;

    // The size tip draws in the same font.
    EXPECT_EQ(mainWindow.sizeTip.font, font);
    EXPECT_EQ(mainWindow.sizeTip.dpi, 144);

    SendDpiChanged(96, start);
    waiting::PumpFor(30);
    EXPECT_EQ(Differences(before, ChromeState::Read()), "");
    EXPECT_EQ(mainWindow.sizeTip.font, nullptr);
    diff = ViewDifference();
    EXPECT_TRUE(diff.empty()) << "back at 96 DPI:\n" << diff;
}

TEST_F(DpiChange, AThousandRoundTripsLeakNoGdiOrUserObject) {
    // One small place for every DPI: the loop is about what the chrome makes, not about moving
    // and painting the window, which the test above covers.
    const RECT small = {320, 60, 620, 260}, large = small;
    RealMainWindow w(small, true, true);
    // Warm-up: what the first change creates for the window's life (the toolbar's lists).
    for (int i = 0; i < 3; ++i) {
        SendDpiChanged(192, large);
        SendDpiChanged(96, small);
    }
    waiting::PumpFor(50);
    const int gdiBefore = meter::FreeGdiObjects();
    const int userBefore = meter::FreeUserObjects();
    for (int i = 0; i < 1000; ++i) {
        SendDpiChanged(i % 2 ? 192 : 144, large);
        SendDpiChanged(96, small);
        if (i % 50 == 0) waiting::PumpFor(0);
    }
    waiting::PumpFor(50);
    EXPECT_EQ(meter::FreeGdiObjects(), gdiBefore);
    EXPECT_EQ(meter::FreeUserObjects(), userBefore);
}
