// PNG images, made by the system's imaging component (WIC) from the same DIB a .bmp is written
// from, so both hold the same pixels.
#ifndef PEERIX_PNGFILE_H
#define PEERIX_PNGFILE_H

#include <windows.h>

// The PNG encoding of a packed DIB (8, 16, 24 or 32 bits per pixel) in a new moveable block, as
// the clipboard takes it, its byte count in *encodedSize when given; null on failure. The caller
// owns the block.
HGLOBAL EncodePng(HGLOBAL dib, SIZE_T* encodedSize = nullptr);

// Writes a packed DIB as a .png file, as safely as WriteBmpFile: the image is encoded in memory
// first, so a failure of the encoder touches no file. On failure the thread's last error says why.
bool WritePngFile(const char* path, HGLOBAL dib);

#endif
