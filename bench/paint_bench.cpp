// Paint benchmark: the cost of one PaintNow of a 640 x 480 view at zooms 1, 3 and 8 next to a
// raw StretchBlt of the same rectangles in the same run, the same paint with the pixel grid next
// to it without, and the time from process start to the first painted view of the real
// Peerix.exe.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/view.h"
#include "tests/support/screen.h"
#include "tests/support/timing.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

using timing::Median;
using timing::Now;

namespace {

// The same work as one PaintNow without the program's code: a window DC, one stretch from the
// screen, release.
void RawStretch(HWND window, int zoom) {
    HDC dc = GetDC(window);
    HDC screen = GetDC(nullptr);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, mainWindow.source.visibleWidth * zoom, mainWindow.source.visibleHeight * zoom, screen, 100,
               100, mainWindow.source.visibleWidth, mainWindow.source.visibleHeight, SRCCOPY);
    ReleaseDC(nullptr, screen);
    ReleaseDC(window, dc);
}

void PaintCost() {
    programInstance = GetModuleHandleA(nullptr);
    RealMainWindow w(e2e::WindowForClient(20, 20, 640, 480));
    RECT view;
    mainWindow.GetViewRect(&view);
    std::printf("view %ld x %ld\n", view.right - view.left, view.bottom - view.top);
    mainWindow.point = POINT{400, 300};
    for (int zoom : {1, 3, 8}) {
        settings.ZoomFactor = zoom;
        mainWindow.Layout();
        const int perRound = zoom == 1 ? 20 : 100;
        std::vector<double> paint, raw;
        for (int round = 0; round < 15; ++round) {
            double t0 = Now();
            for (int i = 0; i < perRound; ++i) mainWindow.PaintNow();
            double t1 = Now();
            for (int i = 0; i < perRound; ++i) RawStretch(w.Handle(), zoom);
            double t2 = Now();
            paint.push_back((t1 - t0) / perRound);
            raw.push_back((t2 - t1) / perRound);
            waiting::PumpFor(1);
        }
        const double p = Median(paint), r = Median(raw);
        std::printf("zoom %2d: PaintNow %.3f ms, raw StretchBlt %.3f ms, ratio %.3f\n", zoom, p * 1000, r * 1000,
                    p / r);
    }
}

// The grid's share of a paint: PaintNow with and without it, in turns.
void GridCost() {
    RealMainWindow w(e2e::WindowForClient(20, 20, 640, 480));
    mainWindow.point = POINT{400, 300};
    for (int zoom : {8, 32}) {
        settings.ZoomFactor = zoom;
        mainWindow.Layout();
        std::vector<double> with, without;
        for (int round = 0; round < 15; ++round) {
            settings.DisplayPixelGrid = 0;
            const double t0 = Now();
            for (int i = 0; i < 100; ++i) mainWindow.PaintNow();
            settings.DisplayPixelGrid = 1;
            const double t1 = Now();
            for (int i = 0; i < 100; ++i) mainWindow.PaintNow();
            const double t2 = Now();
            without.push_back((t1 - t0) / 100);
            with.push_back((t2 - t1) / 100);
            waiting::PumpFor(1);
        }
        settings.DisplayPixelGrid = 0;
        const double g = Median(with), n = Median(without);
        std::printf("zoom %2d: PaintNow with the grid %.3f ms, without %.3f ms, ratio %.3f\n", zoom, g * 1000, n * 1000,
                    g / n);
    }
}

void StartUpTime() {
    using namespace e2e;
    using namespace pixels;
    PatternWindow pattern(RECT{0, 0, 300, 300});
    pattern.WaitUntilShown();
    std::vector<double> times;
    for (int run = 0; run < 5; ++run) {
        ResetSettings();
        WriteDword("DisplayToolbar", 0);
        WriteDword("DisplayStatusbar", 0);
        WriteDword("ZoomFactor", 2);
        WritePoint("ZoomPoint", 150, 150);
        WriteRect("WindowPos", 400, 100, 700, 350);
        const double t0 = Now();
        PeerixProcess peerix;
        if (!peerix.Start(SW_SHOWNORMAL, false)) return;
        // The first painted view: the window's centre shows the pattern pixel at the point.
        bool seen = waiting::WaitFor(
            [&] {
                HWND w = peerix.FindMainWindow();
                if (!w) return false;
                RECT c = ClientOnScreen(w);
                const int cx = c.left + ((c.right - c.left) / 2 / 2) * 2, cy = c.top + ((c.bottom - c.top) / 2 / 2) * 2;
                const Capture shot = CaptureScreen(RECT{cx, cy, cx + 1, cy + 1});
                const COLORREF want = PatternColour(150 - ((c.right - c.left) / 2 + 1) / 2 + (cx - c.left) / 2,
                                                    150 - ((c.bottom - c.top) / 2 + 1) / 2 + (cy - c.top) / 2);
                return shot.At(cx, cy) == want;
            },
            15000, 2);
        const double t1 = Now();
        if (seen) times.push_back(t1 - t0);
        peerix.Close();
    }
    if (times.empty()) {
        std::printf("start-up: the first view was not seen\n");
        return;
    }
    std::printf("start-up to first painted view: median %.0f ms over %zu runs (min %.0f, max %.0f)\n",
                Median(times) * 1000, times.size(), *std::min_element(times.begin(), times.end()) * 1000,
                *std::max_element(times.begin(), times.end()) * 1000);
    DeletePeerixKey();
}

}  // namespace

int main() {
    KeepHelpClosedAtStart();
    PaintCost();
    GridCost();
    StartUpTime();
    return 0;
}
