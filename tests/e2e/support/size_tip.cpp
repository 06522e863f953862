#include "tests/support/screen.h"
#include "size_tip.h"

#include <cstdio>

#include "tests/e2e/support/menu_capture.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/support/wait.h"

namespace e2e {

using pixels::Capture;

HWND ShownSizeTip(DWORD pid) {
    return VisibleWindowOfClass("hbx_TrackingToolTip", pid);
}

SIZE TipSizeFor(const std::string& text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return SIZE{extent.cx + 8, extent.cy + 2};
}

Capture RenderTip(const std::string& text, SIZE size) {
    Capture c;
    c.area = RECT{0, 0, size.cx, size.cy};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = pixels::TopDown32(size.cx, size.cy);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(memory, dib);
    RECT r = c.area;
    FillRect(memory, &r, GetSysColorBrush(COLOR_INFOBK));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, GetSysColor(COLOR_INFOTEXT));
    HGDIOBJ oldFont = SelectObject(memory, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(memory, text.c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    SelectObject(memory, oldFont);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    c.pixels.resize(static_cast<size_t>(size.cx) * size.cy);
    for (size_t i = 0; i < c.pixels.size(); ++i)
        c.pixels[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    SelectObject(memory, oldBitmap);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

std::string CheckTip(DWORD pid, POINT corner, const std::string& text, int timeoutMs) {
    std::string problem;
    waiting::WaitFor(
        [&] {
            HWND tip = ShownSizeTip(pid);
            if (!tip) {
                problem = "no size tip shown";
                return false;
            }
            RECT r = {};
            GetWindowRect(tip, &r);
            const SIZE want = TipSizeFor(text);
            char line[160];
            if (r.left != corner.x || r.bottom != corner.y || r.right - r.left != want.cx ||
                r.bottom - r.top != want.cy) {
                std::snprintf(line, sizeof line, "tip at (%ld,%ld)-(%ld,%ld), want bottom-left (%ld,%ld), size %ldx%ld",
                              r.left, r.top, r.right, r.bottom, corner.x, corner.y, want.cx, want.cy);
                problem = line;
                return false;
            }
            RECT client = {};
            GetClientRect(tip, &client);
            MapWindowPoints(tip, nullptr, reinterpret_cast<POINT*>(&client), 2);
            Capture shown = pixels::CaptureScreen(client);
            const Capture drawn = RenderTip(text, SIZE{client.right - client.left, client.bottom - client.top});
            shown.area = drawn.area;
            const std::string diff = CompareCaptures(shown, drawn);
            problem = diff.empty() ? "" : "tip does not show \"" + text + "\": " + diff;
            return diff.empty();
        },
        timeoutMs, 20);
    return problem;
}

}  // namespace e2e
