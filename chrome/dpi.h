// The DPI of a window and what the chrome needs at it: the default GUI font and the toolbar's
// images at the right size.
#ifndef PEERIX_DPI_H
#define PEERIX_DPI_H

#include <windows.h>
#include <commctrl.h>

// Sent when the window moves to a monitor of another DPI or the DPI changes (Windows 8.1 on);
// the headers declare it only for newer targets.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI the window is shown at: GetDpiForWindow where the system has it (Windows 10 from 1607
// on, looked up at run time), else the LOGPIXELSX of the window's device context.
int WindowDpi(HWND window);

// The system's DPI: the one the stock fonts and the controls' own default sizes were made for.
int SystemDpi();

// DEFAULT_GUI_FONT as it should be at dpi, or null when the stock font already is (the caller
// then uses the stock font, which needs no clean-up).
HFONT CreateGuiFont(int dpi);

// The images of bitmap resource id (each imageWidth wide) enlarged by a whole factor, pixel by
// pixel, in a masked image list whose light grey background (192, 192, 192) is transparent, as
// the toolbar's own images are. Null when something fails; the caller destroys the list.
HIMAGELIST CreateEnlargedImages(HINSTANCE instance, int id, int imageWidth, int imageHeight, int count, int factor);

#endif
