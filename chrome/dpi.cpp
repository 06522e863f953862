#include "dpi.h"

#include "../app/scoped.h"
#include "rules.h"

namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);

int DeviceDpi(HWND window) {
    ScopedGetDC dc(window);
    return dc ? GetDeviceCaps(dc, LOGPIXELSX) : rules::kDesignDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    // Not imported: Peerix must start on systems that lack it. Looked up on each call: a local
    // static would need a thread-safe guard, which links the C++ runtime's threads and exceptions
    // into the program (three times its size).
    const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    const int dpi = getDpiForWindow ? static_cast<int>(getDpiForWindow(window)) : 0;
    return dpi > 0 ? dpi : DeviceDpi(window);
}

int SystemDpi() {
    ScopedGetDC screen(nullptr);
    return screen ? GetDeviceCaps(screen, LOGPIXELSY) : rules::kDesignDpi;
}

HFONT CreateGuiFont(int dpi) {
    const int stockDpi = SystemDpi();
    if (dpi == stockDpi) return nullptr;
    LOGFONTA font;
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) != sizeof font) return nullptr;
    font.lfHeight = MulDiv(font.lfHeight, dpi, stockDpi);
    font.lfWidth = MulDiv(font.lfWidth, dpi, stockDpi);
    return CreateFontIndirectA(&font);
}

HIMAGELIST CreateEnlargedImages(HINSTANCE instance, int id, int imageWidth, int imageHeight, int count, int factor) {
    ScopedGdiObject<HBITMAP> strip(static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!strip) return nullptr;
    const int width = imageWidth * count * factor, height = imageHeight * factor;
    ScopedGetDC screen(nullptr);
    ScopedGdiObject<HBITMAP> large(CreateCompatibleBitmap(screen, width, height));
    if (!large) return nullptr;
    {
        ScopedMemoryDC from(screen), to(screen);
        ScopedSelectObject fromBitmap(from, strip), toBitmap(to, large);
        // Whole factors and COLORONCOLOR: every source pixel becomes a factor x factor square.
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, imageWidth * count, imageHeight, SRCCOPY);
    }
    HIMAGELIST list = ImageList_Create(imageWidth * factor, height, ILC_COLOR24 | ILC_MASK, count, 0);
    if (!list) return nullptr;
    // The list copies the bitmap; the strip and the enlargement go with their owners.
    if (ImageList_AddMasked(list, large, RGB(192, 192, 192)) < 0) {
        ImageList_Destroy(list);
        return nullptr;
    }
    return list;
}
