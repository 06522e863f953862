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
#include "../app/settings.h"
#include "../chrome/help.h"
#include "../res/resource.h"
#include "../view/mainwindow.h"
#include "rules.h"

namespace {

// The check box's state while the Save As dialog is open.
bool saveZoomedCheck = false;

#ifndef _WIN64
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76,
              "the file dialog record up to its template");
#endif

// Writes all of size bytes or reports failure.
bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Writes the file header and the DIB to an open file; false unless every byte went out.
bool WriteBmpTo(HANDLE file, HGLOBAL dib) {
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib));
    if (!header) return false;
    bool ok = false;
    if (header->biSize == sizeof(BITMAPINFOHEADER)) {  // only 40-byte headers are written
        const DWORD table = DibColourTableSize(header);
        DWORD length = header->biSize + table;
        if (header->biCompression == BI_RLE8 || header->biCompression == BI_RLE4) {
            length += header->biSizeImage;
        } else {
            const DWORD image =
                outrules::DibRowBytes(header->biBitCount, header->biWidth) * static_cast<DWORD>(header->biHeight);
            header->biSizeImage = image;
            length += image;
        }
        BITMAPFILEHEADER fileHeader = {};
        fileHeader.bfType = 0x4D42;  // "BM"
        fileHeader.bfSize = length + sizeof fileHeader;
        fileHeader.bfOffBits = header->biSize + table + sizeof fileHeader;
        static_assert(sizeof(BITMAPFILEHEADER) == 14, "packed file header");
        ok = WriteAll(file, &fileHeader, sizeof fileHeader) && WriteAll(file, header, length);
    }
    GlobalUnlock(dib);
    return ok;
}

}  // namespace

WORD DibColourCount(const BITMAPINFOHEADER* header) {
    return outrules::DibColourCount(header->biBitCount, header->biClrUsed);
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
    const DWORD table = header.biBitCount <= 8 ? (1u << header.biBitCount) * sizeof(RGBQUAD) : 0;

    ScopedGetDC screen(nullptr);
    HPALETTE previous = SelectPalette(screen, palette, FALSE);
    RealizePalette(screen);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, header.biSize + table);
    if (block) {
        auto* p = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
        *p = header;
        // Without a pixel buffer GetDIBits completes the header (and the image size).
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.biHeight), nullptr, reinterpret_cast<BITMAPINFO*>(p),
                  DIB_RGB_COLORS);
        header = *p;
        GlobalUnlock(block);
        DWORD image = header.biSizeImage;
        if (image == 0) {
            image = outrules::DibRowBytes(header.biBitCount, header.biWidth) * static_cast<DWORD>(header.biHeight);
            if (compression != BI_RGB) image = image * 3 / 2;
        }
        HGLOBAL grown = GlobalReAlloc(block, header.biSize + table + image, GMEM_MOVEABLE);
        if (!grown) {
            GlobalFree(block);
            block = nullptr;
        } else {
            block = grown;
            auto* whole = static_cast<BYTE*>(GlobalLock(block));
            const int lines =
                GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.biHeight), whole + header.biSize + table,
                          reinterpret_cast<BITMAPINFO*>(whole), DIB_RGB_COLORS);
            GlobalUnlock(block);
            if (lines == 0) {
                GlobalFree(block);
                block = nullptr;
            }
        }
    }
    if (previous) SelectPalette(screen, previous, FALSE);
    return block;
}

bool WriteBmpFile(const char* path, HGLOBAL dib) {
    if (!dib) return false;
    // Renaming over a file ignores its read-only attribute on some systems; such a file is kept.
    const DWORD existing = GetFileAttributesA(path);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    // The temporary file goes beside the target, so that replacing it is a rename on one volume.
    char folder[MAX_PATH] = ".";
    const char* slash = std::strrchr(path, '\\');
    if (slash) {
        const size_t length = static_cast<size_t>(slash - path) + 1;  // keeps the backslash: "C:\"
        if (length >= sizeof folder) return false;
        std::memcpy(folder, path, length);
        folder[length] = '\0';
    }
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "pxb", 0, temporary)) return false;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temporary);
        return false;
    }
    const bool written = WriteBmpTo(file, dib);
    const bool closed = CloseHandle(file) != FALSE;
    if (written && closed && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(temporary);
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

int MainWindow::ShowMessage(UINT id, UINT style) {
    ResString text(id);
    ResString caption(IDS_TITLE);
    return MessageBoxA(hwnd, text.GetText(), caption.GetText(), style);
}

void MainWindow::SaveImageAs(bool useSelection) {
    char file[520] = {};
    ResString filterText(IDS_SAVE_FILTER);
    char filter[128] = {};
    if (filterText.GetText()) lstrcpynA(filter, filterText.GetText(), sizeof filter - 1);
    // "Bitmap Files (*.bmp)|*.bmp||" becomes one filter and the list's closing double NUL.
    outrules::ReplaceChar(filter, '|', '\0');

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = hwnd;
    dialog.hInstance = programInstance;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrInitialDir = settings.InitialDirectory;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_NOREADONLYRETURN |
                   OFN_EXPLORER | OFN_ENABLESIZING;
    dialog.lpstrDefExt = "bmp";
    dialog.lpfnHook = SaveDialogHook;
    dialog.lpTemplateName = MAKEINTRESOURCEA(IDD_SAVE_TEMPLATE);
    saveZoomedCheck = settings.SaveZoomedImage != 0;
    if (!GetSaveFileNameA(&dialog)) return;

    settings.SaveZoomedImage = saveZoomedCheck ? 1 : 0;
    HBITMAP bitmap = CaptureImage(saveZoomedCheck, useSelection);
    outrules::CopyDirectoryPart(file, settings.InitialDirectory, sizeof settings.InitialDirectory);
    HGLOBAL dib = BitmapToDib(bitmap, BI_RGB, palette);
    if (!dib) {
        ShowMessage(IDS_CAPTURE_FAILED, MB_ICONERROR);
    } else {
        if (!WriteBmpFile(file, dib)) ShowMessage(IDS_WRITE_FAILED, MB_ICONERROR);
        GlobalFree(dib);
    }
    if (bitmap) DeleteObject(bitmap);
}
