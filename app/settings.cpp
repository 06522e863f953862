#include "settings.h"

#include <shlobj.h>

#include <cstring>

#include "rules.h"
#include "utils.h"

namespace {

// The largest field; a value is read into a buffer of the field's size first, so a value that
// does not fit never leaves the field half-written.
constexpr DWORD kLargestField = MAX_PATH;

constexpr int RowOf(const char* name) {
    for (int i = 0; i < Settings::kRowCount; ++i) {
        const char *a = kSettings[i].name, *b = name;
        while (*a && *a == *b) ++a, ++b;
        if (*a == *b) return i;
    }
    return -1;
}

constexpr int kInitialDirectoryRow = RowOf("InitialDirectory");
constexpr int kWindowPosRow = RowOf("WindowPos");

constexpr bool FitsInLargestField() {
    for (const SettingDescription& d : kSettings)
        if (d.size > kLargestField || (d.type == REG_DWORD && d.size != sizeof(int))) return false;
    return true;
}
static_assert(FitsInLargestField(), "every value fits the read buffer; every REG_DWORD is an int");

}  // namespace

Settings::Settings(const char* subkey)
    : SettingsRecord{}, key(nullptr), subkey(subkey), initialDirectoryPending(false) {
    for (int i = 0; i < kRowCount; ++i) {
        const SettingDescription& d = kSettings[i];
        table[i] = SettingsEntry{d.name, d.size, reinterpret_cast<BYTE*>(static_cast<SettingsRecord*>(this)) + d.offset,
                                 d.type, false};
    }
    SetDefaults();
    if (RegOpenKeyA(HKEY_CURRENT_USER, subkey, &key) == ERROR_SUCCESS)
        ReadEntries(key, table, kRowCount);
    else
        key = nullptr;
    Normalise();
    // The shell that knows the Documents folder costs a start megabytes that most runs never use:
    // the folder is looked up when the Save dialog or a save first needs it.
    initialDirectoryPending = !table[kInitialDirectoryRow].found;
}

Settings::~Settings() {
    Save();
    if (key) RegCloseKey(key);
    key = nullptr;
}

void Settings::SetDefaults() {
    for (int i = 0; i < kRowCount; ++i) {
        std::memset(table[i].data, 0, kSettings[i].size);
        if (kSettings[i].type == REG_DWORD) *static_cast<int*>(table[i].data) = kSettings[i].initial;
    }
}

void Settings::Normalise() {
    for (int i = 0; i < kRowCount; ++i) {
        const SettingDescription& d = kSettings[i];
        SettingsEntry& row = table[i];
        switch (d.rule) {
        case SettingRule::Flag:
            *static_cast<int*>(row.data) = rules::Flag(*static_cast<int*>(row.data));
            break;
        case SettingRule::Range:
            *static_cast<int*>(row.data) = rules::Clamp(*static_cast<int*>(row.data), d.low, d.high);
            break;
        case SettingRule::Text:
            static_cast<char*>(row.data)[d.size - 1] = '\0';
            break;
        case SettingRule::WindowRect: {
            // A rectangle without area would open an invisible window. One on no monitor (saved on
            // a monitor that is gone) keeps its size: start-up moves it onto the nearest one.
            const RECT* r = static_cast<const RECT*>(row.data);
            if (row.found && !rules::HasArea(ToRules(*r))) row.found = false;
            break;
        }
        case SettingRule::Bytes:
            break;
        }
    }
}

bool Settings::WindowPosFound() const {
    return table[kWindowPosRow].found;
}

void Settings::ReadEntries(HKEY key, SettingsEntry* table, int count) {
    for (int i = 0; i < count; ++i) {
        SettingsEntry& row = table[i];
        BYTE buffer[kLargestField];
        DWORD size = row.size <= kLargestField ? row.size : kLargestField;
        // The row keeps its field's size whatever was stored: a longer value is not read, and a
        // shorter one must not shrink what later saves write.
        if (RegQueryValueExA(key, row.name, nullptr, nullptr, buffer, &size) != ERROR_SUCCESS) continue;
        std::memcpy(row.data, buffer, size);
        row.found = true;
    }
}

bool Settings::WriteEntries(HKEY key, const SettingsEntry* table, int count) {
    for (int i = 0; i < count; ++i) {
        const SettingsEntry& row = table[i];
        if (RegSetValueExA(key, row.name, 0, row.type, static_cast<const BYTE*>(row.data), row.size) != ERROR_SUCCESS)
            return false;
    }
    return true;
}

void Settings::FillInitialDirectory() {
    if (!initialDirectoryPending) return;
    initialDirectoryPending = false;
    // A folder set since the start (a save chose one) is kept.
    if (InitialDirectory[0] == '\0') GetShellFolderPath(InitialDirectory, CSIDL_PERSONAL);
}

bool Settings::Save() {
    FillInitialDirectory();
    if (key && WriteEntries(key, table, kRowCount)) return true;
    // The key may have been deleted while the program ran (a reset by hand, a cleanup tool): its
    // old handle then writes nothing, so the key is created again and every value written anew.
    if (key) RegCloseKey(key);
    key = nullptr;
    if (RegCreateKeyA(HKEY_CURRENT_USER, subkey, &key) != ERROR_SUCCESS) {
        key = nullptr;
        return false;
    }
    return WriteEntries(key, table, kRowCount);
}

void Settings::UseKey(const char* newSubkey) {
    if (key) RegCloseKey(key);
    key = nullptr;
    subkey = newSubkey;
}

bool Settings::GetShellFolderPath(char* buffer, int folder) {
    buffer[0] = '\0';
    // Without the shell no folder is known, as when it cannot find one.
    const auto getLocation =
        SystemProc<decltype(&SHGetSpecialFolderLocation)>("shell32.dll", "SHGetSpecialFolderLocation");
    const auto getPath = SystemProc<decltype(&SHGetPathFromIDListA)>("shell32.dll", "SHGetPathFromIDListA");
    const auto getMalloc = SystemProc<decltype(&SHGetMalloc)>("shell32.dll", "SHGetMalloc");
    if (!getLocation || !getPath || !getMalloc) return false;
    LPITEMIDLIST list = nullptr;
    if (FAILED(getLocation(nullptr, folder, &list))) return false;
    getPath(list, buffer);
    IMalloc* allocator = nullptr;
    if (FAILED(getMalloc(&allocator))) {
        CoTaskMemFree(list);  // the same task allocator, so the list is not leaked
        return false;
    }
    allocator->Free(list);
    allocator->Release();
    return true;
}
