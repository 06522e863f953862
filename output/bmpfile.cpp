// Saving the magnified area or the selection as a .bmp file.
#include "bmpfile.h"

#include <windows.h>
#include <commdlg.h>
#include <windowsx.h>

#include <cstddef>
#include <cstring>

#include "../app/globals.h"
#include "../app/resstring.h"
#include "../app/scoped.h"
#include "../chrome/help.h"
#include "../res/resource.h"
#include "rules.h"

namespace {

// The check box's state while the Save As dialog is open.
bool saveZoomedCheck = false;

#ifndef _WIN64
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the file dialog record up to its template");
#endif

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

UINT_PTR CALLBACK SaveDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static DWORD ids[4] = {IDC_SAVE_ZOOMED, HID_SAVE_ZOOMED, 0, 0};
    switch (message) {
    case WM_INITDIALOG:
        SendDlgItemMessageA(dialog, IDC_SAVE_ZOOMED, BM_SETCHECK, saveZoomedCheck ? BST_CHECKED : BST_UNCHECKED, 0);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_SAVE_ZOOMED && HIWORD(wParam) == BN_CLICKED)
            saveZoomedCheck = SendDlgItemMessageA(dialog, IDC_SAVE_ZOOMED, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return 0;
    case WM_HELP:
        if (reinterpret_cast<const HELPINFO*>(lParam)->iCtrlId == 0) return 0;
        ShowHelp(GetDlgItem(dialog, IDC_SAVE_ZOOMED), HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(ids));
        return 1;
    case WM_CONTEXTMENU: {
        const POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        HWND box = GetDlgItem(dialog, IDC_SAVE_ZOOMED);
        if (!box || WindowFromPoint(p) != box) return 0;
        ShowHelp(box, HELP_CONTEXTMENU, reinterpret_cast<ULONG_PTR>(ids));
        return 1;
    }
    default:
        return 0;
    }
}

bool AskSaveFileName(HWND owner, const char* initialDirectory, char* file, DWORD size, bool* zoomed) {
    ResString filterText(IDS_SAVE_FILTER);
    char filter[128] = {};
    if (filterText.GetText()) lstrcpynA(filter, filterText.GetText(), sizeof filter - 1);
    // "Bitmap Files (*.bmp)|*.bmp||" becomes one filter and the list's closing double NUL.
    rules::ReplaceChar(filter, '|', '\0');

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.hInstance = programInstance;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = size;
    dialog.lpstrInitialDir = initialDirectory;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_NOREADONLYRETURN |
                   OFN_EXPLORER | OFN_ENABLESIZING;
    dialog.lpstrDefExt = "bmp";
    dialog.lpfnHook = SaveDialogHook;
    dialog.lpTemplateName = MAKEINTRESOURCEA(IDD_SAVE_TEMPLATE);
    saveZoomedCheck = *zoomed;
    if (!GetSaveFileNameA(&dialog)) return false;
    *zoomed = saveZoomedCheck;
    return true;
}
