// The settings record against the real registry, under a key of the test's own.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"

namespace {

const char* kKey = "Software\\Tarnwell\\PeerixTest\\Settings";

const char* const kOrder[] = {"InitialDirectory",
                              "WindowPos",
                              "AlwaysOnTop",
                              "HelpFileTime",
                              "Update",
                              "ZoomFactor",
                              "ZoomPoint",
                              "Emailed",
                              "SaveZoomedImage",
                              "Update1",
                              "Update2",
                              "Update3",
                              "MouseTracking",
                              "DisplayToolbar",
                              "Visited",
                              "DisplayStatusbar",
                              "DisplayMouseWhenFollowing",
                              "DisplayRGBColourPanel",
                              "SingleInstance"};

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
    // A full record with values different from every default, written by a Settings itself.
    static void WriteDistinctRecord() {
        Settings s(kKey);
        lstrcpyA(s.InitialDirectory, "C:\\Pictures");
        s.WindowPos = RECT{10, 20, 330, 220};
        s.AlwaysOnTop = 1;
        s.HelpFileTime = FILETIME{0x11223344, 0x01020304};
        s.Update = 3;
        s.ZoomFactor = 7;
        s.ZoomPoint = POINT{123, 456};
        s.Emailed = 1;
        s.SaveZoomedImage = 1;
        s.Update1 = 500;
        s.Update2 = 200;
        s.Update3 = 25;
        s.MouseTracking = 1;
        s.DisplayToolbar = 0;
        s.Visited = 1;
        s.DisplayStatusbar = 0;
        s.DisplayMouseWhenFollowing = 0;
        s.DisplayRGBColourPanel = 0;
        s.SingleInstance = 1;
    }
};

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

}  // namespace

TEST_F(SettingsRegistry, MissingKeyGivesDefaultsAndTheFirstSaveCreatesEveryValue) {
    {
        Settings s(kKey);
        EXPECT_EQ(s.key, nullptr);
        EXPECT_EQ(s.AlwaysOnTop, 0);
        EXPECT_EQ(s.Update, 1);
        EXPECT_EQ(s.ZoomFactor, 3);
        EXPECT_EQ(s.WindowPos.left | s.WindowPos.top | s.WindowPos.right | s.WindowPos.bottom, 0);
        EXPECT_EQ(s.ZoomPoint.x | s.ZoomPoint.y, 0);
        EXPECT_EQ(WithoutTrailingSlash(s.InitialDirectory), Documents());
        EXPECT_EQ(s.Update1, 1000);
        EXPECT_EQ(s.Update2, 100);
        EXPECT_EQ(s.Update3, 50);
        EXPECT_EQ(s.DisplayToolbar, 1);
        EXPECT_EQ(s.DisplayStatusbar, 1);
        EXPECT_EQ(s.DisplayMouseWhenFollowing, 1);
        EXPECT_EQ(s.DisplayRGBColourPanel, 1);
        EXPECT_EQ(s.SingleInstance + s.Emailed + s.Visited + s.MouseTracking + s.SaveZoomedImage, 0);
        EXPECT_EQ(s.HelpFileTime.dwLowDateTime | s.HelpFileTime.dwHighDateTime, 0u);
        EXPECT_FALSE(s.WindowPosFound());
        // The table runs in the order of reading and writing, each row at its field's size.
        for (int i = 0; i < Settings::kRowCount; ++i) {
            EXPECT_STREQ(s.Table()[i].name, kOrder[i]);
            EXPECT_FALSE(s.Table()[i].found);
        }
    }  // destruction saves
    const DWORD sizes[] = {260, 16, 4, 8, 4, 4, 8, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    const DWORD types[] = {REG_SZ,    REG_BINARY, REG_DWORD, REG_BINARY, REG_DWORD, REG_DWORD, REG_BINARY,
                           REG_DWORD, REG_DWORD,  REG_DWORD, REG_DWORD,  REG_DWORD, REG_DWORD, REG_DWORD,
                           REG_DWORD, REG_DWORD,  REG_DWORD, REG_DWORD,  REG_DWORD};
    for (int i = 0; i < Settings::kRowCount; ++i) {
        const Stored v = Get(kOrder[i]);
        ASSERT_TRUE(v.exists) << kOrder[i];
        EXPECT_EQ(v.bytes.size(), sizes[i]) << kOrder[i];
        EXPECT_EQ(v.type, types[i]) << kOrder[i];
    }
}

TEST_F(SettingsRegistry, EveryValueRoundTripsAndEachMissingOneKeepsItsDefault) {
    WriteDistinctRecord();
    {
        Settings s(kKey);
        EXPECT_STREQ(s.InitialDirectory, "C:\\Pictures");
        EXPECT_EQ(s.WindowPos.right, 330);
        EXPECT_TRUE(s.WindowPosFound());
        EXPECT_EQ(s.HelpFileTime.dwHighDateTime, 0x01020304u);
        EXPECT_EQ(s.ZoomFactor, 7);
        EXPECT_EQ(s.ZoomPoint.y, 456);
        EXPECT_EQ(s.Update3, 25);
        EXPECT_EQ(s.SingleInstance, 1);
        EXPECT_EQ(s.DisplayRGBColourPanel, 0);
        for (int i = 0; i < Settings::kRowCount; ++i) EXPECT_TRUE(s.Table()[i].found) << kOrder[i];
    }
    // With one value deleted at a time, that field alone falls back to its default.
    for (const char* name : kOrder) {
        WriteDistinctRecord();
        Remove(name);
        Settings s(kKey);
        const std::string n = name;
        EXPECT_EQ(s.ZoomFactor, n == "ZoomFactor" ? 3 : 7) << name;
        EXPECT_EQ(s.Update1, n == "Update1" ? 1000 : 500) << name;
        EXPECT_EQ(s.DisplayToolbar, n == "DisplayToolbar" ? 1 : 0) << name;
        EXPECT_EQ(s.ZoomPoint.x, n == "ZoomPoint" ? 0 : 123) << name;
        EXPECT_EQ(s.WindowPosFound(), n != "WindowPos") << name;
        EXPECT_EQ(WithoutTrailingSlash(s.InitialDirectory), n == "InitialDirectory" ? Documents() : "C:\\Pictures")
            << name;
        for (int i = 0; i < Settings::kRowCount; ++i) EXPECT_EQ(s.Table()[i].found, n != kOrder[i]) << name;
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
    const struct {
        DWORD zoom, update, interval, flag;
        int wantZoom, wantUpdate, wantInterval;
    } cases[] = {
        {0, 0, 0, 7, 1, 1, 20},
        {33, 5, 1001, 0xFFFFFFFF, 32, 4, 1000},
        {0xFFFFFFFF, 0x80000000, 19, 1, 1, 1, 20},
        {32, 4, 20, 0, 32, 4, 20},
    };
    for (const auto& c : cases) {
        PutDword("ZoomFactor", c.zoom);
        PutDword("Update", c.update);
        PutDword("Update1", c.interval);
        PutDword("Update2", c.interval);
        PutDword("Update3", c.interval);
        for (const char* flag :
             {"AlwaysOnTop", "Emailed", "SaveZoomedImage", "MouseTracking", "DisplayToolbar", "Visited",
              "DisplayStatusbar", "DisplayMouseWhenFollowing", "DisplayRGBColourPanel", "SingleInstance"})
            PutDword(flag, c.flag);
        Settings s(kKey);
        EXPECT_EQ(s.ZoomFactor, c.wantZoom) << c.zoom;
        EXPECT_EQ(s.Update, c.wantUpdate) << c.update;
        EXPECT_EQ(s.Update1, c.wantInterval);
        EXPECT_EQ(s.Update2, c.wantInterval);
        EXPECT_EQ(s.Update3, c.wantInterval);
        const int want = c.flag ? 1 : 0;
        for (int flag : {s.AlwaysOnTop, s.Emailed, s.SaveZoomedImage, s.MouseTracking, s.DisplayToolbar, s.Visited,
                         s.DisplayStatusbar, s.DisplayMouseWhenFollowing, s.DisplayRGBColourPanel, s.SingleInstance})
            EXPECT_EQ(flag, want);
    }
    // A folder that fills all 260 bytes without a terminator still ends inside the field.
    std::string full(260, 'd');
    Put("InitialDirectory", REG_BINARY, full.data(), 260);
    Settings s(kKey);
    EXPECT_EQ(std::strlen(s.InitialDirectory), 259u);
}

TEST_F(SettingsRegistry, WindowRectanglesThatCannotShowAreNotUsed) {
    const struct {
        RECT r;
        bool found;
    } cases[] = {
        {{200, 150, 600, 450}, true},      {{-100, -50, 300, 250}, true}, {{5000, 5000, 5400, 5300}, false},
        {{-900, -900, -500, -600}, false}, {{100, 100, 100, 300}, false}, {{400, 300, 100, 100}, false},
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
