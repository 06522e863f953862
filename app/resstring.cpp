#include "resstring.h"

#include <cstdarg>

#include "globals.h"

const char* ResString::GetText() {
    if (text) return text;
    // Strings live in blocks of 16; the block's byte size always exceeds the ANSI length of any
    // of its strings, so it serves as the buffer's capacity.
    HRSRC block = FindResourceA(moduleHandle, MAKEINTRESOURCEA(static_cast<WORD>(id / 16 + 1)), RT_STRING);
    if (!block) return nullptr;
    const DWORD size = SizeofResource(moduleHandle, block);
    if (size == 0) return nullptr;
    char* buffer = static_cast<char*>(HeapAlloc(heapHandle, HEAP_ZERO_MEMORY, size));
    if (!buffer) return nullptr;
    if (LoadStringA(moduleHandle, id, buffer, static_cast<int>(size)) == 0) {
        HeapFree(heapHandle, HEAP_NO_SERIALIZE, buffer);
        return nullptr;
    }
    length = lstrlenA(buffer);
    void* shrunk = HeapReAlloc(heapHandle, HEAP_ZERO_MEMORY, buffer, static_cast<SIZE_T>(length) + 1);
    text = shrunk ? static_cast<char*>(shrunk) : buffer;
    return text;
}

int ResString::GetLength() {
    if (!text) GetText();
    return length;
}

int ResString::Format(char* buffer, ...) {
    const char* format = GetText();
    if (!format) {
        buffer[0] = '\0';
        return 0;
    }
    va_list args;
    va_start(args, buffer);
    const int written = wvsprintfA(buffer, format, args);
    va_end(args);
    return written;
}

void ResString::Release() {
    if (!text) return;
    HeapFree(heapHandle, HEAP_NO_SERIALIZE, text);
    text = nullptr;
}
