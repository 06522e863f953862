// Export benchmark: a 640 x 480 zoomed capture turned into a packed DIB (CaptureImage +
// BitmapToDib) next to a raw StretchBlt plus GetDIBits of the same rectangles in the same run,
// and, apart from both, the time WriteBmpFile takes to put the DIB into a file; then a whole
// 1024 x 768 screen saved as PNG next to the same capture saved as .bmp.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "output/bmpfile.h"
#include "output/pngfile.h"
#include "tests/support/screen.h"
#include "tests/e2e/support/view.h"
#include "tests/support/timing.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

using timing::Median;
using timing::Now;

namespace {

// The least the same work can cost: one stretch from the screen into a screen-compatible bitmap
// and one read of its pixels into new memory (a DIB that outlives the call needs memory of its
// own; touching 1.2 MB of fresh pages costs more than the copy itself).
void RawCaptureAndRead(int sx, int sy, int srcWidth, int srcHeight, int zoom, int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetStretchBltMode(memory, COLORONCOLOR);
    StretchBlt(memory, 0, 0, srcWidth * zoom, srcHeight * zoom, screen, sx, sy, srcWidth, srcHeight, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD table[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(GetDeviceCaps(screen, BITSPIXEL));
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    void* pixels = GlobalAlloc(GMEM_FIXED, bytes);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels, reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    GlobalFree(pixels);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
}

// The whole screen saved both ways, taken in turns, from capture to file. The screen shows the
// test pattern, a colour of its own in every pixel: the hardest case for PNG's compression.
void PngAgainstBmp(const std::string& folder) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    pixels::PatternWindow pattern(RECT{0, 0, width, height});
    pattern.WaitUntilShown();
    const std::string bmp = folder + "peerix-export-bench.bmp", png = folder + "peerix-export-bench.png";
    auto save = [&](bool asPng) {
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HDC memory = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        HGLOBAL dib = BitmapToDib(bitmap, BI_RGB, mainWindow.palette);
        const bool written = asPng ? WritePngFile(png.c_str(), dib) : WriteBmpFile(bmp.c_str(), dib);
        GlobalFree(dib);
        DeleteObject(bitmap);
        return written;
    };
    std::vector<double> bmpTimes, pngTimes;
    for (int round = 0; round < 9; ++round) {
        const double t0 = Now();
        const bool a = save(false);
        const double t1 = Now();
        const bool b = save(true);
        const double t2 = Now();
        if (!a || !b) {
            std::printf("saving the screen failed\n");
            return;
        }
        bmpTimes.push_back(t1 - t0);
        pngTimes.push_back(t2 - t1);
    }
    WIN32_FILE_ATTRIBUTE_DATA b = {}, p = {};
    GetFileAttributesExA(bmp.c_str(), GetFileExInfoStandard, &b);
    GetFileAttributesExA(png.c_str(), GetFileExInfoStandard, &p);
    const double bt = Median(bmpTimes), pt = Median(pngTimes);
    std::printf("%d x %d screen saved: .bmp %.1f ms (%lu bytes), PNG %.1f ms (%lu bytes), ratio %.2f\n", width, height,
                bt * 1000, b.nFileSizeLow, pt * 1000, p.nFileSizeLow, pt / bt);
    DeleteFileA(bmp.c_str());
    DeleteFileA(png.c_str());
}

}  // namespace

int main() {
    KeepHelpClosedAtStart();
    programInstance = GetModuleHandleA(nullptr);
    RealMainWindow w(e2e::WindowForClient(20, 20, 640, 480));
    RECT view;
    mainWindow.GetViewRect(&view);
    const int width = view.right - view.left, height = view.bottom - view.top;
    std::printf("view %d x %d, screen depth %d\n", width, height, [] {
        HDC s = GetDC(nullptr);
        const int d = GetDeviceCaps(s, BITSPIXEL);
        ReleaseDC(nullptr, s);
        return d;
    }());
    mainWindow.point = POINT{400, 300};

    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "peerix-export-bench.bmp";

    for (int zoom : {1, 3, 8}) {
        settings.ZoomFactor = zoom;
        mainWindow.Layout();
        const POINT c = mainWindow.ClampPoint();
        const int sx = c.x - mainWindow.source.halfWidth, sy = c.y - mainWindow.source.halfHeight;
        const int perRound = zoom == 1 ? 10 : 40;
        std::vector<double> ours, raw, write;
        for (int round = 0; round < 11; ++round) {
            // Taken in turns, so that the load of a shared machine falls on both alike.
            double oursTime = 0, rawTime = 0;
            for (int i = 0; i < perRound; ++i) {
                const double t0 = Now();
                HBITMAP bitmap = mainWindow.CaptureImage(true, false);
                HGLOBAL dib = BitmapToDib(bitmap, BI_RGB, mainWindow.palette);
                GlobalFree(dib);
                DeleteObject(bitmap);
                const double t1 = Now();
                RawCaptureAndRead(sx, sy, mainWindow.source.visibleWidth, mainWindow.source.visibleHeight, zoom, width,
                                  height);
                const double t2 = Now();
                oursTime += t1 - t0;
                rawTime += t2 - t1;
            }
            HBITMAP bitmap = mainWindow.CaptureImage(true, false);
            HGLOBAL dib = BitmapToDib(bitmap, BI_RGB, mainWindow.palette);
            double t3 = Now();
            const bool written = WriteBmpFile(path.c_str(), dib);
            double t4 = Now();
            GlobalFree(dib);
            DeleteObject(bitmap);
            if (!written) {
                std::printf("writing %s failed\n", path.c_str());
                return 1;
            }
            ours.push_back(oursTime / perRound);
            raw.push_back(rawTime / perRound);
            write.push_back(t4 - t3);
            waiting::PumpFor(1);
        }
        const double o = Median(ours), r = Median(raw), f = Median(write);
        std::printf(
            "zoom %2d (%3d x %3d source): CaptureImage + BitmapToDib %.3f ms, raw StretchBlt + GetDIBits %.3f ms, "
            "ratio %.3f; WriteBmpFile %.3f ms\n",
            zoom, mainWindow.source.visibleWidth, mainWindow.source.visibleHeight, o * 1000, r * 1000, o / r, f * 1000);
    }
    DeleteFileA(path.c_str());
    PngAgainstBmp(folder);
    return 0;
}
