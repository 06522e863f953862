// The small topmost window near the selection's start corner that shows the selected size.
#ifndef PEERIX_SELECTIONTIP_H
#define PEERIX_SELECTIONTIP_H

#include <windows.h>

class SelectionTip {
public:
    SelectionTip() = default;
    // Unregisters the window class; the window itself ends with its owner or with Destroy.
    virtual ~SelectionTip();
    SelectionTip(const SelectionTip&) = delete;
    SelectionTip& operator=(const SelectionTip&) = delete;

    // Creates the tip if needed, sets its text and places it with its bottom-left corner at
    // (x, y) in screen coordinates, topmost and without activating it.
    void Show(HWND owner, int x, int y, const char* text);
    void Destroy();
    // The font and DPI to draw in; a null font is the stock GUI font.
    void SetLook(HFONT newFont, int newDpi);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;  // set and cleared by the window itself
    char text[128] = {};
    static ATOM tipClassAtom;  // 0 while "hbx_TrackingToolTip" is not registered
    HFONT font = nullptr;      // not owned; null for the stock GUI font
    int dpi = 96;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

#endif
