// The one tooltip control shared by the toolbar buttons and the two trackbars.
#ifndef PEERIX_TIPCONTROL_H
#define PEERIX_TIPCONTROL_H

#include <windows.h>

class TipControl {
public:
    TipControl() = default;
    // The tooltip window belongs to its owner, which destroys it; only the handle is dropped.
    virtual ~TipControl() { window = nullptr; }
    TipControl(const TipControl&) = delete;
    TipControl& operator=(const TipControl&) = delete;

    bool Create(HINSTANCE instance, HWND owner);
    // Adds a trackbar as a tool whose tip shows text.
    bool AddTool(HWND trackbar, const char* text);
    void Activate(bool active);
    void UpdateTipText(HWND trackbar, const char* text);

    HWND window = nullptr;
};

#endif
