// The two dialog templates as the program's resources hold them, read field by field.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "res/resource.h"

namespace {

const WORD kEnglishUK = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);

// A name or ordinal field of a template: 0 (none), 0xFFFF then an ordinal, or a UTF-16 string.
struct NameOrOrdinal {
    WORD ordinal = 0;
    std::string text;  // ASCII texts only in these templates
};

// Reads a template from its bytes, never past their end.
class Reader {
public:
    Reader(const BYTE* data, DWORD size) : data(data), size(size) {}
    bool Ok() const { return ok; }
    DWORD Position() const { return at; }
    WORD Word() {
        WORD v = 0;
        Copy(&v, sizeof v);
        return v;
    }
    DWORD Dword() {
        DWORD v = 0;
        Copy(&v, sizeof v);
        return v;
    }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() {
        BYTE v = 0;
        Copy(&v, sizeof v);
        return v;
    }
    std::string String() {
        std::string s;
        for (WORD c = Word(); ok && c; c = Word()) s += c < 128 ? static_cast<char>(c) : '?';
        return s;
    }
    NameOrOrdinal Field() {
        NameOrOrdinal f;
        const WORD first = Word();
        if (first == 0xFFFF)
            f.ordinal = Word();
        else if (first != 0) {
            f.text += static_cast<char>(first);
            f.text += String();
        }
        return f;
    }
    void AlignDword() { at = (at + 3) & ~3u; }
    void Skip(DWORD n) { at += n; }

private:
    void Copy(void* out, DWORD n) {
        if (!ok || at + n > size) {
            ok = false;
            return;
        }
        memcpy(out, data + at, n);
        at += n;
    }
    const BYTE* data;
    DWORD size;
    DWORD at = 0;
    bool ok = true;
};

struct Resource {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Resource Load(int id, WORD language) {
    Resource r;
    HRSRC found = FindResourceExA(programInstance, RT_DIALOG, MAKEINTRESOURCEA(id), language);
    if (!found) return r;
    r.size = SizeofResource(programInstance, found);
    r.data = static_cast<const BYTE*>(LockResource(LoadResource(programInstance, found)));
    return r;
}

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(language);
    return TRUE;
}

std::vector<WORD> Languages(int id) {
    std::vector<WORD> found;
    EnumResourceLanguagesA(programInstance, RT_DIALOG, MAKEINTRESOURCEA(id), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&found));
    return found;
}

// The predefined classes as a template may name them: by ordinal or by name.
bool IsClass(const NameOrOrdinal& c, const char* expected) {
    static const struct {
        WORD ordinal;
        const char* name;
    } kAtoms[] = {{0x80, "button"}, {0x81, "edit"}, {0x82, "static"}};
    if (c.ordinal) {
        for (const auto& a : kAtoms)
            if (a.ordinal == c.ordinal) return lstrcmpiA(a.name, expected) == 0;
        return false;
    }
    return lstrcmpiA(c.text.c_str(), expected) == 0;
}

struct Control {
    DWORD id;
    const char* cls;
    const char* text;
    DWORD style;  // beside WS_CHILD | WS_VISIBLE
    short x, y, cx, cy;
    DWORD helpId;
};

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kNone = 0xFFFFFFFFu;  // id -1 as a 32-bit field
const DWORD kUpDown = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS;

const Control kOptionsControls[] = {
    {1003, "button", "&RGB", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 15, 24, 31, 10, 0x808E03EB},
    {1004, "button", "He&xadecimal", BS_AUTORADIOBUTTON | WS_TABSTOP, 15, 37, 57, 10, 0x808E03EC},
    {1011, "button", "Show mouse &cursor\nwhen following", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 7, 63, 81, 17,
     0x808E03F3},
    {1013, "button", "&Allow only one instance of Peerix", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, 7, 82, 79, 20,
     0x808E03F5},
    {kNone, "static", "&Slow:", SS_LEFT | WS_GROUP, 109, 26, 18, 8, 0},
    {1005, "edit", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 142, 23, 33, 14, 0x808E03ED},
    {1006, "msctls_updown32", "Spin1", kUpDown, 172, 23, 9, 14, 0x808E03EE},
    {kNone, "static", "&Medium:", SS_LEFT | WS_GROUP, 109, 43, 28, 8, 0},
    {1007, "edit", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 142, 41, 33, 14, 0x808E03EF},
    {1008, "msctls_updown32", "Spin1", kUpDown, 173, 41, 9, 14, 0x808E03F0},
    {kNone, "static", "&Fast:", SS_LEFT | WS_GROUP, 109, 63, 16, 8, 0},
    {1009, "edit", "", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 142, 60, 33, 14, 0x808E03F1},
    {1010, "msctls_updown32", "Spin1", kUpDown | UDS_HOTTRACK, 173, 57, 9, 14, 0x808E03F2},
    {IDOK, "button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 196, 12, 50, 14, 0x808E0001},
    {IDCANCEL, "button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 196, 30, 50, 14, 0x808E0002},
    {kNone, "button", "Colour value display", BS_GROUPBOX, 7, 10, 82, 42, 0},
    {kNone, "button", "Updates per second", BS_GROUPBOX, 97, 9, 91, 72, 0},
};

}  // namespace

TEST(DialogTemplates, BothExistOnlyInEnglishUK) {
    EXPECT_EQ(Languages(IDD_OPTIONS), std::vector<WORD>{kEnglishUK});
    EXPECT_EQ(Languages(IDD_ABOUT), std::vector<WORD>{kEnglishUK});
    EXPECT_NE(Load(IDD_OPTIONS, kEnglishUK).data, nullptr);
    EXPECT_EQ(Load(IDD_OPTIONS, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)).data, nullptr);
}

TEST(DialogTemplates, OptionsIsAnExtendedTemplateWithEveryControlInOrder) {
    const Resource res = Load(IDD_OPTIONS, kEnglishUK);
    ASSERT_NE(res.data, nullptr);
    Reader r(res.data, res.size);
    EXPECT_EQ(r.Word(), 1);       // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF);  // signature of an extended template
    EXPECT_EQ(r.Dword(), 0u);     // help id
    EXPECT_EQ(r.Dword(), 0u);     // extended style
    EXPECT_EQ(r.Dword(), 0x80C820C0u);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CONTEXTHELP | DS_SETFONT),
              0x80C820C0u);
    const WORD count = r.Word();
    ASSERT_EQ(count, sizeof kOptionsControls / sizeof kOptionsControls[0]);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 253);
    EXPECT_EQ(r.Short(), 111);
    const NameOrOrdinal menu = r.Field(), cls = r.Field();
    EXPECT_TRUE(menu.ordinal == 0 && menu.text.empty());
    EXPECT_TRUE(cls.ordinal == 0 && cls.text.empty());
    EXPECT_EQ(r.String(), "Options");
    EXPECT_EQ(r.Word(), 8);  // point size
    EXPECT_EQ(r.Word(), 0);  // weight
    EXPECT_EQ(r.Byte(), 0);  // italic
    EXPECT_EQ(r.Byte(), 1);  // character set
    EXPECT_EQ(r.String(), "MS Sans Serif");
    ASSERT_TRUE(r.Ok());

    for (const Control& c : kOptionsControls) {
        SCOPED_TRACE(c.text);
        r.AlignDword();
        EXPECT_EQ(r.Dword(), c.helpId);
        EXPECT_EQ(r.Dword(), 0u);  // extended style
        EXPECT_EQ(r.Dword(), kChild | c.style);
        EXPECT_EQ(r.Short(), c.x);
        EXPECT_EQ(r.Short(), c.y);
        EXPECT_EQ(r.Short(), c.cx);
        EXPECT_EQ(r.Short(), c.cy);
        // Labels must read back as -1, or the help code would take them for controls.
        EXPECT_EQ(r.Dword(), c.id);
        EXPECT_TRUE(IsClass(r.Field(), c.cls)) << c.cls;
        const NameOrOrdinal title = r.Field();
        EXPECT_EQ(title.ordinal, 0);
        EXPECT_EQ(title.text, c.text);
        const WORD extra = r.Word();
        EXPECT_EQ(extra, 0);
        r.Skip(extra);
        ASSERT_TRUE(r.Ok());
        // The help id rule: 0x808E0000 plus the control's id, 0 for labels and group boxes.
        EXPECT_EQ(c.helpId, c.id == kNone ? 0u : HID_OPTIONS_BASE + c.id);
    }
    EXPECT_EQ(r.Position(), res.size);  // nothing after the last control
}

TEST(DialogTemplates, AboutIsAPlainTemplateWithItsNineControls) {
    const Resource res = Load(IDD_ABOUT, kEnglishUK);
    ASSERT_NE(res.data, nullptr);
    Reader r(res.data, res.size);
    EXPECT_EQ(r.Dword(), 0x80C808C0u);
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME | DS_SETFONT),
              0x80C808C0u);
    EXPECT_EQ(r.Dword(), 0u);
    ASSERT_EQ(r.Word(), 9);
    EXPECT_EQ(r.Short(), 22);
    EXPECT_EQ(r.Short(), 17);
    EXPECT_EQ(r.Short(), 257);
    EXPECT_EQ(r.Short(), 111);
    EXPECT_EQ(r.Field().ordinal, 0);
    EXPECT_EQ(r.Field().ordinal, 0);
    EXPECT_EQ(r.String(), "About");
    EXPECT_EQ(r.Word(), 8);
    EXPECT_EQ(r.String(), "MS Sans Serif");

    const struct {
        WORD id;
        DWORD style;  // beside WS_CHILD | WS_VISIBLE
        short x, y, cx, cy;
        const char* text;  // null: the icon, by ordinal
    } kControls[] = {
        {2, SS_ICON, 7, 7, 21, 20, nullptr},
        {IDC_VERSION, WS_GROUP | SS_NOPREFIX, 36, 10, 122, 8, "Peerix Version 1.2"},
        {0xFFFF, WS_GROUP, 36, 21, 119, 8, ""},
        {IDOK, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 200, 7, 50, 14, "OK"},
        {IDC_EMAIL_LINK, WS_GROUP | SS_NOTIFY, 56, 32, 80, 8, "support@peerix.example"},
        {0xFFFF, WS_GROUP, 36, 61, 156, 43, ""},
        {IDC_WEB_LINK, WS_GROUP | SS_NOTIFY, 105, 42, 86, 8, "https://peerix.example/"},
        {0xFFFF, WS_GROUP, 35, 32, 20, 8, "Email:"},
        {0xFFFF, WS_GROUP, 35, 42, 70, 8, "or visit my web site at:"},
    };
    for (const auto& c : kControls) {
        SCOPED_TRACE(c.id);
        r.AlignDword();
        EXPECT_EQ(r.Dword(), kChild | c.style);
        EXPECT_EQ(r.Dword(), 0u);
        EXPECT_EQ(r.Short(), c.x);
        EXPECT_EQ(r.Short(), c.y);
        EXPECT_EQ(r.Short(), c.cx);
        EXPECT_EQ(r.Short(), c.cy);
        EXPECT_EQ(r.Word(), c.id);
        EXPECT_TRUE(IsClass(r.Field(), c.id == IDOK ? "button" : "static"));
        const NameOrOrdinal title = r.Field();
        if (!c.text) {
            EXPECT_EQ(title.ordinal, IDI_PEERIX);
        } else if (*c.text) {
            EXPECT_EQ(title.text, c.text);
        } else {
            EXPECT_FALSE(title.text.empty());  // the notice and the thanks are ours, but present
        }
        const WORD extra = r.Word();
        EXPECT_EQ(extra, 0);
        r.Skip(extra);
        ASSERT_TRUE(r.Ok());
    }
    EXPECT_EQ(r.Position(), res.size);
}
