// Cost benchmark: the CPU that the running Peerix.exe costs the machine, next to the floor (the
// cheapest magnifier that does the same work, bench/floor/floor.cpp), for a 640 x 480 view. The
// cost of a program is its own CPU time plus what the wineserver and the X server spend on its
// behalf, per second of wall time, read from /proc. Runs of the floor and of Peerix take turns,
// three rounds, and the tables show medians.
//
// Run with `make bench`, which sets PEERIX_XSERVER_PID; without it the X server is left out.
// PEERIX_BENCH_BEFORE=path of another Peerix.exe adds a column for that build (a before and after
// in one run); PEERIX_BENCH_SECONDS sets the length of each measurement (default 10);
// PEERIX_BENCH_ONLY=0,4 runs only those rows of the table (counted from 0); PEERIX_BENCH_VERBOSE=1
// prints each run's cost split into the program, the wineserver and the X server.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/support/procstat.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/view.h"
#include "tests/support/timing.h"
#include "tests/support/wait.h"

using timing::Median;
using timing::Now;

namespace {

constexpr int kViewWidth = 640, kViewHeight = 480;
constexpr POINT kSource = {150, 150};   // the point both magnify
constexpr POINT kWindow = {330, 40};    // where both windows stand, off the source
constexpr POINT kPointer = {100, 100};  // still, over neither window
constexpr int kWarmUpMs = 2000;
constexpr int kResidentAfterMs = 20000;

struct Scenario {
    const char* name;
    int zoom;
    int intervalMs;  // 0: no refresh (idle)
    bool statusBar;
    bool gridAndKeyboard;  // the pixel grid shown and the keyboard followed
    double goal;           // the most Peerix may cost: a ratio, or for idle points above the floor
};

// The floor shows the view alone: the rows with goals compare Peerix doing the same, its status bar
// hidden and nothing followed. The others show what the status bar, the pixel grid and Follow
// Keyboard add.
const Scenario kScenarios[] = {
    {"x3 every 50 ms", 3, 50, false, false, 1.00},
    {"x3 every 200 ms", 3, 200, false, false, 1.10},
    {"x1 every 50 ms", 1, 50, false, false, 0},
    {"idle", 3, 0, false, false, 0.10},
    {"idle, status bar", 3, 0, true, false, 0},
    {"x3 every 200 ms, status bar", 3, 200, true, false, 0},
    {"x3 every 50 ms, grid + keys", 3, 50, false, true, 0},
    {"x3 every 200 ms, grid + keys", 3, 200, false, true, 0},
};
constexpr int kScenarioCount = sizeof kScenarios / sizeof kScenarios[0];

int MeasureMs() {
    char text[16] = {};
    const int s = GetEnvironmentVariableA("PEERIX_BENCH_SECONDS", text, sizeof text) ? std::atoi(text) : 0;
    return (s > 0 ? s : 10) * 1000;
}

bool Flag(const char* name) {
    char text[64] = {};
    return GetEnvironmentVariableA(name, text, sizeof text) && text[0] && text[0] != '0';
}

bool Selected(int row) {
    char text[256] = {};
    if (!GetEnvironmentVariableA("PEERIX_BENCH_ONLY", text, sizeof text) || !text[0]) return true;
    for (const char* p = text; *p;) {
        char* end = nullptr;
        const long n = std::strtol(p, &end, 10);
        if (end == p) break;
        if (n == row) return true;
        p = *end ? end + 1 : end;
    }
    return false;
}

// The CPU seconds so far of a program, the wineserver and the X server.
struct Meter {
    std::string app, server = procstat::WineserverStat(), xserver = procstat::XServerStat();
    HANDLE process;
    explicit Meter(const char* name, HANDLE p) : app(procstat::FindStat(name)), process(p) {}
    struct Reading {
        double app, server, xserver;
        double Sum() const { return app + server + xserver; }
    };
    Reading Read() const {
        return Reading{procstat::CpuSeconds(process, app), procstat::CpuSeconds(nullptr, server),
                       procstat::CpuSeconds(nullptr, xserver)};
    }
};

// Percent of one core that the program costs over the next measureMs, after the warm-up; and its
// resident memory (kB) at kResidentAfterMs after start when resident is given.
double Measure(const char* name, HANDLE process, double started, int measureMs, long* resident) {
    Sleep(kWarmUpMs);
    const Meter meter(name, process);
    const Meter::Reading c0 = meter.Read();
    const double t0 = Now();
    // Sleep, not a message pump: the driver's own calls would be counted in the wineserver.
    Sleep(static_cast<DWORD>(measureMs));
    const Meter::Reading c1 = meter.Read();
    const double wall = Now() - t0, cost = 100 * (c1.Sum() - c0.Sum()) / wall;
    if (Flag("PEERIX_BENCH_VERBOSE"))
        std::fprintf(stderr, "    %-10s %5.2f %%: program %5.2f, wineserver %5.2f, X server %5.2f\n", name, cost,
                     100 * (c1.app - c0.app) / wall, 100 * (c1.server - c0.server) / wall,
                     100 * (c1.xserver - c0.xserver) / wall);
    if (resident) {
        const double left = kResidentAfterMs / 1000.0 - (Now() - started);
        if (left > 0) Sleep(static_cast<DWORD>(left * 1000));
        *resident = procstat::ResidentKb(meter.app);
        if (Flag("PEERIX_BENCH_VERBOSE")) std::fprintf(stderr, "    %-10s %ld kB resident\n", name, *resident);
    }
    return cost;
}

// One run of the floor magnifier; -1 when it could not start.
double RunFloor(const Scenario& s, int measureMs, long* resident) {
    char commandLine[256];
    const std::string exe = e2e::ProgramFolder() + "floor.exe";
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" %d %d %ld %ld %d %d %ld %ld", exe.c_str(), s.zoom,
                  s.intervalMs, kWindow.x, kWindow.y, kViewWidth, kViewHeight, kSource.x, kSource.y);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    const double started = Now();
    HWND window = nullptr;
    double cost = -1;
    if (waiting::WaitFor([&] { return (window = e2e::VisibleWindowOfClass("PeerixFloor", info.dwProcessId)); },
                         15000)) {
        input::MoveTo(kPointer.x, kPointer.y);
        cost = Measure("floor.exe", info.hProcess, started, measureMs, resident);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return cost;
}

void WriteSettings(const Scenario& s, const RECT& window) {
    using namespace e2e;
    ResetSettings();
    WriteDword("ZoomFactor", static_cast<DWORD>(s.zoom));
    WriteDword("Update", s.intervalMs ? 4 : 1);
    if (s.intervalMs) WriteDword("Update3", static_cast<DWORD>(s.intervalMs));
    WriteDword("DisplayStatusbar", s.statusBar ? 1 : 0);
    WriteDword("DisplayPixelGrid", s.gridAndKeyboard ? 1 : 0);
    WriteDword("FollowKeyboard", s.gridAndKeyboard ? 1 : 0);
    WritePoint("ZoomPoint", kSource.x, kSource.y);
    WriteRect("WindowPos", window.left, window.top, window.right, window.bottom);
}

// The window rectangle that gives Peerix a 640 x 480 view with or without its status bar, found
// once by trying: resized while measured, Peerix would keep a second window surface.
RECT PeerixWindow(const Scenario& s) {
    static RECT known[2] = {};
    RECT& r = known[s.statusBar];
    if (r.right > r.left) return r;
    r = e2e::WindowForClient(kWindow.x, kWindow.y, kViewWidth, kViewHeight + 60);
    WriteSettings(s, r);
    e2e::PeerixProcess peerix;
    if (!peerix.Start()) return r;
    const RECT view = e2e::ViewOnScreen(peerix.Window());
    r.right += kViewWidth - (view.right - view.left);
    r.bottom += kViewHeight - (view.bottom - view.top);
    peerix.Close();
    return r;
}

// One run of Peerix (the one built here, or program) with a 640 x 480 view; -1 when it could not
// start.
double RunPeerix(const Scenario& s, const char* program, int measureMs, long* resident) {
    using namespace e2e;
    WriteSettings(s, PeerixWindow(s));
    PeerixProcess peerix;
    const double started = Now();
    if (!peerix.Start(SW_SHOWNORMAL, true, nullptr, program)) return -1;
    const RECT view = ViewOnScreen(peerix.Window());
    if (view.right - view.left != kViewWidth || view.bottom - view.top != kViewHeight)
        std::fprintf(stderr, "Peerix's view is %ld x %ld\n", view.right - view.left, view.bottom - view.top);
    input::MoveTo(kPointer.x, kPointer.y);
    const double cost = Measure("Peerix.exe", peerix.Handle(), started, measureMs, resident);
    peerix.Close();
    return cost;
}

struct Results {
    std::vector<double> floor[kScenarioCount], peerix[kScenarioCount], before[kScenarioCount];
    std::vector<double> floorKb, peerixKb, beforeKb;
};

// The row whose floor runs a row compares with: the first one run with the same zoom and interval.
int FloorOf(int i) {
    for (int j = 0; j < i; ++j)
        if (Selected(j) && kScenarios[j].zoom == kScenarios[i].zoom &&
            kScenarios[j].intervalMs == kScenarios[i].intervalMs)
            return j;
    return i;
}

void PrintRow(const Scenario& s, double floor, double peerix, double before, bool hasBefore) {
    const bool idle = s.intervalMs == 0;
    // Idle costs are compared as points above the floor, the others as ratios.
    const auto versus = [&](double v) { return idle ? v - floor : v / floor; };
    std::printf("  %-30s %6.2f %7.2f %7s%.2f", s.name, floor, peerix, idle ? "+" : "x", versus(peerix));
    if (hasBefore) std::printf(" %7.2f %7s%.2f", before, idle ? "+" : "x", versus(before));
    if (s.goal > 0)
        std::printf("   %s %s%.2f %s", idle ? "goal" : "goal", idle ? "<= +" : "<= x", s.goal,
                    versus(peerix) <= s.goal + 1e-9 ? "met" : "MISSED");
    std::printf("\n");
}

}  // namespace

int main() {
    char before[MAX_PATH] = {};
    const bool hasBefore = GetEnvironmentVariableA("PEERIX_BENCH_BEFORE", before, sizeof before) > 0;
    const int measureMs = MeasureMs();
    const bool xserver = !procstat::XServerStat().empty();
    Results r;
    for (int round = 0; round < 3; ++round) {
        // The order turns each round, so that no program always runs first on a machine that
        // grows busier or quieter.
        for (int k = 0; k < kScenarioCount; ++k) {
            const int i = round % 2 ? kScenarioCount - 1 - k : k;
            const Scenario& s = kScenarios[i];
            if (!Selected(i)) continue;
            if (Flag("PEERIX_BENCH_VERBOSE")) std::fprintf(stderr, "  %s\n", s.name);
            // Resident memory, idle.
            const bool memory = s.intervalMs == 0 && FloorOf(i) == i;
            long kb = 0;
            const auto runFloor = [&] {
                if (FloorOf(i) != i) return;
                r.floor[i].push_back(RunFloor(s, measureMs, memory ? &kb : nullptr));
                if (memory) r.floorKb.push_back(kb / 1024.0);
            };
            const auto runPeerix = [&] {
                r.peerix[i].push_back(RunPeerix(s, nullptr, measureMs, memory ? &kb : nullptr));
                if (memory) r.peerixKb.push_back(kb / 1024.0);
                if (!hasBefore) return;
                r.before[i].push_back(RunPeerix(s, before, measureMs, memory ? &kb : nullptr));
                if (memory) r.beforeKb.push_back(kb / 1024.0);
            };
            if (round % 2) {
                runPeerix();
                runFloor();
            } else {
                runFloor();
                runPeerix();
            }
        }
    }
    e2e::DeletePeerixKey();

    std::printf(
        "CPU per second of wall time, %% of one core: the program + wineserver + %s, %d x %d view,\n"
        "median of 3 runs of %d s each, taken in turns\n",
        xserver ? "X server" : "(X server not found)", kViewWidth, kViewHeight, measureMs / 1000);
    std::printf("  %-30s %6s %7s %8s", "", "floor", "Peerix", "vs floor");
    if (hasBefore) std::printf(" %7s %8s", "before", "vs floor");
    std::printf("\n");
    for (int i = 0; i < kScenarioCount; ++i)
        if (Selected(i) && !r.peerix[i].empty())
            PrintRow(kScenarios[i], Median(r.floor[FloorOf(i)]), Median(r.peerix[i]),
                     hasBefore ? Median(r.before[i]) : 0, hasBefore);
    if (r.peerixKb.empty() || r.floorKb.empty()) return 0;
    std::printf("  %-30s %6.1f %7.1f %8s", "resident memory after 20 s, MB", Median(r.floorKb), Median(r.peerixKb), "");
    if (hasBefore) std::printf(" %7.1f %8s", Median(r.beforeKb), "");
    std::printf("   goal <= 25.0 %s\n", Median(r.peerixKb) <= 25.0 ? "met" : "MISSED");
    return 0;
}
