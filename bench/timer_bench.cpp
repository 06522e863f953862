// Timer benchmark: the cost of one housekeeping tick (timer 2) of the program's own window, and
// the CPU time per second that the running Peerix.exe uses at each update rate for a 640 x 480
// view at zoom 3, both next to a raw StretchBlt of the view's rectangles and a raw GetPixel on
// the screen measured in the same run.
//
// Run with `make bench` (all benchmarks) or, inside the environment that scripts/bench.sh sets
// up, `wine64 timer_bench.exe` in build/win64/bin.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <cstdio>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "bench/support/procstat.h"
#include "tests/e2e/support/input.h"
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

constexpr int kViewWidth = 640, kViewHeight = 480, kZoom = 3;

// Median milliseconds per call of f over rounds of n calls.
template <typename F>
double PerCall(int n, F f) {
    std::vector<double> rounds;
    for (int round = 0; round < 9; ++round) {
        const double t0 = Now();
        for (int i = 0; i < n; ++i) f();
        rounds.push_back((Now() - t0) * 1000 / n);
        waiting::PumpFor(1);
    }
    return Median(rounds);
}

struct Baseline {
    double stretchMs;
    double getPixelMs;
};

// One repaint's work without the program: a window DC, one stretch of the view's source from
// the screen, release; and one pixel read from the screen DC.
Baseline RawCosts(HWND window) {
    const int srcW = kViewWidth / kZoom + 1, srcH = kViewHeight / kZoom + 1;
    Baseline b;
    b.stretchMs = PerCall(50, [&] {
        HDC dc = GetDC(window);
        HDC screen = GetDC(nullptr);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, srcW * kZoom, srcH * kZoom, screen, 100, 100, srcW, srcH, SRCCOPY);
        ReleaseDC(nullptr, screen);
        ReleaseDC(window, dc);
    });
    int x = 0;
    b.getPixelMs = PerCall(200, [&] {
        HDC screen = GetDC(nullptr);
        GetPixel(screen, 50 + (x++ % 100), 60);
        ReleaseDC(nullptr, screen);
    });
    return b;
}

void TickCost(Baseline* baseline) {
    programInstance = GetModuleHandleA(nullptr);
    pixels::PatternWindow pattern(RECT{0, 0, 300, 300});
    pattern.WaitUntilShown();
    settings.ZoomFactor = kZoom;
    settings.Update = 1;
    RealMainWindow w(RECT{320, 20, 320 + 200, 20 + 200}, true, true);
    // Size the window so that the view between the band and the status bar is 640 x 480.
    RECT view;
    mainWindow.GetViewRect(&view);
    RECT frame;
    GetWindowRect(w.Handle(), &frame);
    SetWindowPos(w.Handle(), nullptr, 0, 0, frame.right - frame.left + kViewWidth - (view.right - view.left),
                 frame.bottom - frame.top + kViewHeight - (view.bottom - view.top), SWP_NOMOVE | SWP_NOZORDER);
    waiting::PumpFor(50);
    mainWindow.GetViewRect(&view);
    mainWindow.point = POINT{150, 150};
    std::printf("in-process view %ld x %ld at zoom %d\n", view.right - view.left, view.bottom - view.top, kZoom);

    *baseline = RawCosts(w.Handle());
    const double paint = PerCall(50, [] { mainWindow.PaintNow(); });
    SetCursorPos(120, 130);
    waiting::PumpFor(50);
    // The pointer still: the coordinates are rewritten, the colour is the one already shown.
    const double still = PerCall(200, [&] {
        SendMessageA(w.Handle(), WM_TIMER, MainWindow::kHousekeepingTimer, 0);
        UpdateWindow(mainWindow.statusBar);
    });
    // A new colour every tick: the colour text and the swatch are redrawn too.
    const double moving = PerCall(200, [&] {
        mainWindow.lastColour = ~mainWindow.lastColour & 0xFFFFFF;
        SendMessageA(w.Handle(), WM_TIMER, MainWindow::kHousekeepingTimer, 0);
        UpdateWindow(mainWindow.statusBar);
    });
    std::printf("raw StretchBlt (%d x %d to %d x %d): %.3f ms\n", kViewWidth / kZoom + 1, kViewHeight / kZoom + 1,
                (kViewWidth / kZoom + 1) * kZoom, (kViewHeight / kZoom + 1) * kZoom, baseline->stretchMs);
    std::printf("raw GetPixel on the screen DC:  %.3f ms\n", baseline->getPixelMs);
    std::printf("PaintNow:                       %.3f ms (%.2f x raw StretchBlt)\n", paint,
                paint / baseline->stretchMs);
    std::printf("timer-2 tick, pointer still:    %.3f ms (%.1f x raw GetPixel)\n", still, still / baseline->getPixelMs);
    std::printf("timer-2 tick, colour changing:  %.3f ms (%.1f x raw GetPixel)\n", moving,
                moving / baseline->getPixelMs);
}

void ProcessCpu(const Baseline& baseline) {
    using namespace e2e;
    pixels::PatternWindow pattern(RECT{0, 0, 300, 300});
    pattern.WaitUntilShown();
    const char* names[] = {"", "None", "Slow", "Medium", "Fast"};
    std::printf("Peerix.exe CPU time per second of wall time, %d x %d view at zoom %d, pointer still:\n", kViewWidth,
                kViewHeight, kZoom);
    for (int rate = 1; rate <= 4; ++rate) {
        ResetSettings();
        WriteDword("Update", static_cast<DWORD>(rate));
        WriteDword("ZoomFactor", kZoom);
        WritePoint("ZoomPoint", 150, 150);
        const RECT guess = WindowForClient(330, 40, kViewWidth, kViewHeight + 60);
        WriteRect("WindowPos", guess.left, guess.top, guess.right, guess.bottom);
        PeerixProcess peerix;
        if (!peerix.Start()) {
            std::printf("  could not start Peerix\n");
            return;
        }
        HWND w = peerix.Window();
        const RECT view = ViewOnScreen(w);
        RECT frame;
        GetWindowRect(w, &frame);
        SetWindowPos(w, nullptr, 0, 0, frame.right - frame.left + kViewWidth - (view.right - view.left),
                     frame.bottom - frame.top + kViewHeight - (view.bottom - view.top),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        input::MoveTo(100, 100);  // over the pattern, away from the window, and then still
        waiting::PumpFor(1000);
        const RECT v = ViewOnScreen(w);
        const std::string unixStat = procstat::FindStat("Peerix.exe");
        const double c0 = procstat::CpuSeconds(peerix.Handle(), unixStat), t0 = Now();
        waiting::PumpFor(10000);
        const double cpu = procstat::CpuSeconds(peerix.Handle(), unixStat) - c0, wall = Now() - t0;
        std::printf("  %-6s (view %ld x %ld): %5.2f %% of one core (%.1f ms CPU per second, from %s)\n", names[rate],
                    v.right - v.left, v.bottom - v.top, 100 * cpu / wall, 1000 * cpu / wall,
                    unixStat.empty() ? "GetProcessTimes" : "/proc");
        peerix.Close();
    }
    std::printf("  for scale: one raw StretchBlt per 50 ms would be %.2f %% of one core\n",
                100 * baseline.stretchMs / 50);
    DeletePeerixKey();
}

// Following the keyboard costs a caret query per tick: Peerix and the wineserver, idle, with
// Follow Mouse alone and with Follow Keyboard too, in turns, median of three.
void FollowCost() {
    using namespace e2e;
    const std::string server = procstat::WineserverStat();
    std::vector<double> cost[2];
    for (int round = 0; round < 3; ++round)
        for (int keyboard = 0; keyboard < 2; ++keyboard) {
            ResetSettings();
            WriteDword("MouseTracking", 1);
            WriteDword("FollowKeyboard", static_cast<DWORD>(keyboard));
            WritePoint("ZoomPoint", 150, 150);
            WriteRect("WindowPos", 330, 40, 330 + 400, 40 + 300);
            PeerixProcess peerix;
            if (!peerix.Start()) return;
            input::MoveTo(100, 100);
            waiting::PumpFor(1000);
            const std::string app = procstat::FindStat("Peerix.exe");
            const double c0 = procstat::CpuSeconds(peerix.Handle(), app) + procstat::CpuSeconds(nullptr, server),
                         t0 = Now();
            waiting::PumpFor(10000);
            const double cpu = procstat::CpuSeconds(peerix.Handle(), app) + procstat::CpuSeconds(nullptr, server) - c0;
            cost[keyboard].push_back(100 * cpu / (Now() - t0));
            peerix.Close();
        }
    const double mouse = Median(cost[0]), both = Median(cost[1]);
    std::printf(
        "idle, Peerix + wineserver: Follow Mouse %.2f %%, with Follow Keyboard %.2f %% of one core, ratio %.2f%s\n",
        mouse, both, both / mouse, server.empty() ? " (wineserver not found)" : "");
    DeletePeerixKey();
}

}  // namespace

int main() {
    KeepHelpClosedAtStart();
    Baseline baseline = {};
    TickCost(&baseline);
    ProcessCpu(baseline);
    FollowCost();
    return 0;
}
