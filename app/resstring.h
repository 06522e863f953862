// A string-table resource held by id and loaded from the module on first use.
#ifndef PEERIX_RESSTRING_H
#define PEERIX_RESSTRING_H

#include <windows.h>

class ResString {
public:
    explicit ResString(UINT id) : id(id) {}
    virtual ~ResString() { Release(); }
    ResString(const ResString&) = delete;
    ResString& operator=(const ResString&) = delete;

    // The text, loaded on the first call; null while the string cannot be loaded. A failed load
    // is tried again on the next call.
    const char* GetText();
    int GetLength();
    // wsprintf with the text as the format; a text that cannot be loaded gives "" and 0, so it
    // never reaches wsprintf as a null format. The buffer follows wsprintf's rule (1024 bytes at
    // most are written).
    int Format(char* buffer, ...);
    // Frees the text; the next GetText loads it again.
    void Release();

private:
    UINT id;
    char* text = nullptr;
    int length = 0;
};

#endif
