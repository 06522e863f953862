// Every image that leaves the program starts here: a copy of the live screen.
#include "capture.h"

#include "../app/scoped.h"

HBITMAP CaptureScreen(const rules::CaptureArea& a, const rules::Rect& bounds) {
    ScopedGetDC screen(nullptr);
    if (!screen) return nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, a.bitmapWidth, a.bitmapHeight));
    if (!bitmap) return nullptr;
    ScopedMemoryDC memory(screen);
    if (!memory) return nullptr;
    {
        ScopedSelectObject selected(memory, bitmap);
        SetStretchBltMode(memory, COLORONCOLOR);
        const rules::Stretch s = rules::StretchWithin(a.source, bounds, a.scale, 0, 0);
        if (s.partial) PatBlt(memory, 0, 0, a.bitmapWidth, a.bitmapHeight, BLACKNESS);
        if (s.srcWidth > 0 && s.srcHeight > 0)
            StretchBlt(memory, s.destX, s.destY, s.destWidth, s.destHeight, screen, s.srcX, s.srcY, s.srcWidth,
                       s.srcHeight, SRCCOPY);
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
