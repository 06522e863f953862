// Messages whose parameters point into memory are not marshalled between processes; these
// helpers put the buffer into Peerix's process first and read it back.
#ifndef PEERIX_E2E_REMOTE_H
#define PEERIX_E2E_REMOTE_H

#include <windows.h>

#include <string>

namespace remote {

// A block of memory in another process, freed with the object.
class Buffer {
public:
    Buffer(HWND ofWindow, size_t size);
    ~Buffer();
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    LPARAM Address() const { return reinterpret_cast<LPARAM>(address); }
    bool Read(void* out, size_t size) const;
    bool Write(const void* data, size_t size);

private:
    HANDLE process = nullptr;
    void* address = nullptr;
};

// The RECT that a control of another process writes in answer to message (SB_GETRECT,
// TB_GETRECT, TBM_GETTHUMBRECT), in the control's client coordinates.
RECT RectFrom(HWND control, UINT message, WPARAM wParam = 0);

// The text of a status bar part, in UTF-8.
std::string StatusText(HWND statusBar, int part);
// The rectangle of a status bar part in the status bar's client coordinates (SB_GETRECT).
RECT StatusPartRect(HWND statusBar, int part);
// A toolbar button's state by command id (TB_GETSTATE needs no buffer) and its rectangle.
int ButtonState(HWND toolbar, int command);
RECT ButtonRect(HWND toolbar, int command);
// The same rectangle in screen coordinates, where a user clicks it.
RECT ButtonOnScreen(HWND toolbar, int command);
// The text of the tool that a tooltip control shows for a trackbar (TTM_GETTEXTA).
std::string ToolText(HWND tooltip, HWND owner, HWND tool);

}  // namespace remote

#endif
