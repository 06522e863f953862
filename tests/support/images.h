// Images that left the program, read back independently of its own code: bitmaps (from the
// clipboard or a capture), .bmp files through the system's own loader, and the way the system
// stretches a row of pixels.
#ifndef PEERIX_TEST_IMAGES_H
#define PEERIX_TEST_IMAGES_H

#include <windows.h>

#include <string>
#include <vector>

namespace images {

// Pixels as 0x00BBGGRR values, top row first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Empty() const { return pixels.empty(); }
};

// A bitmap's pixels as GDI reports them at 32 bits per pixel.
Image FromBitmap(HBITMAP bitmap);

// A .bmp file decoded by LoadImageA(LR_LOADFROMFILE); empty when the system cannot load it.
Image LoadBmpFile(const char* path);

// The bitmap on the clipboard (CF_BITMAP); empty when there is none or the clipboard is busy.
Image ClipboardBitmap();
// Empties the clipboard when it can be opened, so that the next copy can be seen to arrive.
void EmptyTheClipboard();

std::vector<BYTE> ReadFileBytes(const char* path);
bool WriteFileBytes(const char* path, const std::vector<BYTE>& bytes);

// File names in folder matching pattern (for example "*.tmp").
std::vector<std::string> FilesIn(const std::string& folder, const char* pattern = "*");

// A fresh empty folder under the temporary folder, removed with its files by the destructor.
class TempFolder {
public:
    explicit TempFolder(const char* name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path; }  // without a trailing backslash
    std::string File(const char* name) const { return path + "\\" + name; }

private:
    std::string path;
};

// Removes a folder with everything in it (read-only files too).
void RemoveTree(const std::string& folder);

}  // namespace images

#endif
