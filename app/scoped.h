// Owners of system handles, so that every path releases them. All are non-copyable: a copied
// owner would release twice. The scope guards (a device context, a selection) live for one
// drawing; UniqueHandle owners can also hand their handle on with release().
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

// A palette selected into a device context and realised for one drawing; the previous palette
// comes back. A null palette selects nothing.
class ScopedSelectPalette {
public:
    ScopedSelectPalette(HDC dc, HPALETTE palette)
        : dc(dc), previous(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
        if (previous) RealizePalette(dc);
    }
    ~ScopedSelectPalette() {
        if (previous) SelectPalette(dc, previous, FALSE);
    }
    ScopedSelectPalette(const ScopedSelectPalette&) = delete;
    ScopedSelectPalette& operator=(const ScopedSelectPalette&) = delete;

private:
    HDC dc;
    HPALETTE previous;
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

// The one owner of a handle that Close frees: moved, never copied; release() hands the handle on
// (to the clipboard, to a caller) and leaves nothing to free.
template <typename Handle, auto Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    operator Handle() const { return handle; }
    Handle get() const { return handle; }
    Handle release() {
        const Handle h = handle;
        handle = nullptr;
        return h;
    }
    // Frees the handle held, if any, and takes another.
    void reset(Handle other = nullptr) {
        if (handle) Close(handle);
        handle = other;
    }

private:
    Handle handle = nullptr;
};

// A GDI object: a brush, bitmap, font, palette or region.
template <typename Handle>
using ScopedGdiObject = UniqueHandle<Handle, DeleteObject>;
// A block from GlobalAlloc.
using ScopedGlobal = UniqueHandle<HGLOBAL, GlobalFree>;
// A menu from LoadMenu or CreateMenu that no window owns.
using ScopedMenu = UniqueHandle<HMENU, DestroyMenu>;

// A global memory block locked for one use, as T; null when the lock failed.
template <typename T>
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL block) : block(block), data(static_cast<T*>(GlobalLock(block))) {}
    ~ScopedGlobalLock() {
        if (data) GlobalUnlock(block);
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
    T* get() const { return data; }
    T* operator->() const { return data; }

private:
    HGLOBAL block;
    T* data;
};

#endif
