// What a user sees: screen pixels, and a window of ours that shows a known pattern for Peerix
// to magnify.
#ifndef PEERIX_TEST_SCREEN_H
#define PEERIX_TEST_SCREEN_H

#include <windows.h>

#include <string>
#include <vector>

namespace pixels {

// The header of a top-down 32-bit DIB of the given size, and a colour as such a DIB's pixel.
BITMAPINFO TopDown32(int width, int height);
inline DWORD DibPixel(COLORREF c) {
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A rectangle of screen pixels as 0x00BBGGRR values.
struct Capture {
    RECT area = {};
    std::vector<COLORREF> pixels;
    COLORREF At(int screenX, int screenY) const;
    int Width() const { return area.right - area.left; }
    int Height() const { return area.bottom - area.top; }
};

Capture CaptureScreen(const RECT& area);
// The screen rectangle of a window's client area.
RECT ClientOnScreen(HWND window);

// A colour unique to every screen pixel (up to 4096 x 4096), derived from its position and a
// variant number, so that a misplaced pixel is always noticed.
COLORREF PatternColour(int screenX, int screenY, int variant = 0);

// A topmost window without activation that paints PatternColour over its screen rectangle.
class PatternWindow {
public:
    explicit PatternWindow(const RECT& screenArea, int variant = 0);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

    // Waits until the screen shows the pattern; false on timeout.
    bool WaitUntilShown(int timeoutMs = 5000);
    // Repaints with another variant (a changed scene under the view).
    void SetVariant(int variant);
    HWND Window() const { return hwnd; }
    const RECT& Area() const { return area; }

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    RECT area;
    int variant;
    HWND hwnd = nullptr;
};

// Compares a magnified view with the pattern: the view's pixel (vx, vy) (relative to viewOrigin
// on the screen, within viewSize) must show source pixel (sourceLeft + vx / zoom,
// sourceTop + vy / zoom). Returns an empty string on a match, else a description of the first
// mismatches.
std::string CompareMagnified(const Capture& screen, POINT viewOrigin, SIZE viewSize, int sourceLeft, int sourceTop,
                             int zoom, int variant = 0);

// Saves a capture as a 24-bit .bmp (for looking at a failure).
bool SaveCapture(const Capture& c, const char* path);

}  // namespace pixels

#endif
