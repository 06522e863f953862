// The persisted settings: one record, loaded from the registry when it is constructed and
// written back by Save() and when it is destroyed. The table below is the one description of
// every value; reading, writing, the defaults and the clamps all walk it.
#ifndef PEERIX_SETTINGS_H
#define PEERIX_SETTINGS_H

#include <windows.h>

#include <cstddef>

#include "types.h"

// The registry location of the settings, below HKEY_CURRENT_USER.
#define PEERIX_SETTINGS_KEY "Software\\Tarnwell\\Peerix\\1.0"

// The values themselves, each named after its registry value. A plain record, so that a table
// row can name its field by offset.
struct SettingsRecord {
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
    int DisplayPixelGrid;
    int ColourCopyFormat;  // a rules::ColourFormat: #RRGGBB 0, rgb(R, G, B) 1, R, G, B 2
    int SaveImageType;     // a rules::ImageType: PNG 0, BMP 1
    int FollowKeyboard;
};

// How a value read from the registry is brought into what the program works with.
enum class SettingRule {
    Flag,        // 0 or 1; anything else non-zero means set
    Range,       // clamped into [low, high]
    Text,        // a path that always ends inside its field
    WindowRect,  // used only when it has an area; start-up brings it onto a monitor
    Bytes,       // used as read
};

// One value: its registry name, type and byte count, its field, its default and its rule.
struct SettingDescription {
    const char* name;
    DWORD type;  // REG_SZ, REG_BINARY or REG_DWORD
    DWORD size;
    std::size_t offset;  // of the field in SettingsRecord
    int initial;         // the default of a REG_DWORD value; the others start as zero bytes
    SettingRule rule;
    int low, high;  // the range of a Range value
};

// One row: the field's name is the value's name.
// clang-format off
#define PEERIX_SETTING(field, type, initial, rule, low, high) \
    {#field, type, sizeof(SettingsRecord::field), offsetof(SettingsRecord, field), initial, SettingRule::rule, low, high}
// clang-format on

// Every value in the order of reading and writing. New values go at the end: older copies of
// the program read the rows they know and leave the others alone.
inline constexpr SettingDescription kSettings[] = {
    // The Documents folder when none was stored; see the constructor.
    PEERIX_SETTING(InitialDirectory, REG_SZ, 0, Text, 0, 0),
    PEERIX_SETTING(WindowPos, REG_BINARY, 0, WindowRect, 0, 0),
    PEERIX_SETTING(AlwaysOnTop, REG_DWORD, 0, Flag, 0, 1),
    PEERIX_SETTING(HelpFileTime, REG_BINARY, 0, Bytes, 0, 0),
    PEERIX_SETTING(Update, REG_DWORD, rules::kRateNone, Range, rules::kRateNone, rules::kRateFast),
    PEERIX_SETTING(ZoomFactor, REG_DWORD, 3, Range, rules::kMinZoom, rules::kMaxZoom),
    PEERIX_SETTING(ZoomPoint, REG_BINARY, 0, Bytes, 0, 0),
    PEERIX_SETTING(Emailed, REG_DWORD, 0, Flag, 0, 1),
    PEERIX_SETTING(SaveZoomedImage, REG_DWORD, 0, Flag, 0, 1),
    // The Options dialog divides 1000 by each interval and writes only 20..1000.
    PEERIX_SETTING(Update1, REG_DWORD, 1000, Range, rules::kMinInterval, rules::kMaxInterval),
    PEERIX_SETTING(Update2, REG_DWORD, 100, Range, rules::kMinInterval, rules::kMaxInterval),
    PEERIX_SETTING(Update3, REG_DWORD, 50, Range, rules::kMinInterval, rules::kMaxInterval),
    PEERIX_SETTING(MouseTracking, REG_DWORD, 0, Flag, 0, 1),
    PEERIX_SETTING(DisplayToolbar, REG_DWORD, 1, Flag, 0, 1),
    PEERIX_SETTING(Visited, REG_DWORD, 0, Flag, 0, 1),
    PEERIX_SETTING(DisplayStatusbar, REG_DWORD, 1, Flag, 0, 1),
    PEERIX_SETTING(DisplayMouseWhenFollowing, REG_DWORD, 1, Flag, 0, 1),
    PEERIX_SETTING(DisplayRGBColourPanel, REG_DWORD, 1, Flag, 0, 1),
    PEERIX_SETTING(SingleInstance, REG_DWORD, 0, Flag, 0, 1),
    PEERIX_SETTING(DisplayPixelGrid, REG_DWORD, 0, Flag, 0, 1),
    PEERIX_SETTING(ColourCopyFormat, REG_DWORD, 0, Range, 0, 2),
    PEERIX_SETTING(SaveImageType, REG_DWORD, 0, Range, 0, 1),
    PEERIX_SETTING(FollowKeyboard, REG_DWORD, 0, Flag, 0, 1),
};

#undef PEERIX_SETTING

// One row of the table as a load uses it: a registry value and the field that holds it.
struct SettingsEntry {
    const char* name;
    DWORD size;  // the field's size: the capacity for reading and the count for writing
    void* data;
    DWORD type;  // REG_SZ, REG_BINARY or REG_DWORD
    bool found;  // the value was read from the registry
};

class Settings : public SettingsRecord {
public:
    static constexpr int kRowCount = static_cast<int>(sizeof kSettings / sizeof kSettings[0]);

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
    // Puts the Documents folder into InitialDirectory when no folder was stored or set since, the
    // first time it is needed: before the Save dialog opens, and by Save.
    void FillInitialDirectory();

    // Reads count rows; a value that is missing or larger than its field leaves the field as it was.
    static void ReadEntries(HKEY key, SettingsEntry* table, int count);
    // Writes count rows and stops at the first that fails.
    static bool WriteEntries(HKEY key, const SettingsEntry* table, int count);
    // Fills a buffer of at least MAX_PATH bytes with a shell folder's path; empty on failure.
    static bool GetShellFolderPath(char* buffer, int folder);

    const SettingsEntry* Table() const { return table; }

    HKEY key;

private:
    void SetDefaults();
    // Brings values that the program would never have written into the ranges it works with.
    void Normalise();

    const char* subkey;
    bool initialDirectoryPending;  // InitialDirectory still waits for the Documents folder
    SettingsEntry table[kRowCount];
};

#endif
