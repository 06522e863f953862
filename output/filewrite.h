// Writing a whole file so that a failure leaves nothing half-written: the bytes go to a new
// temporary file beside the target, which then takes the target's place in one rename.
#ifndef PEERIX_FILEWRITE_H
#define PEERIX_FILEWRITE_H

#include <windows.h>

struct FileChunk {
    const void* data;
    DWORD size;
};

// Writes the chunks, one after the other, as the file at path (in the program's code page),
// replacing an existing one. Works for every path the Save dialog gives, however long its folder.
// On failure the old file, if any, is as it was, no temporary file is left, and the thread's last
// error says why.
bool ReplaceFileWith(const char* path, const FileChunk* chunks, int count);

#endif
