#include "tests/support/screen.h"

#include <cstdio>

#include "tests/support/wait.h"

namespace pixels {

COLORREF Capture::At(int x, int y) const {
    return pixels[static_cast<size_t>(y - area.top) * Width() + (x - area.left)];
}

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

Capture CaptureScreen(const RECT& area) {
    Capture c;
    c.area = area;
    const int w = c.Width(), h = c.Height();
    c.pixels.assign(static_cast<size_t>(w) * h, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = TopDown32(w, h);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const DWORD v = p[i];  // 0x00RRGGBB in a DIB
        c.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return c;
}

RECT ClientOnScreen(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

COLORREF PatternColour(int x, int y, int variant) {
    const int r = (x + variant * 37) & 0xFF;
    const int g = (y + variant * 91) & 0xFF;
    const int b = (((x >> 8) & 0x0F) << 4) | ((y >> 8) & 0x0F);
    return RGB(r, g, b ^ (variant & 0xFF));
}

namespace {

const char* kPatternClass = "PeerixTestPattern";

}  // namespace

PatternWindow::PatternWindow(const RECT& screenArea, int variant) : area(screenArea), variant(variant) {
    static ATOM registered = 0;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kPatternClass;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        registered = RegisterClassA(&wc);
    }
    hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kPatternClass, "pattern", WS_POPUP,
                           area.left, area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), this);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
}

PatternWindow::~PatternWindow() {
    if (hwnd) DestroyWindow(hwnd);
    waiting::PumpFor(20);
}

void PatternWindow::SetVariant(int v) {
    variant = v;
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
}

bool PatternWindow::WaitUntilShown(int timeoutMs) {
    return waiting::WaitFor(
        [&] {
            const Capture c = CaptureScreen(area);
            for (int y = area.top; y < area.bottom; y += 7)
                for (int x = area.left; x < area.right; x += 5)
                    if (c.At(x, y) != PatternColour(x, y, variant)) return false;
            return true;
        },
        timeoutMs, 20);
}

LRESULT CALLBACK PatternWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT && self) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        const int w = self->area.right - self->area.left, h = self->area.bottom - self->area.top;
        std::vector<DWORD> bits(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                bits[static_cast<size_t>(y) * w + x] =
                    DibPixel(PatternColour(self->area.left + x, self->area.top + y, self->variant));
            }
        const BITMAPINFO info = TopDown32(w, h);
        SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, bits.data(), &info, DIB_RGB_COLORS);
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string CompareMagnified(const Capture& screen, POINT origin, SIZE size, int sourceLeft, int sourceTop, int zoom,
                             int variant) {
    std::string report;
    int mismatches = 0;
    for (int vy = 0; vy < size.cy; ++vy)
        for (int vx = 0; vx < size.cx; ++vx) {
            const COLORREF want = PatternColour(sourceLeft + vx / zoom, sourceTop + vy / zoom, variant);
            const COLORREF got = screen.At(origin.x + vx, origin.y + vy);
            if (got == want) continue;
            if (++mismatches <= 5) {
                char line[160];
                std::snprintf(line, sizeof line, "view (%d,%d): got %06lx, want %06lx (source %d,%d)\n", vx, vy,
                              static_cast<unsigned long>(got), static_cast<unsigned long>(want), sourceLeft + vx / zoom,
                              sourceTop + vy / zoom);
                report += line;
            }
        }
    if (mismatches > 5) report += std::to_string(mismatches) + " pixels differ in all\n";
    return report;
}

bool SaveCapture(const Capture& c, const char* path) {
    const int w = c.Width(), h = c.Height();
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * h);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::vector<BYTE> row(static_cast<size_t>(stride));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF v = c.pixels[static_cast<size_t>(y) * w + x];
            row[x * 3] = GetBValue(v);
            row[x * 3 + 1] = GetGValue(v);
            row[x * 3 + 2] = GetRValue(v);
        }
        std::fwrite(row.data(), 1, row.size(), f);
    }
    std::fclose(f);
    return true;
}

}  // namespace pixels
