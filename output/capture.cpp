// Every image that leaves the program starts here: a copy of the live screen.
#include "capture.h"

#include "../app/scoped.h"

void StretchScreen(HDC target, int x, int y, const rules::Rect& source, const rules::Rect& bounds, int scale) {
    SetStretchBltMode(target, COLORONCOLOR);
    const rules::Stretch s = rules::StretchWithin(source, bounds, scale, x, y);
    if (s.partial)
        PatBlt(target, x, y, (source.right - source.left) * scale, (source.bottom - source.top) * scale, BLACKNESS);
    if (s.srcWidth <= 0 || s.srcHeight <= 0) return;
    ScopedGetDC screen(nullptr);
    StretchBlt(target, s.destX, s.destY, s.destWidth, s.destHeight, screen, s.srcX, s.srcY, s.srcWidth, s.srcHeight,
               SRCCOPY);
}

HBITMAP CaptureScreen(const rules::CaptureArea& a, const rules::Rect& bounds) {
    ScopedGetDC screen(nullptr);
    if (!screen) return nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, a.bitmapWidth, a.bitmapHeight));
    if (!bitmap) return nullptr;
    ScopedMemoryDC memory(screen);
    if (!memory) return nullptr;
    {
        ScopedSelectObject selected(memory, bitmap);
        StretchScreen(memory, 0, 0, a.source, bounds, a.scale);
    }
    return bitmap.release();
}

bool CopyBitmapToClipboard(HWND owner, HBITMAP bitmap) {
    ScopedGdiObject<HBITMAP> owned(bitmap);
    if (OpenClipboard(owner)) {
        if (EmptyClipboard() && owned && SetClipboardData(CF_BITMAP, owned)) {
            owned.release();  // the clipboard's now, whatever CloseClipboard says
            if (CloseClipboard()) return true;
            MessageBeep(0);
            return false;
        }
        CloseClipboard();
    }
    MessageBeep(0);
    return false;
}
