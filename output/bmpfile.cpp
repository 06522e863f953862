// Device-independent bitmaps from captured ones, and the .bmp files written from them.
#include "bmpfile.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "../app/scoped.h"
#include "filewrite.h"
#include "rules.h"

WORD DibColourCount(const BITMAPINFOHEADER* header) {
    return rules::DibColourCount(header->biBitCount, header->biClrUsed);
}

WORD DibColourTableSize(const BITMAPINFOHEADER* header) {
    return static_cast<WORD>(DibColourCount(header) * sizeof(RGBQUAD));
}

HGLOBAL BitmapToDib(HBITMAP bitmap, DWORD compression, HPALETTE palette) {
    if (compression == BI_BITFIELDS) return nullptr;
    if (!palette) palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    BITMAP info;
    if (!GetObjectA(bitmap, sizeof info, &info)) return nullptr;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(info.bmPlanes * info.bmBitsPixel);
    header.biCompression = compression;

    ScopedGetDC screen(nullptr);
    ScopedSelectPalette selected(screen, palette);
    // Room for the whole colour table that GetDIBits may fill in with the header.
    ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, header.biSize + DibColourTableSize(&header)));
    if (!block) return nullptr;
    {
        ScopedGlobalLock<BITMAPINFOHEADER> p(block);
        if (!p.get()) return nullptr;
        *p.get() = header;
        // Without a pixel buffer GetDIBits completes the header (and the image size).
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.biHeight), nullptr,
                  reinterpret_cast<BITMAPINFO*>(p.get()), DIB_RGB_COLORS);
        header = *p.get();
    }
    // The table by the same rule as the writer's, from the completed header: the rows follow it.
    const DWORD table = DibColourTableSize(&header);
    DWORD image = header.biSizeImage;
    if (image == 0) {
        image = rules::DibRowBytes(header.biBitCount, header.biWidth) * static_cast<DWORD>(header.biHeight);
        if (compression != BI_RGB) image = image * 3 / 2;
    }
    HGLOBAL grown = GlobalReAlloc(block, header.biSize + table + image, GMEM_MOVEABLE);
    if (!grown) return nullptr;
    block.release();
    block.reset(grown);
    ScopedGlobalLock<BYTE> whole(block);
    if (!whole.get()) return nullptr;
    const int lines =
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.biHeight), whole.get() + header.biSize + table,
                  reinterpret_cast<BITMAPINFO*>(whole.get()), DIB_RGB_COLORS);
    if (lines == 0) return nullptr;
    return block.release();
}

namespace {

bool WriteLockedBmp(const char* path, BITMAPINFOHEADER* header) {
    if (header->biSize != sizeof(BITMAPINFOHEADER)) {  // only 40-byte headers
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    rules::BmpLayout layout =
        rules::LayoutBmp(header->biBitCount, header->biWidth, header->biHeight, header->biClrUsed);
    if (header->biCompression == BI_RLE8 || header->biCompression == BI_RLE4) {
        // Compressed rows have no fixed size: the header's image size is what there is.
        layout.fileSize += header->biSizeImage - layout.imageBytes;
        layout.imageBytes = header->biSizeImage;
    } else {
        header->biSizeImage = layout.imageBytes;
    }
    static_assert(sizeof(BITMAPFILEHEADER) == 14, "packed file header");
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfSize = layout.fileSize;
    fileHeader.bfOffBits = layout.pixelOffset;
    const FileChunk chunks[] = {{&fileHeader, sizeof fileHeader},
                                {header, static_cast<DWORD>(layout.fileSize - sizeof fileHeader)}};
    return ReplaceFileWith(path, chunks, 2);
}

}  // namespace

bool WriteBmpFile(const char* path, HGLOBAL dib) {
    if (!dib) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    bool written = false;
    DWORD error = ERROR_INVALID_HANDLE;
    {
        ScopedGlobalLock<BITMAPINFOHEADER> header(dib);
        if (header.get()) {
            written = WriteLockedBmp(path, header.get());
            error = GetLastError();
        }
    }
    // The block's unlock must not clear the reason of a failure.
    SetLastError(error);
    return written;
}
