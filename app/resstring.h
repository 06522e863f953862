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
    // Frees the text; the next GetText loads it again.
    void Release();

private:
    UINT id;
    char* text = nullptr;
    int length = 0;
};

#endif
