#include "registry.h"

#include <cstring>

namespace e2e {

DWORD RegValue::AsDword() const {
    return static_cast<DWORD>(At(0));
}

LONG RegValue::At(size_t index) const {
    LONG v = 0;
    if (data.size() >= (index + 1) * 4) std::memcpy(&v, data.data() + index * 4, 4);
    return v;
}

void DeletePeerixKey() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kPeerixKey);
}

RegValue ReadValue(const char* name) {
    RegValue v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPeerixKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.data.resize(size);
        if (RegQueryValueExA(key, name, nullptr, &v.type, v.data.data(), &size) == ERROR_SUCCESS) {
            v.exists = true;
            v.data.resize(size);
        }
    }
    RegCloseKey(key);
    return v;
}

std::vector<std::string> ValueNames() {
    std::vector<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPeerixKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

namespace {

void Write(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPeerixKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

}  // namespace

void WriteDword(const char* name, DWORD value) {
    Write(name, REG_DWORD, &value, sizeof value);
}

void WriteBinary(const char* name, const void* data, DWORD size) {
    Write(name, REG_BINARY, data, size);
}

void WriteRect(const char* name, LONG left, LONG top, LONG right, LONG bottom) {
    const LONG r[4] = {left, top, right, bottom};
    WriteBinary(name, r, sizeof r);
}

void WritePoint(const char* name, LONG x, LONG y) {
    const LONG p[2] = {x, y};
    WriteBinary(name, p, sizeof p);
}

void WriteText(const char* name, const std::string& text) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPeerixKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

std::string ReadText(const char* name) {
    const RegValue v = ReadValue(name);
    if (!v.exists || v.data.empty()) return std::string();
    return std::string(reinterpret_cast<const char*>(v.data.data()),
                       strnlen(reinterpret_cast<const char*>(v.data.data()), v.data.size()));
}

namespace {

std::wstring Wide(const char* text) {
    std::wstring w(static_cast<size_t>(lstrlenA(text)), L'\0');
    for (size_t i = 0; i < w.size(); ++i) w[i] = static_cast<unsigned char>(text[i]);  // ASCII names
    return w;
}

}  // namespace

void WriteTextW(const char* name, const std::wstring& text) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPeerixKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring ReadTextW(const char* name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPeerixKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::wstring();
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    const LONG r = RegQueryValueExW(key, Wide(name).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    return r == ERROR_SUCCESS ? std::wstring(buffer) : std::wstring();
}

void ResetSettings() {
    DeletePeerixKey();
    const DWORD future[2] = {0xFFFFFFFFu, 0x7FFFFFFFu};
    WriteBinary("HelpFileTime", future, sizeof future);
}

}  // namespace e2e
