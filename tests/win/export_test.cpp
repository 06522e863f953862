// Captures, DIBs and .bmp files at the screen's own depth, the write's failure paths, the
// clipboard hand-over, and the Save As route, all on the real Win32 API.
//
// The BmpExportDepth suite is also run by scripts/export_depths.sh at screen depths 8, 16 and
// 32; when PEERIX_EXPORT_CHECK_DIR names a folder, each written file (.bmp and .png) is left there
// with the pixels it must hold (raw RGB, top row first), so that ImageMagick can read it back too.
#include <gtest/gtest.h>
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "output/bmpfile.h"
#include "output/capture.h"
#include "output/pngfile.h"
#include "output/rules.h"
#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/saved_images.h"
#include "tests/support/handle_meter.h"
#include "tests/support/images.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"
#include "tests/win/modal.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

using images::Image;

namespace {

int ScreenDepth() {
    HDC screen = GetDC(nullptr);
    const int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return depth;
}

// Neighbouring pixels get very different colours, so a pixel read from the wrong place shows.
COLORREF Scrambled(int x, int y) {
    unsigned v = static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u * 2246822519u;
    v ^= v >> 13;
    v *= 3266489917u;
    v ^= v >> 16;
    return v & 0xFFFFFF;
}

// A screen-compatible bitmap painted with the scrambled colours (which the screen's depth may
// round to what it can show).
HBITMAP ScrambledScreenBitmap(int width, int height) {
    std::vector<DWORD> bits(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bits[static_cast<size_t>(y) * width + x] = pixels::DibPixel(Scrambled(x, y));
        }
    const BITMAPINFO info = pixels::TopDown32(width, height);
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    SetDIBits(screen, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// The screen's pixels copied into a screen-compatible bitmap (what a capture starts from), as
// GDI reads that bitmap back.
Image ScreenAsBitmap(const RECT& r) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Image image = images::FromBitmap(bitmap);
    DeleteObject(bitmap);
    return image;
}

// A 16-bit DIB holds five bits per channel; deeper ones hold the colour exactly.
COLORREF AsStored(COLORREF c, int depth) {
    if (depth != 16) return c;
    auto five = [](int v) { return ((v >> 3) << 3) | (v >> 5); };
    return RGB(five(GetRValue(c)), five(GetGValue(c)), five(GetBValue(c)));
}

std::string CompareImages(const Image& got, const Image& want, int depth) {
    if (got.width != want.width || got.height != want.height)
        return "size " + std::to_string(got.width) + "x" + std::to_string(got.height) + ", want " +
               std::to_string(want.width) + "x" + std::to_string(want.height);
    std::string report;
    int bad = 0;
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x) {
            if (AsStored(got.At(x, y), depth) == AsStored(want.At(x, y), depth)) continue;
            if (++bad <= 4) {
                char line[96];
                std::snprintf(line, sizeof line, "(%d,%d): %06lx, want %06lx\n", x, y,
                              static_cast<unsigned long>(got.At(x, y)), static_cast<unsigned long>(want.At(x, y)));
                report += line;
            }
        }
    if (bad > 4) report += std::to_string(bad) + " pixels differ\n";
    return report;
}

uint32_t U32(const std::vector<BYTE>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<BYTE>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// Our own reading of a .bmp written at the given depth: every header field, then the rows.
Image DecodeAndCheckFile(const std::vector<BYTE>& file, int width, int height, int depth) {
    const rules::BmpLayout layout = rules::LayoutBmp(depth, width, height, 0);
    EXPECT_EQ(file.size(), layout.fileSize);
    if (file.size() != layout.fileSize) return Image();
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), layout.fileSize);
    EXPECT_EQ(U16(file, 6), 0);
    EXPECT_EQ(U16(file, 8), 0);
    EXPECT_EQ(U32(file, 10), layout.pixelOffset);
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(static_cast<int32_t>(U32(file, 18)), width);
    EXPECT_EQ(static_cast<int32_t>(U32(file, 22)), height);  // positive: rows bottom-up
    EXPECT_EQ(U16(file, 26), 1);
    EXPECT_EQ(U16(file, 28), depth);
    EXPECT_EQ(U32(file, 30), static_cast<uint32_t>(BI_RGB));
    EXPECT_EQ(U32(file, 34), layout.imageBytes);
    // A colour count there would move the rows; the system leaves these fields at 0.
    EXPECT_EQ(U32(file, 46), 0u);
    EXPECT_EQ(U32(file, 50), 0u);

    Image image;
    image.width = width;
    image.height = height;
    const uint32_t row = rules::DibRowBytes(depth, width);
    for (int y = 0; y < height; ++y) {
        const size_t start = layout.pixelOffset + static_cast<size_t>(height - 1 - y) * row;
        for (int x = 0; x < width; ++x) {
            COLORREF c = 0;
            switch (depth) {
            case 8: {
                const size_t entry = 54 + 4u * file[start + x];  // RGBQUAD: blue, green, red, 0
                c = RGB(file[entry + 2], file[entry + 1], file[entry]);
                break;
            }
            case 16: {
                const unsigned v = U16(file, start + 2 * x);  // 5-5-5, blue in the low bits
                auto eight = [](unsigned five) { return static_cast<int>((five << 3) | (five >> 2)); };
                c = RGB(eight((v >> 10) & 31), eight((v >> 5) & 31), eight(v & 31));
                break;
            }
            case 24:
            case 32: {
                const size_t p = start + static_cast<size_t>(x) * (depth / 8);
                c = RGB(file[p + 2], file[p + 1], file[p]);
                break;
            }
            default:
                ADD_FAILURE() << "unexpected depth " << depth;
                return Image();
            }
            image.pixels.push_back(c);
        }
    }
    return image;
}

// Leaves the file and the pixels it must show for the ImageMagick step of the depth script.
// Leaves the file (and the .png of the same DIB beside it) with the pixels both must hold.
void LeaveForImageMagick(const std::string& file, const char* name, const Image& want, int depth) {
    const char* folder = std::getenv("PEERIX_EXPORT_CHECK_DIR");
    if (!folder || !*folder) return;
    const std::string base = std::string(folder) + "\\" + name;
    ASSERT_TRUE(CopyFileA(file.c_str(), (base + ".bmp").c_str(), FALSE)) << base;
    const std::string png = file.substr(0, file.size() - 3) + "png";
    ASSERT_TRUE(CopyFileA(png.c_str(), (base + ".png").c_str(), FALSE)) << base;
    std::vector<BYTE> rgb;
    for (COLORREF c : want.pixels) {
        const COLORREF s = AsStored(c, depth);
        rgb.push_back(GetRValue(s));
        rgb.push_back(GetGValue(s));
        rgb.push_back(GetBValue(s));
    }
    ASSERT_TRUE(images::WriteFileBytes((base + ".rgb").c_str(), rgb)) << base;
}

// Converts and writes a bitmap and checks the file against the bitmap three ways: our reading
// of the bytes, the system's loader, and (in the depth script) ImageMagick.
void RoundTrip(HBITMAP bitmap, HPALETTE palette, const images::TempFolder& folder, const char* name) {
    const int depth = ScreenDepth();
    const Image source = images::FromBitmap(bitmap);
    ASSERT_FALSE(source.Empty());
    HGLOBAL dib = BitmapToDib(bitmap, BI_RGB, palette);
    ASSERT_NE(dib, nullptr);
    {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
        EXPECT_EQ(header->biSize, 40u);
        EXPECT_EQ(header->biWidth, source.width);
        EXPECT_EQ(header->biHeight, source.height);
        EXPECT_EQ(header->biBitCount, depth);
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(DibColourCount(header), depth == 8 ? 256 : 0);
        EXPECT_EQ(DibColourTableSize(header), depth == 8 ? 1024 : 0);
        GlobalUnlock(dib);
    }
    const std::string path = folder.File((std::string(name) + ".bmp").c_str());
    const bool written = WriteBmpFile(path.c_str(), dib);
    // The PNG of the same DIB: ImageMagick must read the same pixels from it (in the depth script).
    const bool png = WritePngFile(folder.File((std::string(name) + ".png").c_str()).c_str(), dib);
    GlobalFree(dib);
    ASSERT_TRUE(written);
    ASSERT_TRUE(png);
    EXPECT_TRUE(images::FilesIn(folder.Path(), "*.tmp").empty());

    const Image ours = DecodeAndCheckFile(images::ReadFileBytes(path.c_str()), source.width, source.height, depth);
    EXPECT_EQ(CompareImages(ours, source, depth), "") << name << " read by us";
    const Image system = images::LoadBmpFile(path.c_str());
    EXPECT_EQ(CompareImages(system, source, depth), "") << name << " read by LoadImage";
    LeaveForImageMagick(path, name, source, depth);
}

}  // namespace

class BmpExportDepth : public GlobalStateTest {};
class BmpExport : public GlobalStateTest {};
class BmpExportLimit : public GlobalStateTest {};
class ExportLeaks : public GlobalStateTest {};

TEST_F(BmpExportDepth, ScreenBitmapsRoundTripThroughTheFile) {
    const int depth = ScreenDepth();
    ASSERT_TRUE(depth == 8 || depth == 16 || depth == 24 || depth == 32) << depth;
    images::TempFolder folder("peerix-depth");
    HPALETTE identity = CreateIdentityPalette();
    const struct {
        int width, height;
        const char* name;
    } sizes[] = {{10, 6, "ten-by-six"}, {37, 11, "odd-width"}, {1, 1, "one-pixel"}, {64, 3, "word-rows"}};
    for (const auto& s : sizes) {
        HBITMAP bitmap = ScrambledScreenBitmap(s.width, s.height);
        ASSERT_NE(bitmap, nullptr);
        {
            SCOPED_TRACE(std::string(s.name) + " at " + std::to_string(depth) + " bits, default palette");
            RoundTrip(bitmap, nullptr, folder, s.name);
        }
        {
            SCOPED_TRACE(std::string(s.name) + ", the program's identity palette");
            RoundTrip(bitmap, identity, folder, (std::string(s.name) + "-identity").c_str());
        }
        DeleteObject(bitmap);
    }
    if (identity) DeleteObject(identity);

    // The ten-by-six examples: 246 bytes at 24 bits, 294 at 32, 174 at 16 and 1150 at 8.
    const auto size = images::ReadFileBytes(folder.File("ten-by-six.bmp").c_str()).size();
    const size_t expected = depth == 8 ? 1150 : depth == 16 ? 174 : depth == 24 ? 246 : 294;
    EXPECT_EQ(size, expected);
}

TEST_F(BmpExportDepth, CaptureOfTheMagnifiedAreaRoundTrips) {
    // A window showing a screen-compatible bitmap of scrambled colours, so that neighbours differ.
    // At 16 and 32 bits the screen then holds the bitmap's colours exactly; at 8 bits Wine maps
    // them through its own colour map, so there the screen is taken as it settles.
    const int depth = ScreenDepth();
    const RECT area = {0, 0, 300, 300};
    const Image before = ScreenAsBitmap(area);
    HBITMAP scene = ScrambledScreenBitmap(area.right, area.bottom);
    const Image want = images::FromBitmap(scene);
    HWND shown =
        CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP | SS_BITMAP, 0, 0,
                        area.right, area.bottom, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(shown, nullptr);
    SendMessageA(shown, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scene));
    ShowWindow(shown, SW_SHOWNOACTIVATE);
    std::string diff;
    Image last;
    ASSERT_TRUE(waiting::WaitFor(
        [&] {
            const Image now = ScreenAsBitmap(area);
            if (depth > 8) return (diff = CompareImages(now, want, depth)).empty();
            const bool settled = now.pixels != before.pixels && now.pixels == last.pixels;
            last = now;
            return settled;
        },
        5000, 50))
        << diff;
    if (depth == 32) {
        EXPECT_EQ(want.At(17, 5), Scrambled(17, 5));
    }

    RealMainWindow w(RECT{420, 60, 420 + 260, 60 + 200});
    mainWindow.point = POINT{150, 140};
    settings.ZoomFactor = 3;
    mainWindow.Layout();
    const POINT c = mainWindow.ClampPoint();
    const int left = c.x - mainWindow.source.halfWidth, top = c.y - mainWindow.source.halfHeight;
    images::TempFolder folder("peerix-capture");

    // At source size the capture is the screen's pixels one for one: those the view shows.
    const Image source =
        ScreenAsBitmap(RECT{left, top, left + mainWindow.source.visibleWidth, top + mainWindow.source.visibleHeight});
    if (depth > 8) {
        Image cut;
        cut.width = source.width;
        cut.height = source.height;
        for (int y = 0; y < source.height; ++y)
            for (int x = 0; x < source.width; ++x) cut.pixels.push_back(want.At(left + x, top + y));
        EXPECT_EQ(CompareImages(source, cut, depth), "");
    }
    HBITMAP original = mainWindow.CaptureImage(false, false);
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(CompareImages(images::FromBitmap(original), source, 32), "");
    RoundTrip(original, mainWindow.palette, folder, "capture-source");
    DeleteObject(original);

    // Zoomed, the same pixels become whole 3 x 3 blocks, cut at the view's size.
    RECT view;
    mainWindow.GetViewRect(&view);
    HBITMAP zoomed = mainWindow.CaptureImage(true, false);
    ASSERT_NE(zoomed, nullptr);
    Image stretched;
    stretched.width = view.right - view.left;
    stretched.height = view.bottom - view.top;
    for (int y = 0; y < stretched.height; ++y)
        for (int x = 0; x < stretched.width; ++x) stretched.pixels.push_back(source.At(x / 3, y / 3));
    EXPECT_EQ(CompareImages(images::FromBitmap(zoomed), stretched, 32), "");
    RoundTrip(zoomed, mainWindow.palette, folder, "capture-zoomed");
    DeleteObject(zoomed);
    DestroyWindow(shown);
    DeleteObject(scene);
}

TEST_F(BmpExport, ConversionRefusesBitfieldsAndBadBitmaps) {
    HBITMAP bitmap = ScrambledScreenBitmap(4, 4);
    EXPECT_EQ(BitmapToDib(bitmap, BI_BITFIELDS, nullptr), nullptr);
    DeleteObject(bitmap);
    EXPECT_EQ(BitmapToDib(bitmap, BI_RGB, nullptr), nullptr);  // deleted: cannot be queried
    EXPECT_EQ(BitmapToDib(nullptr, BI_RGB, nullptr), nullptr);

    // The colour table's size is a 16-bit count of 4-byte entries.
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biBitCount = 8;
    header.biClrUsed = 0x10010;
    EXPECT_EQ(DibColourCount(&header), 16);
    EXPECT_EQ(DibColourTableSize(&header), 64);
    header.biClrUsed = 0;
    header.biBitCount = 4;
    EXPECT_EQ(DibColourTableSize(&header), 64);
    header.biBitCount = 1;
    EXPECT_EQ(DibColourTableSize(&header), 8);
}

namespace {

// A DIB of the given size at 32 bits per pixel, in the block layout BitmapToDib makes.
HGLOBAL PlainDib(int width, int height, DWORD headerSize = sizeof(BITMAPINFOHEADER)) {
    const DWORD image = rules::DibRowBytes(32, width) * static_cast<DWORD>(height);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 124 + image);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    header->biSize = headerSize;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    auto* bits = reinterpret_cast<BYTE*>(header) + headerSize;
    for (DWORD i = 0; i < image; ++i) bits[i] = static_cast<BYTE>(i * 7);
    GlobalUnlock(block);
    return block;
}

const std::vector<BYTE> kOldBytes = {'o', 'l', 'd', ' ', 'i', 'm', 'a', 'g', 'e', '\n'};

}  // namespace

TEST_F(BmpExport, AFolderOfTheLongestPathASaveCanNameTakesTheFileAndNothingElse) {
    images::TempFolder folder("peerix-long");
    // 250 characters: a file name of five still fits MAX_PATH, a temporary name beside it made
    // by the system's old call (MAX_PATH - 14 for the folder) would not.
    const std::string deep = folder.Path() + "\\" + std::string(249 - folder.Path().size(), 'd');
    ASSERT_EQ(deep.size(), 250u);
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + std::wstring(deep.begin(), deep.end())).c_str(), nullptr));
    HGLOBAL dib = PlainDib(9, 5);
    EXPECT_TRUE(WriteBmpFile((deep + "\\a.bmp").c_str(), dib));
    EXPECT_TRUE(WritePngFile((deep + "\\b.png").c_str(), dib));
    GlobalFree(dib);
    std::vector<std::string> files = images::FilesIn(deep);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"a.bmp", "b.png"}));
}

TEST_F(BmpExport, FailedWritesLeaveNoFileAndKeepTheOldOne) {
    images::TempFolder folder("peerix-write");
    HGLOBAL dib = PlainDib(9, 5);

    // Nothing to write: no file is touched.
    const std::string none = folder.File("none.bmp");
    EXPECT_FALSE(WriteBmpFile(none.c_str(), nullptr));
    EXPECT_EQ(GetFileAttributesA(none.c_str()), INVALID_FILE_ATTRIBUTES);

    // A folder that does not exist is not made.
    const std::string missing = folder.File("missing");
    EXPECT_FALSE(WriteBmpFile((missing + "\\shot.bmp").c_str(), dib));
    EXPECT_EQ(GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);

    // A folder nobody can create files in: /proc, through Wine's drive for the Unix root.
    if (GetFileAttributesA("Z:\\proc") != INVALID_FILE_ATTRIBUTES) {
        EXPECT_FALSE(WriteBmpFile("Z:\\proc\\peerix-shot.bmp", dib));
        EXPECT_TRUE(images::FilesIn("Z:\\proc", "pxb*").empty());
        EXPECT_TRUE(images::FilesIn("Z:\\proc", "peerix-shot*").empty());
    }

    // A read-only file keeps its bytes and its attribute.
    const std::string locked = folder.File("locked.bmp");
    ASSERT_TRUE(images::WriteFileBytes(locked.c_str(), kOldBytes));
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteBmpFile(locked.c_str(), dib));
    EXPECT_EQ(images::ReadFileBytes(locked.c_str()), kOldBytes);
    EXPECT_TRUE(GetFileAttributesA(locked.c_str()) & FILE_ATTRIBUTE_READONLY);

    // Only 40-byte headers are written: neither a new file nor a changed old one.
    HGLOBAL v4 = PlainDib(9, 5, sizeof(BITMAPV4HEADER));
    const std::string fresh = folder.File("fresh.bmp");
    EXPECT_FALSE(WriteBmpFile(fresh.c_str(), v4));
    EXPECT_EQ(GetFileAttributesA(fresh.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string kept = folder.File("kept.bmp");
    ASSERT_TRUE(images::WriteFileBytes(kept.c_str(), kOldBytes));
    EXPECT_FALSE(WriteBmpFile(kept.c_str(), v4));
    EXPECT_EQ(images::ReadFileBytes(kept.c_str()), kOldBytes);
    GlobalFree(v4);

    // No failure leaves a temporary file behind.
    EXPECT_TRUE(images::FilesIn(folder.Path(), "*.tmp").empty());

    // A writable old file is replaced as a whole.
    EXPECT_TRUE(WriteBmpFile(kept.c_str(), dib));
    const std::vector<BYTE> now = images::ReadFileBytes(kept.c_str());
    ASSERT_EQ(now.size(), rules::LayoutBmp(32, 9, 5, 0).fileSize);
    EXPECT_EQ(now[0], 'B');
    const Image loaded = images::LoadBmpFile(kept.c_str());
    EXPECT_EQ(loaded.width, 9);
    EXPECT_EQ(loaded.height, 5);
    EXPECT_TRUE(images::FilesIn(folder.Path(), "*.tmp").empty());
    GlobalFree(dib);
}

// Needs a file size limit for this process (scripts/export_depths.sh sets one and names it in
// PEERIX_FILE_SIZE_LIMIT): the system then writes only part of a larger file and says so.
TEST_F(BmpExportLimit, ShortWriteIsAFailure) {
    const char* limitText = std::getenv("PEERIX_FILE_SIZE_LIMIT");
    if (!limitText || !*limitText) GTEST_SKIP() << "runs under the file size limit of scripts/export_depths.sh";
    const long limit = std::atol(limitText);
    images::TempFolder folder("peerix-limit");
    const std::string target = folder.File("shot.bmp");
    ASSERT_TRUE(images::WriteFileBytes(target.c_str(), kOldBytes));
    // Rows of 4 * 300 bytes: the file is far larger than the limit.
    const int height = static_cast<int>(limit / 1200) * 2 + 10;
    HGLOBAL dib = PlainDib(300, height);
    EXPECT_FALSE(WriteBmpFile(target.c_str(), dib));
    EXPECT_EQ(images::ReadFileBytes(target.c_str()), kOldBytes);
    EXPECT_EQ(images::FilesIn(folder.Path()), std::vector<std::string>{"shot.bmp"});
    // Below the limit the same code writes the file.
    HGLOBAL small = PlainDib(10, 6);
    EXPECT_TRUE(WriteBmpFile(target.c_str(), small));
    EXPECT_EQ(images::ReadFileBytes(target.c_str()).size(), 294u);
    GlobalFree(small);
    GlobalFree(dib);
}

namespace {

struct SaveRun {
    std::string folderShown;
    int checkShown = -1;
    std::vector<std::string> boxes;  // "caption: text [stop sign]" of every message box, in order
};

// Runs SaveImageAs on the test's main window; the Save As dialog gets the name typed in its file
// name box, the check box clicked when toggle is set, and Save; message boxes are answered with
// their default button.
SaveRun SaveThroughTheDialog(const char* name, bool toggle) {
    SaveRun run;
    modal::Answerer answerer(GetCurrentThreadId(), [&](HWND w) {
        if (HWND check = e2e::FindChild(w, nullptr, IDC_SAVE_ZOOMED)) {
            char folder[MAX_PATH] = {};
            SendMessageA(w, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
            run.folderShown = folder;
            run.checkShown = static_cast<int>(SendMessageA(check, BM_GETCHECK, 0, 0));
            if (toggle) PostMessageA(check, BM_CLICK, 0, 0);
            HWND nameBox = e2e::FileNameBox(w);
            SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
            PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return;
        }
        HWND text = GetDlgItem(w, 0xFFFF);  // a message box's text
        std::string seen = dialogs::Text(w) + ": " + (text ? dialogs::Text(text) : std::string());
        // MB_ICONERROR shows the system's stop sign in the box's icon control.
        HWND icon = e2e::FindChild(w, nullptr, 0x440);
        if (!icon) icon = e2e::FindChild(w, nullptr, 20);
        if (icon && reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)) == LoadIconA(nullptr, IDI_HAND))
            seen += " [stop sign]";
        run.boxes.push_back(seen);
        PostMessageA(w, WM_KEYDOWN, VK_RETURN, 0);
    });
    mainWindow.SaveImageAs(false);
    return run;
}

}  // namespace

TEST_F(BmpExport, SaveAsReportsAFailedWriteAndKeepsTheOldFile) {
    pixels::PatternWindow pattern(RECT{0, 0, 300, 300});
    RealMainWindow w(RECT{420, 60, 420 + 260, 60 + 200});
    images::TempFolder folder("peerix-saveas");
    const std::string locked = folder.File("locked.bmp");
    ASSERT_TRUE(images::WriteFileBytes(locked.c_str(), kOldBytes));
    ASSERT_TRUE(SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    lstrcpyA(settings.InitialDirectory, folder.Path().c_str());
    settings.SaveZoomedImage = 0;

    const SaveRun run = SaveThroughTheDialog("locked.bmp", true);
    EXPECT_EQ(run.checkShown, BST_UNCHECKED);
    EXPECT_EQ(lstrcmpiA(run.folderShown.c_str(), folder.Path().c_str()), 0) << run.folderShown;
    ASSERT_FALSE(run.boxes.empty());
    // The message's own line, then the file and the system's reason.
    EXPECT_EQ(run.boxes.back(), "Peerix: Failed to write the image to the file specified.\n\n" + locked + "\n" +
                                    dialogs::SystemText(ERROR_ACCESS_DENIED) + " [stop sign]");
    EXPECT_EQ(images::ReadFileBytes(locked.c_str()), kOldBytes);
    EXPECT_EQ(images::FilesIn(folder.Path()), std::vector<std::string>{"locked.bmp"});
    // The choice is remembered although the write failed.
    EXPECT_EQ(settings.SaveZoomedImage, 1);
    EXPECT_STREQ(settings.InitialDirectory, folder.Path().c_str());
}

TEST(ClipboardCopy, HeldOpenElsewhereFailsAndFreesTheBitmap) {
    RealMainWindow w(RECT{420, 60, 420 + 200, 60 + 150});
    // Known content first, so that it can be seen to survive.
    ASSERT_TRUE(OpenClipboard(w.Handle()));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(text), "keep!", 6);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();

    // Another thread's window holds the clipboard open until told to let go.
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND own = CreateWindowExA(0, "STATIC", "holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        const bool open = OpenClipboard(own) != FALSE;
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (open) CloseClipboard();
        DestroyWindow(own);
    });
    WaitForSingleObject(opened, 5000);

    const int freeBefore = meter::FreeGdiObjects();
    HBITMAP bitmap = mainWindow.CaptureImage(true, false);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(CopyBitmapToClipboard(w.Handle(), bitmap), ClipboardResult::Busy);
    EXPECT_EQ(GetObjectType(bitmap), 0u);  // deleted, not left to anybody
    EXPECT_EQ(CopyBitmapToClipboard(w.Handle(), nullptr), ClipboardResult::Busy);
    EXPECT_EQ(meter::FreeGdiObjects(), freeBefore);

    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
}

TEST(ClipboardCopy, SuccessHandsTheBitmapToTheClipboard) {
    RealMainWindow w(RECT{420, 60, 420 + 200, 60 + 150});
    HBITMAP bitmap = mainWindow.CaptureImage(false, false);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(CopyBitmapToClipboard(w.Handle(), bitmap), ClipboardResult::Copied);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(GetClipboardData(CF_BITMAP), bitmap);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));  // emptied first
    EXPECT_EQ(GetClipboardOwner(), w.Handle());
    // Emptying the clipboard frees what it owns.
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(GetObjectType(bitmap), 0u);

    // A failed capture (no bitmap) still empties the clipboard but puts nothing there.
    HBITMAP other = mainWindow.CaptureImage(true, false);
    ASSERT_EQ(CopyBitmapToClipboard(w.Handle(), other), ClipboardResult::Copied);
    EXPECT_EQ(CopyBitmapToClipboard(w.Handle(), nullptr), ClipboardResult::Failed);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(GetObjectType(other), 0u);
}

TEST_F(ExportLeaks, ThousandCapturesCopiesAndConversionsLeaveNothingBehind) {
    RealMainWindow w(RECT{420, 60, 420 + 180, 60 + 140});
    settings.ZoomFactor = 4;
    mainWindow.Layout();
    RECT view;
    mainWindow.GetViewRect(&view);
    mainWindow.selAnchor = POINT{view.left + 8, view.top + 4};
    mainWindow.selCurrent = POINT{view.left + 48, view.top + 40};
    // Warm up once: the first calls load what stays loaded for the process's life.
    HBITMAP first = mainWindow.CaptureImage(true, false);
    CopyBitmapToClipboard(w.Handle(), first);
    HGLOBAL firstDib = BitmapToDib(mainWindow.CaptureImage(false, false), BI_RGB, mainWindow.palette);
    GlobalFree(firstDib);
    const int freeBefore = meter::FreeGdiObjects();
    int copied = 0, converted = 0;
    for (int i = 0; i < 1000; ++i) {
        const bool zoomed = (i & 1) != 0, selection = (i & 2) != 0;
        if (CopyBitmapToClipboard(w.Handle(), mainWindow.CaptureImage(zoomed, selection)) == ClipboardResult::Copied)
            ++copied;
        HBITMAP bitmap = mainWindow.CaptureImage(!zoomed, selection);
        HGLOBAL dib = BitmapToDib(bitmap, BI_RGB, mainWindow.palette);
        if (dib) ++converted;
        GlobalFree(dib);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(copied, 1000);
    EXPECT_EQ(converted, 1000);
    // The last copy still belongs to the clipboard, as the first one did before the count.
    EXPECT_EQ(meter::FreeGdiObjects(), freeBefore);
    if (OpenClipboard(w.Handle())) {
        EmptyClipboard();
        CloseClipboard();
    }
    EXPECT_EQ(meter::FreeGdiObjects(), freeBefore + 1);
}

// Run by scripts/export_depths.sh under a file size limit, like BmpExportLimit.ShortWriteIsAFailure:
// the user's save stops short, is reported, and the file that was there stays.
TEST_F(BmpExportLimit, SaveAsReportsAShortWrite) {
    const char* limitText = std::getenv("PEERIX_FILE_SIZE_LIMIT");
    if (!limitText || !*limitText) GTEST_SKIP() << "runs under the file size limit of scripts/export_depths.sh";
    RealMainWindow w(RECT{420, 60, 420 + 300, 60 + 260});
    RECT view;
    mainWindow.GetViewRect(&view);
    ASSERT_GT(static_cast<long>((view.right - view.left) * (view.bottom - view.top)) * 3, std::atol(limitText));
    images::TempFolder folder("peerix-saveas-limit");
    const std::string target = folder.File("shot.bmp");
    ASSERT_TRUE(images::WriteFileBytes(target.c_str(), kOldBytes));
    lstrcpyA(settings.InitialDirectory, folder.Path().c_str());
    settings.SaveZoomedImage = 1;
    settings.SaveImageType = rules::kImageBmp;

    const SaveRun run = SaveThroughTheDialog("shot", false);
    EXPECT_EQ(run.checkShown, BST_CHECKED);
    ASSERT_EQ(run.boxes.size(), 2u);  // the overwrite question, answered Yes, then the failure
    // The reason is whatever the system makes of the limit, but there is one after the path.
    const std::string first = "Peerix: Failed to write the image to the file specified.\n\n" + target + "\n";
    EXPECT_EQ(run.boxes.back().substr(0, first.size()), first);
    EXPECT_GT(run.boxes.back().size(), first.size() + std::string(" [stop sign]").size());
    EXPECT_EQ(images::ReadFileBytes(target.c_str()), kOldBytes);
    EXPECT_EQ(images::FilesIn(folder.Path()), std::vector<std::string>{"shot.bmp"});
}
