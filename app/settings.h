// The persisted settings: one record, loaded from the registry when it is constructed and
// written back by Save() and when it is destroyed.
#ifndef PEERIX_SETTINGS_H
#define PEERIX_SETTINGS_H

#include <windows.h>

// The registry location of the settings, below HKEY_CURRENT_USER.
#define PEERIX_SETTINGS_KEY "Software\\Tarnwell\\Peerix\\1.0"

// One row of the settings table: a registry value and the field that holds it.
struct SettingsEntry {
    const char* name;
    DWORD size;  // the field's size: the capacity for reading and the count for writing
    void* data;
    DWORD type;  // REG_SZ, REG_BINARY or REG_DWORD
    bool found;  // the value was read from the registry
};

class Settings {
public:
    static constexpr int kRowCount = 19;

    // Sets the defaults, then reads every value found under subkey; tests pass a key of their own.
    explicit Settings(const char* subkey = PEERIX_SETTINGS_KEY);
    virtual ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // Writes every row in table order; false when the key cannot be created or a row fails.
    bool Save();
    // Makes later saves (the one at exit too) write under another subkey; the values already read
    // stay. A test process uses it so that it never writes a user's real settings.
    void UseKey(const char* newSubkey);
    bool WindowPosFound() const;

    // Reads count rows; a value that is missing or larger than its field leaves the field as it was.
    static void ReadEntries(HKEY key, SettingsEntry* table, int count);
    // Writes count rows and stops at the first that fails.
    static bool WriteEntries(HKEY key, const SettingsEntry* table, int count);
    // Fills a buffer of at least MAX_PATH bytes with a shell folder's path; empty on failure.
    static bool GetShellFolderPath(char* buffer, int folder);

    const SettingsEntry* Table() const { return table; }

    int AlwaysOnTop;
    int Update;      // an update rate: None 1, Slow 2, Medium 3, Fast 4
    int ZoomFactor;  // 1..32
    RECT WindowPos;  // the window's normal rectangle in screen coordinates
    POINT ZoomPoint;
    char InitialDirectory[MAX_PATH];
    int Emailed;
    int SaveZoomedImage;
    int Update1;  // refresh intervals in milliseconds for Slow, Medium and Fast
    int Update2;
    int Update3;
    int MouseTracking;
    int DisplayToolbar;
    int Visited;
    FILETIME HelpFileTime;
    int DisplayStatusbar;
    int DisplayMouseWhenFollowing;
    int DisplayRGBColourPanel;
    int SingleInstance;
    HKEY key;

private:
    void SetDefaults();
    void BuildTable();
    // Brings values that the program would never have written into the ranges it works with.
    void Normalise();

    const char* subkey;
    SettingsEntry table[kRowCount];
};

#endif
