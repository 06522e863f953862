#include "settings.h"

#include <shlobj.h>

#include <cstring>
#include <initializer_list>

#include "rules.h"
#include "utils.h"

namespace {

constexpr int kInitialDirectoryRow = 0;
constexpr int kWindowPosRow = 1;

// The largest field; a value is read into a buffer of the field's size first, so a value that
// does not fit never leaves the field half-written.
constexpr DWORD kLargestField = MAX_PATH;

}  // namespace

Settings::Settings(const char* subkey) : key(nullptr), subkey(subkey) {
    SetDefaults();
    BuildTable();
    if (RegOpenKeyA(HKEY_CURRENT_USER, subkey, &key) == ERROR_SUCCESS)
        ReadEntries(key, table, kRowCount);
    else
        key = nullptr;
    Normalise();
    if (!table[kInitialDirectoryRow].found) GetShellFolderPath(InitialDirectory, CSIDL_PERSONAL);
}

Settings::~Settings() {
    Save();
    if (key) RegCloseKey(key);
    key = nullptr;
}

void Settings::SetDefaults() {
    AlwaysOnTop = 0;
    Update = rules::kRateNone;
    ZoomFactor = 3;
    WindowPos = RECT{0, 0, 0, 0};
    ZoomPoint = POINT{0, 0};
    std::memset(InitialDirectory, 0, sizeof InitialDirectory);
    Emailed = 0;
    SaveZoomedImage = 0;
    Update1 = 1000;
    Update2 = 100;
    Update3 = 50;
    MouseTracking = 0;
    DisplayToolbar = 1;
    Visited = 0;
    HelpFileTime = FILETIME{0, 0};
    DisplayStatusbar = 1;
    DisplayMouseWhenFollowing = 1;
    DisplayRGBColourPanel = 1;
    SingleInstance = 0;
}

void Settings::BuildTable() {
    // The order of reading and writing.
    const SettingsEntry rows[kRowCount] = {
        {"InitialDirectory", sizeof InitialDirectory, InitialDirectory, REG_SZ, false},
        {"WindowPos", sizeof WindowPos, &WindowPos, REG_BINARY, false},
        {"AlwaysOnTop", sizeof AlwaysOnTop, &AlwaysOnTop, REG_DWORD, false},
        {"HelpFileTime", sizeof HelpFileTime, &HelpFileTime, REG_BINARY, false},
        {"Update", sizeof Update, &Update, REG_DWORD, false},
        {"ZoomFactor", sizeof ZoomFactor, &ZoomFactor, REG_DWORD, false},
        {"ZoomPoint", sizeof ZoomPoint, &ZoomPoint, REG_BINARY, false},
        {"Emailed", sizeof Emailed, &Emailed, REG_DWORD, false},
        {"SaveZoomedImage", sizeof SaveZoomedImage, &SaveZoomedImage, REG_DWORD, false},
        {"Update1", sizeof Update1, &Update1, REG_DWORD, false},
        {"Update2", sizeof Update2, &Update2, REG_DWORD, false},
        {"Update3", sizeof Update3, &Update3, REG_DWORD, false},
        {"MouseTracking", sizeof MouseTracking, &MouseTracking, REG_DWORD, false},
        {"DisplayToolbar", sizeof DisplayToolbar, &DisplayToolbar, REG_DWORD, false},
        {"Visited", sizeof Visited, &Visited, REG_DWORD, false},
        {"DisplayStatusbar", sizeof DisplayStatusbar, &DisplayStatusbar, REG_DWORD, false},
        {"DisplayMouseWhenFollowing", sizeof DisplayMouseWhenFollowing, &DisplayMouseWhenFollowing, REG_DWORD, false},
        {"DisplayRGBColourPanel", sizeof DisplayRGBColourPanel, &DisplayRGBColourPanel, REG_DWORD, false},
        {"SingleInstance", sizeof SingleInstance, &SingleInstance, REG_DWORD, false},
    };
    static_assert(sizeof rows / sizeof rows[0] == kRowCount, "one row per setting");
    for (int i = 0; i < kRowCount; ++i) table[i] = rows[i];
}

void Settings::Normalise() {
    ZoomFactor = rules::Clamp(ZoomFactor, rules::kMinZoom, rules::kMaxZoom);
    Update = rules::Clamp(Update, rules::kRateNone, rules::kRateFast);
    // The Options dialog divides 1000 by each interval and writes only 20..1000.
    for (int* interval : {&Update1, &Update2, &Update3})
        *interval = rules::Clamp(*interval, rules::kMinInterval, rules::kMaxInterval);
    for (int* flag : {&AlwaysOnTop, &Emailed, &SaveZoomedImage, &MouseTracking, &DisplayToolbar, &Visited,
                      &DisplayStatusbar, &DisplayMouseWhenFollowing, &DisplayRGBColourPanel, &SingleInstance})
        *flag = rules::Flag(*flag);
    InitialDirectory[sizeof InitialDirectory - 1] = '\0';

    // A rectangle without area, or one on no monitor at all, would open an invisible window.
    SettingsEntry& pos = table[kWindowPosRow];
    if (pos.found) {
        if (!rules::HasArea(ToRules(WindowPos)) || !MonitorFromRect(&WindowPos, MONITOR_DEFAULTTONULL))
            pos.found = false;
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

bool Settings::Save() {
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
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &list))) return false;
    SHGetPathFromIDListA(list, buffer);
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator))) {
        CoTaskMemFree(list);  // the same task allocator, so the list is not leaked
        return false;
    }
    allocator->Free(list);
    allocator->Release();
    return true;
}
