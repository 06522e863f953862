// Putting a captured bitmap on the clipboard.
#ifndef PEERIX_CAPTURE_H
#define PEERIX_CAPTURE_H

#include <windows.h>

// Hands the bitmap to the clipboard as CF_BITMAP. On any failure the clipboard is closed again,
// the bitmap deleted unless the clipboard took it, and the speaker beeps.
bool CopyBitmapToClipboard(HWND owner, HBITMAP bitmap);

#endif
