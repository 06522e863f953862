// Device-independent bitmaps from captured ones, and the .bmp files written from them.
#include "bmpfile.h"

#include <windows.h>

#include <cstddef>
#include <cstring>

#include "../app/scoped.h"
#include "rules.h"

namespace {

// Writes all of size bytes or reports failure; a write that stops short without an error of its
// own found the disk full.
bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr)) return false;
    if (written == size) return true;
    SetLastError(ERROR_DISK_FULL);
    return false;
}

// Writes the file header and the DIB to an open file; false unless every byte went out, with the
// reason in *error (the block's unlock would clear the thread's last error on the way out).
bool WriteBmpTo(HANDLE file, HGLOBAL dib, DWORD* error) {
    ScopedGlobalLock<BITMAPINFOHEADER> header(dib);
    if (!header.get() || header->biSize != sizeof(BITMAPINFOHEADER)) {  // only 40-byte headers
        *error = ERROR_INVALID_DATA;
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
    if (WriteAll(file, &fileHeader, sizeof fileHeader) &&
        WriteAll(file, header.get(), layout.fileSize - sizeof fileHeader))
        return true;
    *error = GetLastError();
    return false;
}

}  // namespace

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

bool WriteBmpFile(const char* path, HGLOBAL dib) {
    if (!dib) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    // Renaming over a file ignores its read-only attribute on some systems; such a file is kept.
    const DWORD existing = GetFileAttributesA(path);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // The temporary file goes beside the target, so that replacing it is a rename on one volume.
    char folder[MAX_PATH] = ".";
    const int cut = rules::LastBackslash(path, lstrlenA(path));
    if (cut >= 0) {
        const size_t length = static_cast<size_t>(cut) + 1;  // keeps the backslash: "C:\"
        if (length >= sizeof folder) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return false;
        }
        std::memcpy(folder, path, length);
        folder[length] = '\0';
    }
    // A missing folder is reported as a path not found, not as the failure of the temporary name
    // (or of the folder's own last part, "file not found") that it causes.
    if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "pxb", 0, temporary)) return false;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD error = ERROR_SUCCESS;
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
    } else {
        const bool written = WriteBmpTo(file, dib, &error);
        if (!CloseHandle(file) && written) error = GetLastError();
        if (written && error == ERROR_SUCCESS) {
            if (MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING)) return true;
            error = GetLastError();
        }
    }
    // The caller reports the reason of the step that failed, not that of the clean-up.
    DeleteFileA(temporary);
    SetLastError(error != ERROR_SUCCESS ? error : ERROR_WRITE_FAULT);
    return false;
}
