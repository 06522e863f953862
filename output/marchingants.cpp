#include "marchingants.h"

#include "../app/globals.h"
#include "../app/scoped.h"
#include "../res/resource.h"
#include "rules.h"

MarchingAnts::~MarchingAnts() {
    if (horzPattern) DeleteObject(horzPattern);
    if (vertPattern) DeleteObject(vertPattern);
}

void MarchingAnts::Draw(HDC dc, HWND window) {
    if (!vertPattern) {
        horzPattern = LoadBitmapA(programInstance, MAKEINTRESOURCEA(IDB_ANTS_HORZ));
        vertPattern = LoadBitmapA(programInstance, MAKEINTRESOURCEA(IDB_ANTS_VERT));
    }
    const bool ownDC = dc == nullptr;
    if (ownDC) dc = GetDC(window);
    if (dc) {
        // A fresh device context draws the monochrome patterns in black and white.
        ScopedGdiObject<HBRUSH> h(CreatePatternBrush(horzPattern));
        ScopedGdiObject<HBRUSH> v(CreatePatternBrush(vertPattern));
        const int l = bounds.left, t = bounds.top, r = bounds.right, b = bounds.bottom;
        struct Edge {
            HBRUSH brush;
            int originX, originY, x, y, width, height;
        } const edges[4] = {
            {h, phase, 0, l, t, r - l, 1},          // top: dashes move right
            {h, 8 - phase, 0, l, b - 1, r - l, 1},  // bottom: left
            {v, 0, 8 - phase, l, t, 1, b - t},      // left: up
            {v, 0, phase, r - 1, t, 1, b - t},      // right: down
        };
        HGDIOBJ previous = nullptr;
        for (const Edge& e : edges) {
            UnrealizeObject(e.brush);
            SetBrushOrgEx(dc, e.originX, e.originY, nullptr);
            HGDIOBJ old = SelectObject(dc, e.brush);
            if (!previous) previous = old;
            PatBlt(dc, e.x, e.y, e.width, e.height, PATCOPY);
        }
        if (previous) SelectObject(dc, previous);
        if (ownDC) ReleaseDC(window, dc);
    }
    phase = outrules::NextAntsPhase(phase);
}
