// Copies and saved files of a running Peerix, read back and checked against the test pattern;
// its Save As dialog and the controls in it.
#ifndef PEERIX_E2E_SAVED_IMAGES_H
#define PEERIX_E2E_SAVED_IMAGES_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/images.h"

namespace e2e {

// Checks a copied image against the pattern: pixel (x, y) shows source pixel
// (left + mapX[x], top + mapY[y]). Empty when every pixel does.
std::string CompareWithPattern(const images::Image& image, int left, int top, const std::vector<int>& mapX,
                               const std::vector<int>& mapY);
// Pixel i shows source pixel i.
std::vector<int> OneToOne(int n);
// Each of the first n pixels of a copy shows source pixel i / zoom: whole blocks, the last one
// cut at n.
std::vector<int> Blocks(int n, int zoom);

// A .bmp file once it exists and the system loads it, with its bytes.
struct SavedImage {
    images::Image image;
    std::vector<BYTE> bytes;
};
SavedImage WaitForSavedImage(const std::string& path);

// The first child of parent of the class (any when null) and id (any when -1), or null.
HWND FindChild(HWND parent, const char* className, int id = -1);
// Peerix's Save As dialog: the one with the "Save Zoomed Image" box; null when none is shown.
HWND SaveDialogOf(DWORD pid);
// The dialog's file name box.
HWND FileNameBox(HWND dialog);

}  // namespace e2e

#endif
