#include "view_check.h"

#include <cstdio>
#include <cstdlib>

#include "tests/support/wait.h"
#include "view.h"

namespace e2e {

using pixels::Capture;

ExpectedView ViewOf(HWND window, int zoom, POINT point, int viewTop, int bottomCut) {
    ExpectedView v;
    RECT client = {};
    GetClientRect(window, &client);
    ClientToScreen(window, &v.client);
    v.view = RECT{0, viewTop, client.right, client.bottom - bottomCut};
    v.zoom = zoom;
    const POINT origin = SourceOrigin(v.view, zoom, point);
    v.sourceLeft = origin.x;
    v.sourceTop = origin.y;
    return v;
}

namespace {

int PictureTop(HWND window, const RECT& area, int x) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const Capture c = pixels::CaptureScreen(RECT{origin.x + x, origin.y, origin.x + x + 1, origin.y + client.bottom});
    for (int y = 0; y < client.bottom; ++y) {
        // A pattern colour names its own position; the band's greys, black and white do not name
        // one inside the pattern.
        const COLORREF v = c.At(origin.x + x, origin.y + y);
        const int b = GetBValue(v);
        const POINT source = {GetRValue(v) + 256 * (b >> 4), GetGValue(v) + 256 * (b & 0x0F)};
        if (PtInRect(&area, source) && pixels::PatternColour(source.x, source.y) == v) return y;
    }
    return -1;
}

}  // namespace

int WaitForPictureTop(HWND window, int zoom, POINT point, const RECT& patternArea, int x, int timeoutMs) {
    int top = -1;
    // A first paint may reach the screen in parts: only a top below which everything is right
    // counts.
    const bool found = waiting::WaitFor(
        [&] {
            top = PictureTop(window, patternArea, x);
            return top > 0 && CompareView(ViewOf(window, zoom, point, top)).empty();
        },
        timeoutMs, 30);
    return found ? top : -1;
}

namespace {

bool OnFrame(const RECT* f, int x, int y) {
    if (!f || x < f->left || x > f->right || y < f->top || y > f->bottom) return false;
    return x == f->left || x == f->right || y == f->top || y == f->bottom;
}

}  // namespace

std::string CompareView(const ExpectedView& v, const RECT* frame, const std::vector<RECT>& covered) {
    const RECT screen = {v.client.x + v.view.left, v.client.y + v.view.top, v.client.x + v.view.right,
                         v.client.y + v.view.bottom};
    const Capture c = pixels::CaptureScreen(screen);
    std::string report;
    int mismatches = 0;
    for (int y = v.view.top; y < v.view.bottom; ++y)
        for (int x = v.view.left; x < v.view.right; ++x) {
            const POINT s = {v.client.x + x, v.client.y + y};
            bool hidden = false;
            for (const RECT& r : covered) hidden = hidden || PtInRect(&r, s);
            if (hidden) continue;
            COLORREF want = pixels::PatternColour(v.sourceLeft + (x - v.view.left) / v.zoom,
                                                  v.sourceTop + (y - v.view.top) / v.zoom);
            if (OnFrame(frame, x, y)) want ^= 0x00FFFFFF;
            const COLORREF got = c.At(s.x, s.y);
            if (got == want) continue;
            if (++mismatches <= 5) {
                char line[160];
                std::snprintf(line, sizeof line, "client (%d,%d): got %06lx, want %06lx%s\n", x, y,
                              static_cast<unsigned long>(got), static_cast<unsigned long>(want),
                              OnFrame(frame, x, y) ? " (frame)" : "");
                report += line;
            }
        }
    if (mismatches > 5) report += std::to_string(mismatches) + " pixels differ in all\n";
    return report;
}

bool WaitForView(const ExpectedView& v, const RECT* frame, const std::vector<RECT>& covered, std::string* diff,
                 int timeoutMs) {
    return waiting::WaitFor(
        [&] {
            *diff = CompareView(v, frame, covered);
            return diff->empty();
        },
        timeoutMs, 20);
}

namespace {

int Mod8(int v) {
    return ((v % 8) + 8) % 8;
}

// Along each edge the dashes are 4 black and 4 white pixels; the pattern's origin moves by the
// phase so that they run clockwise. The corners belong to the left and right edges, drawn last.
bool ShowsPhase(const Capture& c, POINT o, const RECT& b, int phase) {
    auto is = [&](int x, int y, bool black) {
        return c.At(o.x + x, o.y + y) == (black ? RGB(0, 0, 0) : RGB(255, 255, 255));
    };
    for (int x = b.left + 1; x < b.right - 1; ++x) {
        if (!is(x, b.top, Mod8(x - phase) < 4)) return false;
        if (!is(x, b.bottom - 1, Mod8(x + phase) < 4)) return false;
    }
    for (int y = b.top; y < b.bottom; ++y) {
        if (!is(b.left, y, Mod8(y + phase) >= 4)) return false;
        if (!is(b.right - 1, y, Mod8(y - phase) >= 4)) return false;
    }
    return true;
}

}  // namespace

int AntsPhaseOnScreen(POINT client, const RECT& b) {
    const Capture c =
        pixels::CaptureScreen(RECT{client.x + b.left, client.y + b.top, client.x + b.right, client.y + b.bottom});
    for (int phase = 0; phase < 8; phase += 2)
        if (ShowsPhase(c, client, b, phase)) return phase;
    return -1;
}

void SaveShot(const char* name, const RECT& area) {
    const char* folder = std::getenv("PEERIX_SHOTS");
    if (!folder) return;
    pixels::SaveCapture(pixels::CaptureScreen(area), (std::string(folder) + "\\" + name + ".bmp").c_str());
}

}  // namespace e2e
