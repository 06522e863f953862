// Every image that leaves the program starts here: a copy of the live screen.
#include "capture.h"

#include "../app/scoped.h"

HBITMAP CaptureScreen(const rules::CaptureArea& a) {
    ScopedGetDC screen(nullptr);
    if (!screen) return nullptr;
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, a.bitmapWidth, a.bitmapHeight));
    if (!bitmap) return nullptr;
    ScopedMemoryDC memory(screen);
    if (!memory) return nullptr;
    {
        ScopedSelectObject selected(memory, bitmap);
        SetStretchBltMode(memory, COLORONCOLOR);
        StretchBlt(memory, 0, 0, a.bitmapWidth, a.bitmapHeight, screen, a.x, a.y, a.width, a.height, SRCCOPY);
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
