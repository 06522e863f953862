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

void DrawPixelGrid(HDC dc, const RECT& view, int zoom) {
    int x0, columns, y0, rows;
    rules::GridLines(view.left, view.right - view.left, zoom, &x0, &columns);
    rules::GridLines(view.top, view.bottom - view.top, zoom, &y0, &rows);
    if (columns == 0 && rows == 0) return;
    static const WORD kChecker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    ScopedGdiObject<HBITMAP> pattern(CreateBitmap(8, 8, 1, 1, kChecker));
    ScopedGdiObject<HBRUSH> brush(CreatePatternBrush(pattern));
    if (!brush) return;
    // A one-bit pattern takes the text colour for 0 and the background colour for 1.
    const COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
    {
        ScopedSelectObject selected(dc, brush);
        for (int i = 0; i < columns; ++i) PatBlt(dc, x0 + i * zoom, view.top, 1, view.bottom - view.top, PATCOPY);
        for (int i = 0; i < rows; ++i) PatBlt(dc, view.left, y0 + i * zoom, view.right - view.left, 1, PATCOPY);
    }
    SetTextColor(dc, text);
    SetBkColor(dc, back);
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

namespace {

// Opens the clipboard and empties it, or beeps.
ClipboardResult OpenEmptyClipboard(HWND owner) {
    if (!OpenClipboard(owner)) {
        MessageBeep(0);
        return ClipboardResult::Busy;
    }
    if (EmptyClipboard()) return ClipboardResult::Copied;
    CloseClipboard();
    MessageBeep(0);
    return ClipboardResult::Failed;
}

// Closes the clipboard after the data went on it; a failed close is a failed copy.
ClipboardResult CloseAfterCopy() {
    if (CloseClipboard()) return ClipboardResult::Copied;
    MessageBeep(0);
    return ClipboardResult::Failed;
}

ClipboardResult FailOpenClipboard() {
    CloseClipboard();
    MessageBeep(0);
    return ClipboardResult::Failed;
}

}  // namespace

ClipboardResult CopyBitmapToClipboard(HWND owner, HBITMAP bitmap, HGLOBAL png) {
    ScopedGdiObject<HBITMAP> owned(bitmap);
    ScopedGlobal ownedPng(png);
    const ClipboardResult opened = OpenEmptyClipboard(owner);
    if (opened != ClipboardResult::Copied) return opened;
    if (!owned || !SetClipboardData(CF_BITMAP, owned)) return FailOpenClipboard();
    owned.release();  // the clipboard's now, whatever CloseClipboard says
    // The PNG is an extra: without it every program still reads the bitmap.
    const UINT pngFormat = ownedPng ? RegisterClipboardFormatA("PNG") : 0;
    if (pngFormat && SetClipboardData(pngFormat, ownedPng)) ownedPng.release();
    return CloseAfterCopy();
}

ClipboardResult CopyTextToClipboard(HWND owner, const char* text) {
    const int length = lstrlenA(text);
    ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, (static_cast<SIZE_T>(length) + 1) * sizeof(WCHAR)));
    {
        ScopedGlobalLock<WCHAR> wide(block);
        if (!wide.get()) {
            MessageBeep(0);
            return ClipboardResult::Failed;
        }
        for (int i = 0; i <= length; ++i) wide.get()[i] = static_cast<WCHAR>(static_cast<unsigned char>(text[i]));
    }
    const ClipboardResult opened = OpenEmptyClipboard(owner);
    if (opened != ClipboardResult::Copied) return opened;
    if (!SetClipboardData(CF_UNICODETEXT, block)) return FailOpenClipboard();
    block.release();
    return CloseAfterCopy();
}
