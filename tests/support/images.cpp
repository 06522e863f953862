#include "tests/support/images.h"

#include "tests/support/screen.h"

namespace images {

using pixels::TopDown32;

Image FromBitmap(HBITMAP bitmap) {
    Image image;
    BITMAP bm;
    if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return image;
    std::vector<DWORD> bits(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    BITMAPINFO info = TopDown32(bm.bmWidth, bm.bmHeight);
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != bm.bmHeight) return image;
    image.width = bm.bmWidth;
    image.height = bm.bmHeight;
    image.pixels.reserve(bits.size());
    for (DWORD v : bits) image.pixels.push_back(RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF));
    return image;
}

Image LoadBmpFile(const char* path) {
    HBITMAP loaded =
        static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!loaded) return Image();
    Image image = FromBitmap(loaded);
    DeleteObject(loaded);
    return image;
}

Image ClipboardBitmap() {
    Image image;
    if (!OpenClipboard(nullptr)) return image;
    // The handle stays the clipboard's; it is only read here.
    if (HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) image = FromBitmap(bitmap);
    CloseClipboard();
    return image;
}

void EmptyTheClipboard() {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    CloseClipboard();
}

std::vector<BYTE> ReadFileBytes(const char* path) {
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    const DWORD size = GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    if (size && (!ReadFile(file, bytes.data(), size, &read, nullptr) || read != size)) bytes.clear();
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const char* path, const std::vector<BYTE>& bytes) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::vector<std::string> FilesIn(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::string& folder) {
    for (const std::string& name : FilesIn(folder)) {
        const std::string path = folder + "\\" + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            RemoveTree(path);
        } else {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(folder.c_str());
}

TempFolder::TempFolder(const char* name) {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    path = std::string(base) + name + "-" + std::to_string(GetCurrentProcessId());
    if (!path.empty() && path.back() == '\\') path.pop_back();
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    RemoveTree(path);
}

}  // namespace images
