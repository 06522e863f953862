// The pixel inspector as a user meets it: the status bar over the view, a colour copied as text,
// the pixel grid, and PNG on disk and on the clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/saved_images.h"
#include "tests/e2e/support/view.h"
#include "tests/support/images.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;

namespace {

const RECT kPatternArea = {0, 0, 470, 420};
const POINT kPoint = {230, 200};

// The clipboard's bytes in a format; empty when absent.
std::vector<BYTE> ClipboardBytes(UINT format) {
    std::vector<BYTE> bytes;
    if (!OpenClipboard(nullptr)) return bytes;
    if (HGLOBAL h = GetClipboardData(format)) {
        if (const auto* p = static_cast<const BYTE*>(GlobalLock(h))) bytes.assign(p, p + GlobalSize(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return bytes;
}

// The clipboard's Unicode text, which for a colour is ASCII: every other byte up to the first 0.
std::string ClipboardText() {
    std::string text;
    const std::vector<BYTE> b = ClipboardBytes(CF_UNICODETEXT);
    for (size_t i = 0; i + 1 < b.size() && (b[i] || b[i + 1]); i += 2) text += static_cast<char>(b[i]);
    return text;
}

// A PNG's signature and its header's size, big-endian as the format stores it.
bool IsPngOfSize(const std::vector<BYTE>& b, int width, int height) {
    static const BYTE kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto at = [&](size_t i) { return (b[i] << 24) | (b[i + 1] << 16) | (b[i + 2] << 8) | b[i + 3]; };
    return b.size() > 24 && std::equal(kSignature, kSignature + 8, b.begin()) && at(16) == width && at(20) == height;
}

// With PEERIX_IMAGE_CHECK_DIR set (the test script sets it), leaves the image there with the
// pattern's pixels it must hold, for ImageMagick to read back after the run: pixel (x, y) shows
// source pixel (left + mapX[x], top + mapY[y]).
void LeaveForImageMagick(const std::vector<BYTE>& png, const char* name, int left, int top,
                         const std::vector<int>& mapX, const std::vector<int>& mapY) {
    const char* folder = std::getenv("PEERIX_IMAGE_CHECK_DIR");
    if (!folder || !*folder) return;
    const std::string base = std::string(folder) + "\\" + name;
    std::vector<BYTE> rgb;
    for (int y : mapY)
        for (int x : mapX) {
            const COLORREF c = pixels::PatternColour(left + x, top + y);
            rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
        }
    EXPECT_TRUE(images::WriteFileBytes((base + ".png").c_str(), png)) << base;
    EXPECT_TRUE(images::WriteFileBytes((base + ".rgb").c_str(), rgb)) << base;
}

class Inspector : public ClipboardTest {
protected:
    // Peerix right of the pattern, showing it around kPoint, with the status bar and no toolbar;
    // without the grid, once the view shows the pattern.
    bool StartAt(int zoom, bool grid = false, int copyFormat = 0) {
        WriteStartSettings(false, true, zoom, kPoint, RECT{540, 120, 540 + 440, 120 + 380});
        WriteDword("DisplayPixelGrid", grid ? 1 : 0);
        WriteDword("ColourCopyFormat", static_cast<DWORD>(copyFormat));
        if (!pattern.WaitUntilShown() || !Start()) return false;
        status = chrome.statusBar;
        view = ViewOnScreen(window);
        origin = SourceOrigin(view, zoom, kPoint);
        return grid || WaitForView(window, zoom, kPoint).empty();
    }

    // Presses a chord until the clipboard shows what it should (a chord sent just after the
    // window came to the front may lose its modifier under Wine; a user presses again).
    bool CopyByKey(WORD key, const std::function<bool()>& copied) {
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!input::FocusForKeys(window)) return false;
            input::Press(key, {VK_CONTROL});
            if (waiting::WaitFor(copied, 2000)) return true;
        }
        return false;
    }

    pixels::PatternWindow pattern{kPatternArea};
    HWND status = nullptr;
    RECT view = {};
    POINT origin = {};  // the screen pixel at the view's top-left corner
};

}  // namespace

TEST_F(Inspector, StatusBarReadsTheMagnifiedPixelUnderThePointerAndElsewhereThePointersOwn) {
    ASSERT_TRUE(StartAt(3));
    // Pointer positions in the view and the magnified pixels they lie on: the last screen pixel of
    // one square, and the view's last, partly shown one.
    const struct {
        int x, y;  // in the view
    } spots[] = {{3 * 10 + 2, 3 * 7}, {view.right - view.left - 1, view.bottom - view.top - 1}};
    for (const auto& s : spots) {
        const int sx = origin.x + s.x / 3, sy = origin.y + s.y / 3;
        char want[32];
        std::snprintf(want, sizeof want, u8" \u00BB %d, %d ", sx, sy);
        input::MoveTo(view.left + s.x, view.top + s.y);
        EXPECT_TRUE(waiting::WaitFor([&] { return remote::StatusText(status, 3) == want; }, 3000))
            << remote::StatusText(status, 3) << " instead of " << want;
        // The colour of that screen pixel, not of the view (the cursor marker, a grid line).
        EXPECT_TRUE(
            waiting::WaitFor([&] { return remote::StatusText(status, 1) == RgbText(pixels::PatternColour(sx, sy)); }, 3000))
            << remote::StatusText(status, 1);
    }
    // Off the view, on the pattern itself: the pointer's own coordinates and colour, unmarked.
    input::MoveTo(100, 50);
    EXPECT_TRUE(waiting::WaitFor([&] { return remote::StatusText(status, 3) == " 100, 50 "; }, 3000))
        << remote::StatusText(status, 3);
    EXPECT_TRUE(
        waiting::WaitFor([&] { return remote::StatusText(status, 1) == RgbText(pixels::PatternColour(100, 50)); }, 3000));
}

TEST_F(Inspector, ColourCopiesAsTextByKeyAndFromTheMenuInTheChosenFormat) {
    ASSERT_TRUE(StartAt(4));
    // Ctrl+K: the colour the status bar shows, of the magnified pixel under the pointer.
    const COLORREF under = pixels::PatternColour(origin.x + 20, origin.y + 9);
    input::MoveTo(view.left + 4 * 20 + 1, view.top + 4 * 9 + 3);
    ASSERT_TRUE(waiting::WaitFor([&] { return remote::StatusText(status, 1) == RgbText(under); }, 3000));
    ASSERT_TRUE(CopyByKey('K', [&] { return ClipboardText() == HashText(under); })) << ClipboardText();
    EXPECT_EQ(remote::StatusText(status, 0), "Copied " + HashText(under));
    ASSERT_TRUE(peerix.Close());

    // The menu's first item, in the rgb() format: the pixel under the right click.
    images::EmptyTheClipboard();
    ASSERT_TRUE(StartAt(4, false, 1));
    const COLORREF clicked = pixels::PatternColour(origin.x + 31, origin.y + 17);
    char want[48];
    std::snprintf(want, sizeof want, "rgb(%d, %d, %d)", GetRValue(clicked), GetGValue(clicked), GetBValue(clicked));
    ASSERT_TRUE(input::FocusForKeys(window));
    // The status bar first shows that pixel under the pointer: the view is where it should be.
    char place[32];
    std::snprintf(place, sizeof place, u8" \u00BB %ld, %ld ", origin.x + 31, origin.y + 17);
    input::MoveTo(view.left + 4 * 31 + 3, view.top + 4 * 17);
    ASSERT_TRUE(waiting::WaitFor([&] { return remote::StatusText(status, 3) == place; }, 3000))
        << remote::StatusText(status, 3) << " instead of " << place;
    input::RightClick(view.left + 4 * 31 + 3, view.top + 4 * 17);
    ASSERT_TRUE(waiting::WaitFor([&] { return ShownPopupMenu(peerix.Pid()) != nullptr; }, 3000));
    input::Press('C');
    EXPECT_TRUE(waiting::WaitFor([&] { return ClipboardText() == want; }, 3000)) << ClipboardText();
    EXPECT_EQ(remote::StatusText(status, 0), std::string("Copied ") + want);
}

TEST_F(Inspector, GridLiesOnThePixelEdgesAtZoomEightAndNeverInACopy) {
    ASSERT_TRUE(StartAt(8, true));
    // Every view pixel: on a grid line (every eighth column and row from the view's edge, not on
    // the edge itself) black or white by the parity of its place in the client area (the view
    // starts at the client's corner here), so dotted; off them the pattern's colour.
    std::string diff;
    ASSERT_TRUE(waiting::WaitFor(
        [&] {
            const pixels::Capture c = pixels::CaptureScreen(view);
            diff.clear();
            for (int y = view.top; y < view.bottom && diff.empty(); ++y)
                for (int x = view.left; x < view.right && diff.empty(); ++x) {
                    const int i = (x - view.left) / 8, j = (y - view.top) / 8;
                    const bool line = ((x - view.left) % 8 == 0 && i > 0) || ((y - view.top) % 8 == 0 && j > 0);
                    const COLORREF want = !line ? pixels::PatternColour(origin.x + i, origin.y + j)
                                          : (x - view.left + y - view.top) % 2 ? RGB(255, 255, 255)
                                                                               : RGB(0, 0, 0);
                    if (c.At(x, y) != want) {
                        char text[96];
                        std::snprintf(text, sizeof text, "view (%ld,%ld): %06lx, not %06lx", x - view.left,
                                      y - view.top, c.At(x, y), want);
                        diff = text;
                    }
                }
            return diff.empty();
        },
        5000, 50))
        << diff;

    ASSERT_TRUE(CopyByKey('C', [&] { return IsClipboardFormatAvailable(CF_BITMAP) != FALSE; }));
    const images::Image copy = images::ClipboardBitmap();
    const int width = view.right - view.left, height = view.bottom - view.top;
    EXPECT_EQ(CompareWithPattern(copy, origin.x, origin.y, Blocks(width, 8), Blocks(height, 8)), "");
}

TEST_F(Inspector, SaveProposesANameAndWritesPngAndCopiesPutPngOnTheClipboard) {
    images::TempFolder folder("peerix-e2e-png");
    WriteText("InitialDirectory", folder.Path());
    ASSERT_TRUE(StartAt(2));
    const int width = view.right - view.left, height = view.bottom - view.top;
    const int shownW = (width + 1) / 2, shownH = (height + 1) / 2;

    HWND dialog = dialogs::PressForDialog(peerix.Pid(), "Save As", 'S', {VK_CONTROL});
    ASSERT_NE(dialog, nullptr);
    // "Peerix 2026-12-07 22.15.03.png": today's date, a time, the type's extension.
    SYSTEMTIME now;
    GetLocalTime(&now);
    char today[32];
    std::snprintf(today, sizeof today, "Peerix %04d-%02d-%02d ", now.wYear, now.wMonth, now.wDay);
    const std::string proposed = dialogs::Text(FileNameBox(dialog));
    EXPECT_EQ(proposed.substr(0, 18), today);
    EXPECT_EQ(proposed.size(), 30u) << proposed;
    EXPECT_EQ(proposed.substr(20, 1) + proposed.substr(23, 1) + proposed.substr(26), "...png") << proposed;
    dialogs::TypeInto(FileNameBox(dialog), "shot");
    input::Press(VK_RETURN);
    std::vector<BYTE> saved;
    ASSERT_TRUE(waiting::WaitFor(
        [&] { return IsPngOfSize(saved = images::ReadFileBytes(folder.File("shot.png").c_str()), shownW, shownH); },
        5000));
    EXPECT_TRUE(waiting::WaitFor([&] { return remote::StatusText(status, 0) == "Saved shot.png"; }, 3000))
        << remote::StatusText(status, 0);
    EXPECT_EQ(images::FilesIn(folder.Path()), std::vector<std::string>{"shot.png"});
    LeaveForImageMagick(saved, "e2e-saved", origin.x, origin.y, OneToOne(shownW), OneToOne(shownH));

    // Ctrl+C: the bitmap and the same pixels as PNG.
    std::vector<BYTE> copied;
    ASSERT_TRUE(CopyByKey(
        'C', [&] { return IsPngOfSize(copied = ClipboardBytes(RegisterClipboardFormatA("PNG")), width, height); }));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    char note[64];
    std::snprintf(note, sizeof note, u8"Copied %d \u00D7 %d pixels", width, height);
    EXPECT_EQ(remote::StatusText(status, 0), note);
    LeaveForImageMagick(copied, "e2e-copied", origin.x, origin.y, Blocks(width, 2), Blocks(height, 2));

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(ReadValue("SaveImageType").AsDword(), 0u);
}
