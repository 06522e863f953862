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

const DWORD kNoId = 0xFFFFFFFFu;  // id -1 of labels and group boxes, as an extended template holds it

struct Control {
    DWORD helpId = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;  // widened to 32 bits; a plain template's -1 reads as kNoId too
    NameOrOrdinal cls, title;
};

struct Dialog {
    bool extended = false;
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::string caption, font;
    std::vector<Control> controls;
    bool complete = false;  // every field read, and nothing left after the last control
};

// Both template forms, read the way the dialog manager reads them.
Dialog Parse(const Resource& res) {
    Dialog d;
    Reader r(res.data, res.size);
    d.extended = r.Word() == 1 && r.Word() == 0xFFFF;
    if (!d.extended) r = Reader(res.data, res.size);
    if (d.extended) r.Dword();  // help id
    DWORD exStyle = r.Dword();
    d.style = r.Dword();
    if (!d.extended) std::swap(exStyle, d.style);
    const WORD count = r.Word();
    r.Short();
    r.Short();
    d.cx = r.Short();
    d.cy = r.Short();
    r.Field();  // menu
    r.Field();  // class
    d.caption = r.String();
    if (d.style & DS_SETFONT) {
        r.Word();  // point size
        if (d.extended) {
            r.Word();  // weight
            r.Byte();  // italic
            r.Byte();  // character set
        }
        d.font = r.String();
    }
    for (WORD i = 0; i < count && r.Ok(); ++i) {
        Control c;
        r.AlignDword();
        if (d.extended) {
            c.helpId = r.Dword();
            r.Dword();  // extended style
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            r.Dword();
        }
        c.x = r.Short();
        c.y = r.Short();
        c.cx = r.Short();
        c.cy = r.Short();
        if (d.extended) {
            c.id = r.Dword();
        } else {
            const WORD id = r.Word();
            c.id = id == 0xFFFF ? kNoId : id;
        }
        c.cls = r.Field();
        c.title = r.Field();
        r.Skip(r.Word());
        d.controls.push_back(c);
    }
    d.complete = r.Ok() && d.controls.size() == count && r.Position() == res.size;
    return d;
}

const Control* Find(const Dialog& d, DWORD id) {
    for (const Control& c : d.controls)
        if (c.id == id) return &c;
    return nullptr;
}

// Every control lies wholly inside the dialog's client area, so none is cut off.
void ExpectAllInside(const Dialog& d) {
    for (const Control& c : d.controls) {
        EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + c.cx <= d.cx && c.y + c.cy <= d.cy)
            << c.title.text << " (" << c.id << ") at " << c.x << "," << c.y << " " << c.cx << "x" << c.cy;
    }
}

}  // namespace

TEST(DialogTemplates, BothExistOnlyInEnglishUK) {
    EXPECT_EQ(Languages(IDD_OPTIONS), std::vector<WORD>{kEnglishUK});
    EXPECT_EQ(Languages(IDD_ABOUT), std::vector<WORD>{kEnglishUK});
    EXPECT_NE(Load(IDD_OPTIONS, kEnglishUK).data, nullptr);
    EXPECT_EQ(Load(IDD_OPTIONS, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)).data, nullptr);
}

TEST(DialogTemplates, OptionsCarriesAHelpIdForEachControlAndKeepsEverySpinAfterItsEdit) {
    const Dialog d = Parse(Load(IDD_OPTIONS, kEnglishUK));
    ASSERT_TRUE(d.complete);
    // Only an extended template holds help ids; the question-mark button needs DS_CONTEXTHELP.
    EXPECT_TRUE(d.extended);
    EXPECT_TRUE(d.style & DS_CONTEXTHELP);
    EXPECT_TRUE(d.style & WS_CAPTION);
    EXPECT_EQ(d.caption, "Options");
    ExpectAllInside(d);

    // Each control the code reads or helps with is there once.
    for (const DWORD id : {IDC_RGB, IDC_HEX, IDC_SHOW_CURSOR, IDC_SINGLE_INSTANCE, IDC_SLOW, IDC_SLOW_SPIN, IDC_MEDIUM,
                           IDC_MEDIUM_SPIN, IDC_FAST, IDC_FAST_SPIN, IDOK, IDCANCEL}) {
        int seen = 0;
        for (const Control& c : d.controls) seen += c.id == id;
        EXPECT_EQ(seen, 1) << id;
    }
    for (size_t i = 0; i < d.controls.size(); ++i) {
        const Control& c = d.controls[i];
        SCOPED_TRACE(c.title.text);
        // The help id rule; a label must read back as -1, or help would take it for a control.
        EXPECT_EQ(c.helpId, c.id == kNoId ? 0u : HID_OPTIONS_BASE + c.id);
        if (c.id == kNoId) {
            EXPECT_FALSE(c.style & WS_TABSTOP);
        }
        // An up-down buddies the control before it: each edit is followed by its spin.
        if (IsClass(c.cls, "edit")) {
            ASSERT_LT(i + 1, d.controls.size());
            EXPECT_TRUE(IsClass(d.controls[i + 1].cls, "msctls_updown32"));
            EXPECT_TRUE(d.controls[i + 1].style & UDS_AUTOBUDDY);
            EXPECT_EQ(d.controls[i + 1].id, c.id + 1);
            EXPECT_TRUE(c.style & WS_TABSTOP);
        }
    }
    EXPECT_EQ(Find(d, IDOK)->style & 0xF, static_cast<DWORD>(BS_DEFPUSHBUTTON));
}

TEST(DialogTemplates, AboutHoldsTheVersionTheLinksAndTheIconInsideItsBox) {
    const Dialog d = Parse(Load(IDD_ABOUT, kEnglishUK));
    ASSERT_TRUE(d.complete);
    EXPECT_FALSE(d.extended);
    EXPECT_EQ(d.caption, "About");
    ExpectAllInside(d);
    const Control* version = Find(d, IDC_VERSION);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->title.text, "Peerix Version 1.2");
    const Control* ok = Find(d, IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->style & 0xF, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    // The links tell their parent about clicks; without SS_NOTIFY a static never does.
    for (const DWORD id : {IDC_EMAIL_LINK, IDC_WEB_LINK}) {
        const Control* link = Find(d, id);
        ASSERT_NE(link, nullptr) << id;
        EXPECT_TRUE(IsClass(link->cls, "static"));
        EXPECT_TRUE(link->style & SS_NOTIFY);
        EXPECT_FALSE(link->title.text.empty());
    }
    bool icon = false;
    for (const Control& c : d.controls) icon = icon || ((c.style & SS_TYPEMASK) == SS_ICON && c.title.ordinal == IDI_PEERIX);
    EXPECT_TRUE(icon) << "the program's icon";
}
