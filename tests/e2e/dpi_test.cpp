// Peerix started at 144 and 192 DPI (Wine reads the DPI when a process starts): the chrome grows,
// the toolbar's images are whole-factor enlargements, and the view still shows one screen pixel
// per zoom x zoom block.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/view.h"
#include "tests/e2e/support/view_check.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";

// Sets the DPI that processes started from now on read, and puts the old setting back.
class LogPixels {
public:
    LogPixels() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
        DWORD size = sizeof old;
        had =
            RegQueryValueExA(key, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old), &size) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ~LogPixels() {
        if (had) {
            Set(old);
            return;
        }
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, "LogPixels");
        RegCloseKey(key);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;
    static void Set(DWORD dpi) {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        RegCloseKey(key);
    }

private:
    DWORD old = 96;
    bool had = false;
};

// The Follow Mouse image (image 5 of bitmap 135) as the program's file holds it, 16 x 15.
pixels::Capture FollowMouseImage() {
    pixels::Capture c;
    HMODULE exe = LoadLibraryExA((ProgramFolder() + "Peerix.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HBITMAP strip = static_cast<HBITMAP>(LoadImageA(exe, MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0, 0));
    if (strip) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, strip);
        c.area = RECT{0, 0, 16, 15};
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x) c.pixels.push_back(GetPixel(dc, 80 + x, y));
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(strip);
    }
    if (exe) FreeLibrary(exe);
    return c;
}

// Whether the button shows the image enlarged factor times, each image pixel a sharp
// factor x factor square somewhere in it; the light grey background is the button's own.
bool ShowsEnlarged(const pixels::Capture& button, const pixels::Capture& image, int factor) {
    const int w = 16 * factor, h = 15 * factor;
    for (int oy = 0; oy + h <= button.Height(); ++oy)
        for (int ox = 0; ox + w <= button.Width(); ++ox) {
            bool all = true;
            for (int y = 0; y < h && all; ++y)
                for (int x = 0; x < w && all; ++x) {
                    const COLORREF want = image.At(x / factor, y / factor);
                    if (want == RGB(192, 192, 192)) continue;
                    all = button.At(button.area.left + ox + x, button.area.top + oy + y) == want;
                }
            if (all) return true;
        }
    return false;
}

int TextWidthAt(int dpi, const char* text) {
    LOGFONTA font;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = MulDiv(font.lfHeight, dpi, GetDeviceCaps(GetDC(nullptr), LOGPIXELSY));
    HFONT f = CreateFontIndirectA(&font);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f);
    SIZE s = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &s);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(f);
    return s.cx;
}

struct Measured {
    RECT button;
    int bandHeight, statusHeight;
};

class HighDpi : public PeerixTest {};

}  // namespace

TEST_F(HighDpi, At144And192TheChromeGrowsTheImagesStayCrispAndTheViewExact) {
    LogPixels restore;
    pixels::PatternWindow pattern(RECT{0, 0, 420, 420});
    ASSERT_TRUE(pattern.WaitUntilShown());
    const pixels::Capture image = FollowMouseImage();
    ASSERT_EQ(image.pixels.size(), 16u * 15u);
    Measured at96 = {};
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI");
        LogPixels::Set(static_cast<DWORD>(dpi));
        WriteStartSettings(true, true, 3, POINT{210, 210}, RECT{440, 40, 440 + 560, 40 + 460});
        ASSERT_TRUE(peerix.Start());
        HWND w = peerix.Window();
        const Chrome c = FindChrome(w);
        ASSERT_NE(c.toolbar, nullptr);
        ASSERT_NE(c.statusBar, nullptr);
        EXPECT_EQ(WaitForView(w, 3, POINT{210, 210}), "");

        Measured m = {};
        m.button = remote::ButtonRect(c.toolbar, ID_FOLLOW_MOUSE);
        m.bandHeight = dialogs::Rect(c.band).bottom - dialogs::Rect(c.band).top;
        m.statusHeight = dialogs::Rect(c.statusBar).bottom - dialogs::Rect(c.statusBar).top;
        const int factor = dpi / 96;  // 1, 1.5 rounded to 2, 2
        const int wholeFactor = dpi == 144 ? 2 : factor;
        if (dpi == 96) {
            at96 = m;
        } else {
            EXPECT_EQ(m.button.right - m.button.left, at96.button.right - at96.button.left + 16 * (wholeFactor - 1));
            EXPECT_EQ(m.button.bottom - m.button.top, at96.button.bottom - at96.button.top + 15 * (wholeFactor - 1));
            EXPECT_GT(m.bandHeight, at96.bandHeight);
            EXPECT_GT(m.statusHeight, at96.statusHeight);
        }
        // The image, sharp, in the button as the screen shows it.
        const RECT button = remote::ButtonOnScreen(c.toolbar, ID_FOLLOW_MOUSE);
        EXPECT_TRUE(
            waiting::WaitFor([&] { return ShowsEnlarged(pixels::CaptureScreen(button), image, wholeFactor); }, 3000));
        // Every status part holds its widest text in the font at this DPI, with the padding.
        const char* widest[] = {"Press F1 for help", " RGB:000,000,000 ", nullptr, " 99999,99999 "};
        for (int part : {0, 1, 3}) {
            const RECT p = remote::StatusPartRect(c.statusBar, part);
            EXPECT_GE(p.right - p.left, TextWidthAt(dpi, widest[part])) << "part " << part;
        }
        SaveShot(("dpi-" + std::to_string(dpi)).c_str(), dialogs::Rect(w));
        ASSERT_TRUE(peerix.Close());
    }
}

TEST_F(HighDpi, AFirstStartAt144ShowsTheWholeBandAndEveryStatusPart) {
    LogPixels restore;  // no stored rectangle
    LogPixels::Set(144);
    ASSERT_TRUE(peerix.Start());
    HWND w = peerix.Window();
    const Chrome c = FindChrome(w);
    RECT window, client;
    GetWindowRect(w, &window);
    GetClientRect(w, &client);
    // 320 x 200 at 96 DPI, scaled, or the smallest window, where the band and the parts need more.
    const SIZE least = SmallestWindow(w);
    EXPECT_EQ(window.right - window.left, least.cx > 480 ? least.cx : 480);
    EXPECT_EQ(window.bottom - window.top, 300);
    // The whole band: the rate trackbar ends inside the client area.
    RECT rate = dialogs::Rect(c.rateTrack);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&rate), 2);
    EXPECT_LE(rate.right, client.right);
    for (int part = 0; part < 4; ++part) {
        RECT p = remote::StatusPartRect(c.statusBar, part);
        MapWindowPoints(c.statusBar, w, reinterpret_cast<POINT*>(&p), 2);
        EXPECT_TRUE(p.left >= 0 && p.left < p.right && p.right <= client.right) << "part " << part;
    }
    SaveShot("dpi-144-first-start", window);
}
