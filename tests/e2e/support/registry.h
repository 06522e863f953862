// Reading and preparing Peerix's registry values from the test driver (same user, same prefix).
#ifndef PEERIX_E2E_REGISTRY_H
#define PEERIX_E2E_REGISTRY_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

constexpr const char* kPeerixKey = "Software\\Tarnwell\\Peerix\\1.0";

struct RegValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<BYTE> data;
    DWORD AsDword() const;
    LONG At(size_t index) const;  // the index-th 32-bit little-endian number of the data
};

void DeletePeerixKey();
RegValue ReadValue(const char* name);
// Value names in the order the registry enumerates them (the order of creation).
std::vector<std::string> ValueNames();
void WriteDword(const char* name, DWORD value);
void WriteBinary(const char* name, const void* data, DWORD size);
void WriteRect(const char* name, LONG left, LONG top, LONG right, LONG bottom);
void WritePoint(const char* name, LONG x, LONG y);
// A string value, in this process's code page; and in UTF-16, whatever the program's code page.
void WriteText(const char* name, const std::string& text);
std::string ReadText(const char* name);
void WriteTextW(const char* name, const std::wstring& text);
std::wstring ReadTextW(const char* name);

// A clean start: the key removed, then only the given values written by the caller. The help
// file time is put far in the future so that no start opens the help viewer.
void ResetSettings();

}  // namespace e2e

#endif
