// The settings record against the real registry, under a key of the test's own.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"

namespace {

const char* kKey = "Software\\Tarnwell\\PeerixTest\\Settings";

// The personal folder as the shell names it; Wine's item-list route adds a trailing backslash,
// which names the same folder.
std::string Documents() {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_PERSONAL, FALSE);
    return path;
}

std::string WithoutTrailingSlash(const char* path) {
    std::string s(path);
    if (s.size() > 3 && s.back() == '\\') s.pop_back();
    return s;
}

class SettingsRegistry : public testing::Test {
protected:
    void SetUp() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kKey); }

    static void Put(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static void PutDword(const char* name, DWORD v) { Put(name, REG_DWORD, &v, 4); }
    static void Remove(const char* name) {
        HKEY key;
        if (RegOpenKeyA(HKEY_CURRENT_USER, kKey, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
    struct Stored {
        bool exists = false;
        DWORD type = 0;
        std::vector<BYTE> bytes;
    };
    static Stored Get(const char* name) {
        Stored s;
        HKEY key;
        if (RegOpenKeyA(HKEY_CURRENT_USER, kKey, &key) != ERROR_SUCCESS) return s;
        BYTE buffer[1024];
        DWORD size = sizeof buffer;
        if (RegQueryValueExA(key, name, nullptr, &s.type, buffer, &size) == ERROR_SUCCESS) {
            s.exists = true;
            s.bytes.assign(buffer, buffer + size);
        }
        RegCloseKey(key);
        return s;
    }
    // Bytes for a row that differ from its default and survive its rule.
    static std::vector<BYTE> Distinct(const SettingDescription& d) {
        std::vector<BYTE> bytes(d.size);
        if (d.type == REG_DWORD) {
            const int v = d.rule == SettingRule::Flag ? 1 - d.initial : (d.initial == d.high ? d.low : d.high);
            std::memcpy(bytes.data(), &v, sizeof v);
        } else if (d.rule == SettingRule::Text) {
            lstrcpyA(reinterpret_cast<char*>(bytes.data()), "C:\\Pictures");
        } else if (d.rule == SettingRule::WindowRect) {
            const RECT r = {10, 20, 330, 220};  // on the screen, so it is used
            std::memcpy(bytes.data(), &r, sizeof r);
        } else {
            for (DWORD i = 0; i < d.size; ++i) bytes[i] = static_cast<BYTE>(0x11 * (i + 1));
        }
        return bytes;
    }
    // A full record with values different from every default, written by a Settings itself.
    static void WriteDistinctRecord() {
        Settings s(kKey);
        for (int i = 0; i < Settings::kRowCount; ++i) {
            const std::vector<BYTE> bytes = Distinct(kSettings[i]);
            std::memcpy(s.Table()[i].data, bytes.data(), bytes.size());
        }
    }
    static std::vector<BYTE> Field(const Settings& s, int row) {
        const BYTE* data = static_cast<const BYTE*>(s.Table()[row].data);
        return std::vector<BYTE>(data, data + kSettings[row].size);
    }
    // The default a row has when nothing is stored. InitialDirectory's is the Documents folder,
    // looked up only when first needed: empty until then.
    static void ExpectDefault(Settings& s, int row) {
        const SettingDescription& d = kSettings[row];
        if (d.rule == SettingRule::Text) {
            EXPECT_STREQ(static_cast<const char*>(s.Table()[row].data), "");
            s.FillInitialDirectory();
            EXPECT_EQ(WithoutTrailingSlash(static_cast<const char*>(s.Table()[row].data)), Documents());
            return;
        }
        std::vector<BYTE> want(d.size, 0);
        if (d.type == REG_DWORD) std::memcpy(want.data(), &d.initial, sizeof d.initial);
        EXPECT_EQ(Field(s, row), want) << d.name;
    }
};

}  // namespace

TEST_F(SettingsRegistry, MissingKeyGivesDefaultsAndTheFirstSaveCreatesEveryValue) {
    {
        Settings s(kKey);
        EXPECT_EQ(s.key, nullptr);
        EXPECT_FALSE(s.WindowPosFound());
        for (int i = 0; i < Settings::kRowCount; ++i) {
            ExpectDefault(s, i);
            EXPECT_FALSE(s.Table()[i].found) << kSettings[i].name;
            EXPECT_EQ(s.Table()[i].size, kSettings[i].size) << kSettings[i].name;
        }
    }  // destruction saves
    // What users' registries already hold: the first values, their order, types, sizes and
    // defaults, as every release has stored them.
    std::string layout;
    for (int i = 0; i < 19; ++i) {
        const Stored v = Get(kSettings[i].name);
        ASSERT_TRUE(v.exists) << kSettings[i].name;
        layout += std::string(kSettings[i].name) + " " + std::to_string(v.type) + " " + std::to_string(v.bytes.size());
        if (v.type == REG_DWORD) layout += " =" + std::to_string(*reinterpret_cast<const int*>(v.bytes.data()));
        layout += ",";
    }
    EXPECT_EQ(layout,
              "InitialDirectory 1 260,WindowPos 3 16,AlwaysOnTop 4 4 =0,HelpFileTime 3 8,Update 4 4 =1,"
              "ZoomFactor 4 4 =3,ZoomPoint 3 8,Emailed 4 4 =0,SaveZoomedImage 4 4 =0,Update1 4 4 =1000,"
              "Update2 4 4 =100,Update3 4 4 =50,MouseTracking 4 4 =0,DisplayToolbar 4 4 =1,Visited 4 4 =0,"
              "DisplayStatusbar 4 4 =1,DisplayMouseWhenFollowing 4 4 =1,DisplayRGBColourPanel 4 4 =1,"
              "SingleInstance 4 4 =0,");
    for (const SettingDescription& d : kSettings) {
        const Stored v = Get(d.name);
        ASSERT_TRUE(v.exists) << d.name;
        EXPECT_EQ(v.type, d.type) << d.name;
        EXPECT_EQ(v.bytes.size(), d.size) << d.name;
    }
}

TEST_F(SettingsRegistry, EveryValueRoundTripsAndEachMissingOneKeepsItsDefault) {
    WriteDistinctRecord();
    {
        Settings s(kKey);
        for (int i = 0; i < Settings::kRowCount; ++i) {
            EXPECT_TRUE(s.Table()[i].found) << kSettings[i].name;
            EXPECT_EQ(Field(s, i), Distinct(kSettings[i])) << kSettings[i].name;
        }
    }
    // With one value deleted at a time, that field alone falls back to its default.
    for (int gone = 0; gone < Settings::kRowCount; ++gone) {
        WriteDistinctRecord();
        Remove(kSettings[gone].name);
        Settings s(kKey);
        for (int i = 0; i < Settings::kRowCount; ++i) {
            EXPECT_EQ(s.Table()[i].found, i != gone) << kSettings[gone].name << ": " << kSettings[i].name;
            if (i == gone)
                ExpectDefault(s, i);
            else
                EXPECT_EQ(Field(s, i), Distinct(kSettings[i])) << kSettings[gone].name << ": " << kSettings[i].name;
        }
    }
}

TEST_F(SettingsRegistry, ValuesLargerThanTheirFieldAreNotReadAndNeverWrittenLarger) {
    const LONG twenty[5] = {1, 2, 300, 400, 5};
    Put("WindowPos", REG_BINARY, twenty, sizeof twenty);
    const DWORD eight[2] = {9, 9};
    Put("ZoomFactor", REG_BINARY, eight, sizeof eight);
    std::string longPath(300, 'x');
    Put("InitialDirectory", REG_SZ, longPath.c_str(), static_cast<DWORD>(longPath.size() + 1));
    {
        Settings s(kKey);
        EXPECT_FALSE(s.WindowPosFound());
        EXPECT_EQ(s.WindowPos.right, 0);
        EXPECT_EQ(s.ZoomFactor, 3);
        s.FillInitialDirectory();
        EXPECT_EQ(WithoutTrailingSlash(s.InitialDirectory), Documents());
        EXPECT_EQ(s.Table()[1].size, 16u);
        EXPECT_EQ(s.Table()[5].size, 4u);
        EXPECT_EQ(s.Table()[0].size, 260u);
    }
    EXPECT_EQ(Get("WindowPos").bytes.size(), 16u);
    EXPECT_EQ(Get("ZoomFactor").bytes.size(), 4u);
    EXPECT_EQ(Get("InitialDirectory").bytes.size(), 260u);
}

TEST_F(SettingsRegistry, ShorterValuesAreReadButLaterSavesWriteTheWholeField) {
    const BYTE two[2] = {5, 0};
    Put("ZoomFactor", REG_BINARY, two, sizeof two);
    Put("InitialDirectory", REG_SZ, "C:\\x", 5);
    {
        Settings s(kKey);
        EXPECT_EQ(s.ZoomFactor, 5);
        EXPECT_STREQ(s.InitialDirectory, "C:\\x");
        EXPECT_EQ(s.Table()[0].size, 260u);
        // A longer folder chosen later must not be cut to the stored length.
        lstrcpyA(s.InitialDirectory, "C:\\A much longer folder\\with pictures");
    }
    const Stored dir = Get("InitialDirectory");
    ASSERT_EQ(dir.bytes.size(), 260u);
    EXPECT_STREQ(reinterpret_cast<const char*>(dir.bytes.data()), "C:\\A much longer folder\\with pictures");
    EXPECT_EQ(Get("ZoomFactor").bytes.size(), 4u);
}

TEST_F(SettingsRegistry, WrongTypesAreReadAsBytesAndRewrittenWithTheRowsType) {
    const DWORD medium = 3;
    Put("Update", REG_BINARY, &medium, 4);
    {
        Settings s(kKey);
        EXPECT_EQ(s.Update, 3);
    }
    const Stored v = Get("Update");
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(v.bytes.size(), 4u);
}

TEST_F(SettingsRegistry, ValuesOutsideTheProgramsRangesAreBroughtIntoThem) {
    // Stored numbers, read as signed, and what a flag makes of each.
    const struct {
        DWORD stored;
        int flag;
    } cases[] = {{0, 0}, {7, 1}, {0xFFFFFFFF, 1}, {0x80000000, 1}, {0x7FFFFFFF, 1}, {1001, 1}};
    for (const auto& c : cases) {
        for (const SettingDescription& d : kSettings)
            if (d.type == REG_DWORD) PutDword(d.name, c.stored);
        Settings s(kKey);
        for (int i = 0; i < Settings::kRowCount; ++i) {
            const SettingDescription& d = kSettings[i];
            const int got = *static_cast<const int*>(s.Table()[i].data);
            const int stored = static_cast<int>(c.stored);
            int want = got;
            if (d.rule == SettingRule::Flag) want = c.flag;
            if (d.rule == SettingRule::Range) want = rules::Clamp(stored, d.low, d.high);
            EXPECT_EQ(got, want) << d.name << " " << c.stored;
        }
    }
    // The edges themselves stay.
    for (const SettingDescription& d : kSettings) {
        if (d.rule != SettingRule::Range) continue;
        for (int edge : {d.low, d.high}) {
            PutDword(d.name, static_cast<DWORD>(edge));
            Settings s(kKey);
            const int row = static_cast<int>(&d - kSettings);
            EXPECT_EQ(*static_cast<const int*>(s.Table()[row].data), edge) << d.name;
        }
    }
    // A folder that fills all 260 bytes without a terminator still ends inside the field.
    std::string full(260, 'd');
    Put("InitialDirectory", REG_BINARY, full.data(), 260);
    Settings s(kKey);
    EXPECT_EQ(std::strlen(s.InitialDirectory), 259u);
}

TEST_F(SettingsRegistry, WindowRectanglesWithoutAreaAreNotUsed) {
    // Those on no monitor are used: start-up moves them onto one.
    const struct {
        RECT r;
        bool found;
    } cases[] = {
        {{200, 150, 600, 450}, true},     {{-100, -50, 300, 250}, true}, {{5000, 5000, 5400, 5300}, true},
        {{-900, -900, -500, -600}, true}, {{100, 100, 100, 300}, false}, {{400, 300, 100, 100}, false},
    };
    for (const auto& c : cases) {
        Put("WindowPos", REG_BINARY, &c.r, sizeof c.r);
        Settings s(kKey);
        EXPECT_EQ(s.WindowPosFound(), c.found) << c.r.left << "," << c.r.top << "," << c.r.right << "," << c.r.bottom;
    }
}

TEST_F(SettingsRegistry, WritingStopsAtTheFirstRowThatFails) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
    DWORD a = 1, c = 3;
    // The middle row names data that cannot be read, so the registry refuses it.
    SettingsEntry table[3] = {{"First", 4, &a, REG_DWORD, false},
                              {"Second", 4, nullptr, REG_DWORD, false},
                              {"Third", 4, &c, REG_DWORD, false}};
    EXPECT_FALSE(Settings::WriteEntries(key, table, 3));
    RegCloseKey(key);
    EXPECT_TRUE(Get("First").exists);
    EXPECT_FALSE(Get("Second").exists);
    EXPECT_FALSE(Get("Third").exists);

    // Reading a table whose values are missing changes nothing and finds nothing.
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
    DWORD third = 42;
    SettingsEntry read[1] = {{"Third", 4, &third, REG_DWORD, false}};
    Settings::ReadEntries(key, read, 1);
    EXPECT_FALSE(read[0].found);
    EXPECT_EQ(third, 42u);
    EXPECT_EQ(read[0].size, 4u);
    RegCloseKey(key);
}

TEST_F(SettingsRegistry, SaveWritesAtOnceAndAgainAtDestruction) {
    {
        Settings s(kKey);
        s.ZoomFactor = 9;
        EXPECT_TRUE(s.Save());
        Settings reader(kKey);
        EXPECT_EQ(reader.ZoomFactor, 9);
        s.ZoomFactor = 10;
    }
    Settings reader(kKey);
    EXPECT_EQ(reader.ZoomFactor, 10);
}
