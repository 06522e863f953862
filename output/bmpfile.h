// Device-independent bitmaps and the .bmp files written from them.
#ifndef PEERIX_BMPFILE_H
#define PEERIX_BMPFILE_H

#include <windows.h>

// Converts a device-dependent bitmap into a packed DIB (header, colour table, rows) in one
// moveable global block, or null. BI_BITFIELDS is refused.
HGLOBAL BitmapToDib(HBITMAP bitmap, DWORD compression, HPALETTE palette);

// Writes a packed DIB as a .bmp file. The data goes to a temporary file in the target's folder
// first and replaces the target only when every byte was written, so a failure leaves no partial
// file and keeps an existing one as it was. On failure the thread's last error says why.
bool WriteBmpFile(const char* path, HGLOBAL dib);

WORD DibColourCount(const BITMAPINFOHEADER* header);
WORD DibColourTableSize(const BITMAPINFOHEADER* header);

#endif
