// Every image that leaves the program starts here: a copy of the live screen.
#include "capture.h"

#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/globals.h"
#include "../view/mainwindow.h"
#include "rules.h"

HBITMAP MainWindow::CaptureImage(bool zoomed, bool useSelection) {
    RECT view;
    GetViewRect(&view);
    const RECT s = useSelection ? GetSelectionRect() : RECT{0, 0, 0, 0};
    const POINT c = ClampPoint();
    const outrules::CaptureArea a =
        outrules::CaptureRect(zoomed, useSelection, c.x - halfWidth, c.y - halfHeight, srcWidth, srcHeight,
                              outrules::Rect{view.left, view.top, view.right, view.bottom},
                              outrules::Rect{s.left, s.top, s.right, s.bottom}, settings.ZoomFactor);
    ScopedGetDC screen(nullptr);
    if (!screen) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, a.bitmapWidth, a.bitmapHeight);
    if (!bitmap) return nullptr;
    ScopedMemoryDC memory(screen);
    if (!memory) {
        DeleteObject(bitmap);
        return nullptr;
    }
    {
        ScopedSelectObject selected(memory, bitmap);
        SetStretchBltMode(memory, COLORONCOLOR);
        StretchBlt(memory, 0, 0, a.bitmapWidth, a.bitmapHeight, screen, a.x, a.y, a.width, a.height, SRCCOPY);
    }
    return bitmap;
}

bool CopyBitmapToClipboard(HWND owner, HBITMAP bitmap) {
    if (OpenClipboard(owner)) {
        if (EmptyClipboard() && bitmap && SetClipboardData(CF_BITMAP, bitmap)) {
            // The clipboard owns the bitmap from here on, whatever CloseClipboard says.
            if (CloseClipboard()) return true;
            MessageBeep(0);
            return false;
        }
        CloseClipboard();
    }
    if (bitmap) DeleteObject(bitmap);
    MessageBeep(0);
    return false;
}
