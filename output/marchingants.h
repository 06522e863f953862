// The animated dashed outline of a finished selection, drawn by the 100 ms timer.
#ifndef PEERIX_MARCHINGANTS_H
#define PEERIX_MARCHINGANTS_H

#include <windows.h>

#include "../app/scoped.h"

class MarchingAnts {
public:
    MarchingAnts() = default;
    // The pattern bitmaps go with their owners.
    virtual ~MarchingAnts() = default;
    MarchingAnts(const MarchingAnts&) = delete;
    MarchingAnts& operator=(const MarchingAnts&) = delete;

    void SetBounds(const RECT& r) { bounds = r; }
    // Draws the four dashed edges just inside bounds and advances the phase by 2 pixels, so the
    // dashes run clockwise. A null dc means the window's client area.
    void Draw(HDC dc, HWND window);

    ScopedGdiObject<HBITMAP> horzPattern;  // bitmap 144, loaded on the first Draw
    ScopedGdiObject<HBITMAP> vertPattern;  // bitmap 145
    RECT bounds = {};
    int phase = 0;  // 0, 2, 4, 6

private:
    void DrawEdges(HDC dc) const;
};

#endif
