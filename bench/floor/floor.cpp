// The floor of the cost benchmark: the cheapest Win32 magnifier that does the work Peerix does
// for its view, and nothing else. One window, one timer that invalidates it, one StretchBlt from
// the screen per WM_PAINT. It uses user32 and gdi32 only, so what it costs is what any program
// that magnifies the screen must pay.
//
//   floor.exe ZOOM INTERVAL_MS LEFT TOP CLIENT_WIDTH CLIENT_HEIGHT SOURCE_X SOURCE_Y
//
// The window's client area of the given size is placed at LEFT, TOP and shows the screen around
// SOURCE_X, SOURCE_Y at ZOOM; an interval of 0 starts no timer (the floor of an idle magnifier).
#include <windows.h>

#include <cstdlib>

namespace {

int zoom = 3;
POINT centre = {150, 150};

int Clamp(int v, int low, int high) {
    return v < low ? low : v > high ? high : v;
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // the stretch covers the whole client area
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        // The screen pixels that show at least partly, and no more.
        const int w = (client.right + zoom - 1) / zoom, h = (client.bottom + zoom - 1) / zoom;
        // On the screen: a source past its edge draws nothing under Wine, and slowly.
        const int x = Clamp(centre.x - w / 2, 0, GetSystemMetrics(SM_CXSCREEN) - w);
        const int y = Clamp(centre.y - h / 2, 0, GetSystemMetrics(SM_CYSCREEN) - h);
        HDC screen = GetDC(nullptr);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, w * zoom, h * zoom, screen, x, y, w, h, SRCCOPY);
        ReleaseDC(nullptr, screen);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    int arg[8] = {3, 50, 330, 40, 640, 480, 150, 150};
    for (int i = 0; i < 8 && i + 1 < __argc; ++i) arg[i] = std::atoi(__argv[i + 1]);
    zoom = arg[0] < 1 ? 1 : arg[0];
    centre = POINT{arg[6], arg[7]};

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FloorProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpszClassName = "PeerixFloor";
    if (!RegisterClassA(&wc)) return 1;
    RECT r = {arg[2], arg[3], arg[2] + arg[4], arg[3] + arg[5]};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowA("PeerixFloor", "Floor", WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    if (arg[1] > 0) SetTimer(window, 1, static_cast<UINT>(arg[1]), nullptr);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
