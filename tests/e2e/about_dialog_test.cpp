// The About box of the real Peerix.exe: its three ways in, its links' cursor, colours and
// underline, and what a click on a link opens and remembers.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/support/screen.h"
#include "tests/support/url_handler.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPurple = RGB(128, 0, 128);

class AboutDialog : public PeerixTest {
protected:
    void SetUp() override {
        PeerixTest::SetUp();
        WriteRect("WindowPos", 300, 100, 300 + 420, 100 + 330);
    }

    // Ctrl+A on the main window; the About box, or null.
    HWND OpenWithKeys() {
        input::Focus(peerix.Window());
        return dialogs::PressForDialog(peerix.Pid(), "About", 'A', {VK_CONTROL});
    }
    // Starts Peerix and opens the About box with the keys; the box, or null.
    HWND StartAndOpen() { return Start() ? OpenWithKeys() : nullptr; }

    void ExpectCentredWithVersion(HWND about) {
        EXPECT_EQ(GetWindow(about, GW_OWNER), peerix.Window());
        const POINT centred = dialogs::CentredOrigin(peerix.Window(), about);
        EXPECT_EQ(dialogs::Rect(about).left, centred.x);
        EXPECT_EQ(dialogs::Rect(about).top, centred.y);
        EXPECT_EQ(dialogs::ItemText(about, IDC_VERSION), "Peerix Version 1.2");
    }
};

// Where a user points at a link: just inside its text's start.
POINT OnLink(HWND link) {
    const RECT r = dialogs::Rect(link);
    return POINT{r.left + 6, (r.top + r.bottom) / 2};
}

void ClickLink(HWND link) {
    const POINT p = OnLink(link);
    input::LeftClick(p.x, p.y);
}

// How a link looks on the screen: how many of its pixels have each link colour, and whether one
// row of link-coloured pixels runs under (nearly) the whole text, which is the underline.
struct LinkLook {
    int blue = 0, purple = 0;
    bool underlined = false;
};

LinkLook Look(HWND link) {
    const pixels::Capture c = pixels::CaptureScreen(dialogs::Rect(link));
    LinkLook look;
    int left = c.Width(), right = -1;
    std::vector<int> perRow(static_cast<size_t>(c.Height()), 0);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const COLORREF v = c.pixels[static_cast<size_t>(y) * c.Width() + x];
            if (v != kBlue && v != kPurple) continue;
            (v == kBlue ? look.blue : look.purple)++;
            perRow[static_cast<size_t>(y)]++;
            if (x < left) left = x;
            if (x > right) right = x;
        }
    for (int n : perRow)
        if (right > left && n * 10 >= (right - left + 1) * 9) look.underlined = true;
    return look;
}

bool LooksBlue(HWND link) {
    const LinkLook l = Look(link);
    return l.blue > 20 && l.purple == 0 && l.underlined;
}

bool LooksPurple(HWND link) {
    const LinkLook l = Look(link);
    return l.purple > 20 && l.blue == 0 && l.underlined;
}

// The cursor's shape: hotspot and the bits of its mask and colour bitmaps.
struct Shape {
    bool ok = false;
    DWORD hotX = 0, hotY = 0;
    std::vector<BYTE> mask, colour;
};

std::vector<BYTE> Bits(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {};
    std::vector<BYTE> bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
    GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
    return bits;
}

Shape ShapeOf(HCURSOR cursor) {
    Shape s;
    ICONINFO info = {};
    if (!cursor || !GetIconInfo(cursor, &info)) return s;
    s.ok = true;
    s.hotX = info.xHotspot;
    s.hotY = info.yHotspot;
    s.mask = Bits(info.hbmMask);
    s.colour = Bits(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return s;
}

// Cursor 104 as Peerix.exe's own resources hold it, loaded at the system's cursor size as
// LoadCursor does.
Shape HandFromProgram() {
    const std::string exe = ProgramFolder() + "Peerix.exe";
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return {};
    auto hand = static_cast<HCURSOR>(
        LoadImageA(module, MAKEINTRESOURCEA(IDCUR_HAND), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_MONOCHROME));
    Shape s = ShapeOf(hand);
    if (hand) DestroyCursor(hand);
    FreeLibrary(module);
    return s;
}

}  // namespace

TEST_F(AboutDialog, OpensFromTheKeysTheContextMenuAndTheSystemMenuCentredWithTheVersion) {
    ASSERT_TRUE(Start());
    HWND main = peerix.Window();

    // Ctrl+A, closed with Enter (OK).
    HWND about = OpenWithKeys();
    ASSERT_NE(about, nullptr);
    ExpectCentredWithVersion(about);
    input::Press(VK_RETURN);
    ASSERT_TRUE(dialogs::WaitGone(about));

    // The context menu (of the status bar: a right click on the view starts a selection), item
    // "About &Peerix"; closed with Escape.
    ASSERT_NE(chrome.statusBar, nullptr);
    const RECT bar = dialogs::Rect(chrome.statusBar);
    input::RightClick(bar.left + 30, (bar.top + bar.bottom) / 2);
    ASSERT_NE(WaitForMenu(), nullptr);
    input::Press('P');
    about = dialogs::WaitFor(peerix.Pid(), "About");
    ASSERT_NE(about, nullptr);
    ExpectCentredWithVersion(about);
    input::Press(VK_ESCAPE);
    ASSERT_TRUE(dialogs::WaitGone(about));

    // The system menu, opened from the caption's icon, item "&About Peerix" (appended last);
    // closed with the caption's close box.
    const RECT frame = dialogs::Rect(main);
    const int edge = GetSystemMetrics(SM_CXFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
    input::LeftClick(frame.left + edge + caption / 2, frame.top + GetSystemMetrics(SM_CYFRAME) + caption / 2);
    ASSERT_NE(WaitForMenu(), nullptr);
    // Wine adds an "About Wine" item with the same mnemonic, so go to our item, the last one.
    input::Press(VK_UP);
    input::Press(VK_RETURN);
    about = dialogs::WaitFor(peerix.Pid(), "About");
    ASSERT_NE(about, nullptr);
    ExpectCentredWithVersion(about);
    const RECT box = dialogs::Rect(about);
    const int dialogEdge = GetSystemMetrics(SM_CXDLGFRAME);
    input::LeftClick(box.right - dialogEdge - GetSystemMetrics(SM_CXSIZE) / 2,
                     box.top + GetSystemMetrics(SM_CYDLGFRAME) + caption / 2);
    EXPECT_TRUE(dialogs::WaitGone(about)) << "the close box";
    if (IsWindowVisible(about)) input::Press(VK_ESCAPE);
}

TEST_F(AboutDialog, HandCursorOverBothLinksAndOnlyThere) {
    // The hand as Peerix.exe carries it: a 32 x 32 cursor pointing with its tip at (7, 0).
    const Shape hand = HandFromProgram();
    ASSERT_TRUE(hand.ok);
    EXPECT_EQ(hand.hotX, 7u);
    EXPECT_EQ(hand.hotY, 0u);
    EXPECT_EQ(hand.mask.size(), 32u / 8 * 64);  // AND and XOR halves, one bit per pixel
    EXPECT_TRUE(hand.colour.empty());           // monochrome

    // Wine cannot read another process's cursor bits, so here the pointer is told apart by its
    // handle: one cursor over both links, another (the arrow) everywhere else. The component
    // tests compare the link's cursor with resource 104 itself.
    HWND about = StartAndOpen();
    ASSERT_NE(about, nullptr);
    // Under load a move can reach the box late or be overtaken by an older pointer position (see
    // SettleDrag); a hand would move again, so this does, one pixel over and back.
    auto cursorAt = [](POINT p, HCURSOR previous) {
        HCURSOR now = nullptr;
        for (int attempt = 0; attempt < 3 && (!now || now == previous); ++attempt) {
            if (attempt) input::MoveTo(p.x + 1, p.y);
            input::MoveTo(p.x, p.y);
            waiting::WaitFor(
                [&] {
                    CURSORINFO info = {};
                    info.cbSize = sizeof info;
                    GetCursorInfo(&info);
                    now = info.hCursor;
                    return now && now != previous;
                },
                2000);
        }
        return now;
    };
    HWND label = nullptr;
    for (HWND c = GetWindow(about, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (dialogs::Text(c) == "Email:") label = c;
    ASSERT_NE(label, nullptr);
    const RECT box = dialogs::Rect(about);
    const POINT elsewhere[] = {dialogs::Centre(GetDlgItem(about, IDC_VERSION)), dialogs::Centre(label),
                               dialogs::Centre(GetDlgItem(about, IDOK)), POINT{box.right - 20, box.bottom - 12}};
    const HCURSOR arrow = cursorAt(elsewhere[0], nullptr);
    ASSERT_NE(arrow, nullptr);
    const HCURSOR onMail = cursorAt(OnLink(GetDlgItem(about, IDC_EMAIL_LINK)), arrow);
    EXPECT_NE(onMail, arrow);
    EXPECT_EQ(cursorAt(elsewhere[1], onMail), arrow);
    EXPECT_EQ(cursorAt(OnLink(GetDlgItem(about, IDC_WEB_LINK)), arrow), onMail);
    for (const POINT& p : elsewhere) {
        EXPECT_EQ(cursorAt(p, onMail), arrow) << p.x << "," << p.y;
        EXPECT_EQ(cursorAt(OnLink(GetDlgItem(about, IDC_WEB_LINK)), arrow), onMail);
    }
    input::Press(VK_ESCAPE);
    EXPECT_TRUE(dialogs::WaitGone(about));
}

TEST_F(AboutDialog, ALinkThatOpensTurnsPurpleAndStaysSoAndOneThatFailsStaysBlue) {
    {
        // The web link opens, the mail link cannot.
        urls::WebOpensMailFails links;
        ASSERT_TRUE(links.InEffect());
        HWND about = StartAndOpen();
        ASSERT_NE(about, nullptr);
        HWND email = GetDlgItem(about, IDC_EMAIL_LINK), site = GetDlgItem(about, IDC_WEB_LINK);
        EXPECT_TRUE(waiting::WaitFor([&] { return LooksBlue(email) && LooksBlue(site); }));

        ClickLink(site);
        EXPECT_TRUE(waiting::WaitFor([&] { return LooksPurple(site); }));
        ClickLink(email);
        // Input is handled in order: once Enter has closed the box, the click was handled.
        input::Press(VK_RETURN);
        ASSERT_TRUE(dialogs::WaitGone(about));
        about = OpenWithKeys();
        ASSERT_NE(about, nullptr);
        email = GetDlgItem(about, IDC_EMAIL_LINK);
        site = GetDlgItem(about, IDC_WEB_LINK);
        EXPECT_TRUE(waiting::WaitFor([&] { return LooksBlue(email) && LooksPurple(site); }));
        input::Press(VK_ESCAPE);
        ASSERT_TRUE(dialogs::WaitGone(about));
        ASSERT_TRUE(peerix.Close());
        EXPECT_EQ(ReadValue("Visited").AsDword(), 1u);
        EXPECT_EQ(ReadValue("Emailed").AsDword(), 0u);
    }
    {
        // Next run: the web link is still purple; now the mail link opens too.
        urls::Handler mail("mailto", urls::HarmlessCommand());
        HWND about = StartAndOpen();
        ASSERT_NE(about, nullptr);
        HWND email = GetDlgItem(about, IDC_EMAIL_LINK), site = GetDlgItem(about, IDC_WEB_LINK);
        EXPECT_TRUE(waiting::WaitFor([&] { return LooksBlue(email) && LooksPurple(site); }));
        ClickLink(email);
        EXPECT_TRUE(waiting::WaitFor([&] { return LooksPurple(email); }));
        input::Press(VK_ESCAPE);
        ASSERT_TRUE(dialogs::WaitGone(about));
        ASSERT_TRUE(peerix.Close());
        EXPECT_EQ(ReadValue("Emailed").AsDword(), 1u);
        EXPECT_EQ(ReadValue("Visited").AsDword(), 1u);
    }
}

TEST_F(AboutDialog, TabReachesBothLinksShowingTheFocusAndEnterOrSpaceOpensThem) {
    urls::WebOpensMailFails links;
    ASSERT_TRUE(links.InEffect());
    HWND about = StartAndOpen();
    ASSERT_NE(about, nullptr);
    HWND ok = GetDlgItem(about, IDOK), email = GetDlgItem(about, IDC_EMAIL_LINK),
         site = GetDlgItem(about, IDC_WEB_LINK);
    ASSERT_TRUE(waiting::WaitFor([&] { return LooksBlue(email) && LooksBlue(site) && dialogs::Focused(about) == ok; }));
    const pixels::Capture plainMail = pixels::CaptureScreen(dialogs::Rect(email));
    const pixels::Capture plainSite = pixels::CaptureScreen(dialogs::Rect(site));
    const auto shows = [](HWND link, const pixels::Capture& plain) {
        return pixels::CaptureScreen(dialogs::Rect(link)).pixels == plain.pixels;
    };

    // Tab: the focus on the mail link, drawn there (the link's pixels change, its colour stays).
    input::Press(VK_TAB);
    EXPECT_TRUE(waiting::WaitFor([&] { return dialogs::Focused(about) == email; }));
    EXPECT_TRUE(waiting::WaitFor([&] { return !shows(email, plainMail) && LooksBlue(email); }));
    // Enter there: the mail link cannot open, so it stays blue and the box stays open.
    input::Press(VK_RETURN);
    input::Press(VK_TAB);
    EXPECT_TRUE(waiting::WaitFor([&] { return dialogs::Focused(about) == site; }));
    EXPECT_TRUE(IsWindowVisible(about));
    // The focus left the mail link without a trace and shows on the web link.
    EXPECT_TRUE(waiting::WaitFor([&] { return shows(email, plainMail) && !shows(site, plainSite); }));
    EXPECT_TRUE(LooksBlue(email));
    // Space opens the web link: purple, as after a click.
    input::Press(VK_SPACE);
    EXPECT_TRUE(waiting::WaitFor([&] { return LooksPurple(site); }));
    // Tab comes round to OK, and Enter there closes the box.
    input::Press(VK_TAB);
    EXPECT_TRUE(waiting::WaitFor([&] { return dialogs::Focused(about) == ok; }));
    input::Press(VK_RETURN);
    ASSERT_TRUE(dialogs::WaitGone(about));
    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("Visited").AsDword(), 1u);
    EXPECT_EQ(ReadValue("Emailed").AsDword(), 0u);
}
