// The About box run by the program's own code in the test process: the links' font, colours and
// cursor, and what a click on a link does.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "app/globals.h"
#include "app/settings.h"
#include "dialogs/dialogs.h"
#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/support/url_handler.h"
#include "tests/support/wait.h"
#include "tests/win/call_spy.h"
#include "tests/win/modal.h"
#include "tests/win/window_support.h"

namespace {

class AboutBox : public OwnedDialogTest {
protected:
    // Runs the About box on this thread while drive(dialog) acts on it (see modal::Drive).
    bool Drive(const std::function<void(HWND)>& drive) {
        return modal::Drive("About", [&] { RunAboutDialog(owner); }, drive);
    }
};

// What the link tests need: neither link followed yet, the web link opens (harmlessly), the mail
// link cannot, and the beeps are recorded.
struct LinksAndBeeps {
    LinksAndBeeps() {
        settings.Emailed = 0;
        settings.Visited = 0;
    }
    urls::WebOpensMailFails links;
    spy::Beeps beeps;
    bool InEffect() const { return links.InEffect() && beeps.Active(); }
};

LOGFONTA FontOf(HGDIOBJ font) {
    LOGFONTA f = {};
    GetObjectA(font, sizeof f, &f);
    return f;
}

POINT OnLink(HWND dialog, int id) {
    const RECT r = dialogs::Rect(GetDlgItem(dialog, id));
    return POINT{r.left + 6, (r.top + r.bottom) / 2};
}

HCURSOR CursorNow() {
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return info.hCursor;
}

}  // namespace

TEST_F(AboutBox, LinksGetAnUnderlinedCopyOfTheDialogFontInBlueOrPurpleAndItIsDeletedAfter) {
    settings.Emailed = 0;
    settings.Visited = 1;
    HGDIOBJ fonts[2] = {};
    for (HGDIOBJ& linkFont : fonts) {
        ASSERT_TRUE(Drive(
            [&](HWND dialog) {
                const LOGFONTA dialogFont = FontOf(reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
                EXPECT_FALSE(dialogFont.lfUnderline);
                HDC dc = CreateCompatibleDC(nullptr);
                HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
                const struct {
                    int id;
                    COLORREF colour;
                } links[] = {{IDC_EMAIL_LINK, RGB(0, 0, 255)}, {IDC_WEB_LINK, RGB(128, 0, 128)}};
                for (const auto& l : links) {
                    SetTextColor(dc, RGB(1, 2, 3));
                    SetBkMode(dc, OPAQUE);
                    const LRESULT brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, l.id)));
                    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), GetStockObject(NULL_BRUSH)) << l.id;
                    EXPECT_EQ(GetTextColor(dc), l.colour) << l.id;
                    EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << l.id;
                    linkFont = GetCurrentObject(dc, OBJ_FONT);
                    const LOGFONTA f = FontOf(linkFont);
                    EXPECT_TRUE(f.lfUnderline) << l.id;
                    EXPECT_EQ(f.lfHeight, dialogFont.lfHeight);
                    EXPECT_EQ(f.lfWeight, dialogFont.lfWeight);
                    EXPECT_STREQ(f.lfFaceName, dialogFont.lfFaceName);
                    // The link draws with it even where a static selects its own font.
                    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(dialog, l.id, WM_GETFONT, 0, 0)), linkFont);
                }
                // Any other static gets the system's default: no link font, no link colour.
                SelectObject(dc, original);
                SetTextColor(dc, RGB(1, 2, 3));
                const LRESULT other = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_VERSION)));
                EXPECT_NE(reinterpret_cast<HGDIOBJ>(other), GetStockObject(NULL_BRUSH));
                EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));
                EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
                SelectObject(dc, original);  // a font still selected somewhere cannot be deleted
                DeleteDC(dc);
                EXPECT_NE(GetObjectType(linkFont), 0u);
            }));
        EXPECT_EQ(GetObjectType(linkFont), 0u) << "the link font outlives its dialog";
    }
    EXPECT_NE(fonts[0], nullptr);
    EXPECT_NE(fonts[1], nullptr);
}

TEST_F(AboutBox, PointerOverEitherLinkIsTheProgramsHandCursor) {
    const HCURSOR hand = LoadCursorA(programInstance, MAKEINTRESOURCEA(IDCUR_HAND));
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(hand, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_EQ(info.xHotspot, 7u);
    EXPECT_EQ(info.yHotspot, 0u);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    ASSERT_TRUE(Drive(
        [&](HWND dialog) {
            ASSERT_TRUE(input::Focus(dialog));
            for (int id : {IDC_EMAIL_LINK, IDC_WEB_LINK, IDC_VERSION, IDOK}) {
                const POINT p = OnLink(dialog, id);
                input::MoveTo(p.x, p.y);
                const HCURSOR want = id == IDC_EMAIL_LINK || id == IDC_WEB_LINK ? hand : arrow;
                EXPECT_TRUE(waiting::WaitFor([&] { return CursorNow() == want; }, 3000)) << id;
            }
        }));
}

TEST_F(AboutBox, ALinkThatCannotOpenBeepsAndKeepsItsFlag) {
    LinksAndBeeps world;
    ASSERT_TRUE(world.InEffect());
    const spy::Beeps& beeps = world.beeps;
    ASSERT_TRUE(Drive(
        [&](HWND dialog) {
            ASSERT_TRUE(input::Focus(dialog));
            POINT p = OnLink(dialog, IDC_EMAIL_LINK);
            input::LeftClick(p.x, p.y);
            EXPECT_TRUE(waiting::WaitFor([&] { return !beeps.Calls().empty(); }, 5000));
            ASSERT_EQ(beeps.Calls().size(), 1u);
            EXPECT_EQ(beeps.Calls()[0], 0u);
            EXPECT_EQ(settings.Emailed, 0);

            p = OnLink(dialog, IDC_WEB_LINK);
            input::LeftClick(p.x, p.y);
            EXPECT_TRUE(waiting::WaitFor([&] { return settings.Visited == 1; }, 5000));
            EXPECT_EQ(beeps.Calls().size(), 1u);
            EXPECT_EQ(settings.Emailed, 0);
        }));
}

TEST_F(AboutBox, TabReachesBothLinksAndEnterOrSpaceOpensThemAsAClickDoes) {
    LinksAndBeeps world;
    ASSERT_TRUE(world.InEffect());
    const spy::Beeps& beeps = world.beeps;
    ASSERT_TRUE(Drive(
        [&](HWND dialog) {
            ASSERT_TRUE(input::Focus(dialog));
            HWND email = GetDlgItem(dialog, IDC_EMAIL_LINK), site = GetDlgItem(dialog, IDC_WEB_LINK);
            // The dialog's thread is not this one: ask it where its focus is.
            const auto focusIs = [&](HWND w) {
                return waiting::WaitFor([&] { return dialogs::Focused(dialog) == w; }, 3000);
            };
            ASSERT_TRUE(focusIs(GetDlgItem(dialog, IDOK)));
            // OK, the mail link, the web link and round again; Shift+Tab goes back.
            input::Press(VK_TAB);
            ASSERT_TRUE(focusIs(email));
            input::Press(VK_TAB);
            ASSERT_TRUE(focusIs(site));
            input::Press(VK_TAB, {VK_SHIFT});
            ASSERT_TRUE(focusIs(email));

            // Enter on the mail link that cannot open: the beep, no flag, and the box stays open
            // (Enter did not reach OK).
            input::Press(VK_RETURN);
            EXPECT_TRUE(waiting::WaitFor([&] { return !beeps.Calls().empty(); }, 5000));
            EXPECT_EQ(beeps.Calls().size(), 1u);
            EXPECT_EQ(settings.Emailed, 0);
            EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog));

            // Space on the web link opens it.
            input::Press(VK_TAB);
            ASSERT_TRUE(focusIs(site));
            input::Press(VK_SPACE);
            EXPECT_TRUE(waiting::WaitFor([&] { return settings.Visited == 1; }, 5000));
            EXPECT_EQ(beeps.Calls().size(), 1u);
            input::Press(VK_TAB);
            EXPECT_TRUE(focusIs(GetDlgItem(dialog, IDOK)));
        }));
}
