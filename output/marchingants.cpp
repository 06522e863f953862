#include "marchingants.h"

#include "../app/globals.h"
#include "../res/resource.h"
#include "rules.h"

void MarchingAnts::Draw(HDC dc, HWND window) {
    if (!vertPattern) {
        horzPattern.reset(LoadBitmapA(programInstance, MAKEINTRESOURCEA(IDB_ANTS_HORZ)));
        vertPattern.reset(LoadBitmapA(programInstance, MAKEINTRESOURCEA(IDB_ANTS_VERT)));
    }
    if (dc) {
        DrawEdges(dc);
    } else {
        ScopedGetDC own(window);
        if (own) DrawEdges(own);
    }
    phase = rules::NextAntsPhase(phase);
}

void MarchingAnts::DrawEdges(HDC dc) const {
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
    for (const Edge& e : edges) {
        // The origin takes effect when the brush is next selected.
        UnrealizeObject(e.brush);
        SetBrushOrgEx(dc, e.originX, e.originY, nullptr);
        ScopedSelectObject selected(dc, e.brush);
        PatBlt(dc, e.x, e.y, e.width, e.height, PATCOPY);
    }
}
