// Non-copyable scope guards for the GDI objects of one drawing, so every path releases them.
#ifndef PEERIX_SCOPED_H
#define PEERIX_SCOPED_H

#include <windows.h>

// A device context from GetDC (of a window, or of the screen for a null window).
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : window(window), dc(GetDC(window)) {}
    ~ScopedGetDC() {
        if (dc) ReleaseDC(window, dc);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    operator HDC() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// An object selected into a device context for one drawing; the previous one comes back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (previous && previous != HGDI_ERROR) SelectObject(dc, previous);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// A GDI object created for one drawing (a brush, a memory bitmap) and deleted with the scope.
template <typename Handle>
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(Handle object) : object(object) {}
    ~ScopedGdiObject() {
        if (object) DeleteObject(object);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    operator Handle() const { return object; }
    Handle get() const { return object; }

private:
    Handle object;
};

// A memory device context from CreateCompatibleDC.
class ScopedMemoryDC {
public:
    explicit ScopedMemoryDC(HDC reference) : dc(CreateCompatibleDC(reference)) {}
    ~ScopedMemoryDC() {
        if (dc) DeleteDC(dc);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    operator HDC() const { return dc; }

private:
    HDC dc;
};

#endif
