// Copying and saving what Peerix shows, as a user does it: keys, toolbar clicks, the selection
// menu and the Save As dialog, with the clipboard read while Peerix runs and the saved files read
// back from disk.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/peerix_test.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/e2e/support/registry.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/saved_images.h"
#include "tests/support/images.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

using namespace e2e;
using images::Image;

namespace {

// The pattern lies left of Peerix, which works at the right where its dialogs open too, so
// nothing of Peerix's ever covers the pixels it captures.
const RECT kPatternArea = {0, 0, 470, 420};
constexpr LONG kPointX = 230, kPointY = 200;

// A message box of the process (a dialog with a Yes or OK button and no file list).
HWND MessageBoxOf(DWORD pid) {
    for (HWND w : VisibleWindowsOfClass("#32770", pid))
        if (!FindChild(w, nullptr, IDC_SAVE_ZOOMED) && (GetDlgItem(w, IDYES) || GetDlgItem(w, IDOK))) return w;
    return nullptr;
}

std::string FolderShown(HWND dialog) {
    remote::Buffer b(dialog, MAX_PATH);
    const LRESULT n = SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, b.Address());
    char path[MAX_PATH] = {};
    b.Read(path, sizeof path);
    path[MAX_PATH - 1] = '\0';
    return n > 0 ? path : "";
}

// The rows of Peerix's client area that show the magnified picture, found on the screen: the view
// is the band at the bottom whose pixels are the magnification of the pattern around the point.
// Returns the view's top in client coordinates, or -1.
int FindViewTop(HWND window, int zoom) {
    const RECT client = pixels::ClientOnScreen(window);
    const int w = client.right - client.left, h = client.bottom - client.top;
    for (int top = 0; top < 120 && top < h; ++top) {
        const int viewH = h - top;
        const int srcW = w / zoom + 1, srcH = viewH / zoom + 1;
        const int sx = kPointX - srcW / 2, sy = kPointY - srcH / 2;
        const pixels::Capture c =
            pixels::CaptureScreen(RECT{client.left, client.top + top, client.right, client.bottom});
        if (pixels::CompareMagnified(c, POINT{client.left, client.top + top}, SIZE{w, viewH}, sx, sy, zoom).empty())
            return top;
    }
    return -1;
}

// The view's top once two looks in a row agree (a repaint may be under way), or -1.
int SettledViewTop(HWND window, int zoom) {
    int last = -2, top = -1;
    waiting::WaitFor(
        [&] {
            top = FindViewTop(window, zoom);
            const bool same = top >= 0 && top == last;
            last = top;
            return same;
        },
        5000, 50);
    return top == last ? top : -1;
}

// Resizes Peerix's window (as a user drags its frame) until its view is width x height.
bool SizeViewTo(HWND window, int zoom, int width, int height) {
    for (int round = 0; round < 4; ++round) {
        const int top = SettledViewTop(window, zoom);
        if (top < 0) return false;
        RECT frame, client;
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        const int dw = width - client.right, dh = height - (client.bottom - top);
        if (dw == 0 && dh == 0) return true;
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + dw, frame.bottom - frame.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER);
        waiting::WaitFor(
            [&] {
                GetClientRect(window, &client);
                return client.right == width && client.bottom == top + height;
            },
            3000);
    }
    return false;
}

// Presses a key with modifiers until what it should bring about has happened (at most three
// times). Shortly after a window is activated Wine may re-read the keyboard from the X server and
// forget a modifier that SendInput holds down; a user then presses the chord again.
bool PressUntil(WORD key, std::initializer_list<WORD> modifiers, const std::function<bool()>& happened) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        for (WORD m : modifiers) {
            input::KeyDown(m);
            waiting::WaitFor([&] { return GetAsyncKeyState(m) < 0; }, 500);
        }
        input::KeyDown(key);
        input::KeyUp(key);
        for (auto it = modifiers.end(); it != modifiers.begin();) input::KeyUp(*--it);
        if (waiting::WaitFor(happened, 1500)) return true;
    }
    return false;
}

// The screen pixels a view of this size shows around the test's point (which is far from the
// screen's edges): from half of one more than fits left of it, view / zoom rounded up.
struct ShownArea {
    int left, top, width, height;
};
ShownArea ShownAround(int zoom, int width, int height) {
    return ShownArea{kPointX - (width / zoom + 1) / 2, kPointY - (height / zoom + 1) / 2, (width + zoom - 1) / zoom,
                     (height + zoom - 1) / zoom};
}

bool PeerixCopied(HWND peerix) {
    return IsClipboardFormatAvailable(CF_BITMAP) && GetClipboardOwner() == peerix;
}

// Waits for Peerix to put a bitmap on the clipboard and reads it while Peerix still runs.
Image WaitForClipboardBitmap(HWND peerix) {
    Image image;
    waiting::WaitFor(
        [&] {
            if (!PeerixCopied(peerix)) return false;
            image = images::ClipboardBitmap();
            return !image.Empty();
        },
        5000, 20);
    return image;
}

class Export : public ClipboardTest {
protected:
    // Starts Peerix at the right of the screen showing the pattern around the point.
    HWND StartPeerix(int zoom, bool toolbar) {
        WriteStartSettings(toolbar, false, zoom, POINT{kPointX, kPointY}, RECT{540, 120, 540 + 440, 120 + 380});
        WriteDword("SaveImageType", 1);  // these saves are .bmp files; PNG has its own tests
        return peerix.Start() ? peerix.Window() : nullptr;
    }

    // Ctrl+S with the keyboard focus on Peerix; its Save As dialog, or null.
    HWND OpenSaveDialog() {
        HWND dialog = nullptr;
        if (!input::FocusForKeys(peerix.Window())) return nullptr;
        PressUntil('S', {VK_CONTROL}, [&] { return (dialog = SaveDialogOf(peerix.Pid())) != nullptr; });
        return dialog;
    }
    bool SaveDialogGone() {
        return waiting::WaitFor([&] { return SaveDialogOf(peerix.Pid()) == nullptr; }, 3000);
    }

    pixels::PatternWindow pattern{kPatternArea};
};

}  // namespace

TEST_F(Export, CopyKeysGiveTheViewAtZoomedAndSourceSize) {
    ASSERT_TRUE(pattern.WaitUntilShown());
    // Views that are and are not whole multiples of the zoom: the zoomed copy is the view as
    // shown, whole blocks cut where the view cuts them; the source-size copy every pixel shown
    // at least partly.
    const struct { int zoom, width, height; } views[] = {{1, 400, 300}, {4, 392, 226}, {4, 392, 224}, {3, 311, 200}};
    for (const auto& v : views) {
        SCOPED_TRACE(testing::Message() << v.width << " x " << v.height << " at zoom " << v.zoom);
        HWND w = StartPeerix(v.zoom, false);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(SizeViewTo(w, v.zoom, v.width, v.height));
        ASSERT_TRUE(input::FocusForKeys(w));
        const ShownArea shown = ShownAround(v.zoom, v.width, v.height);

        images::EmptyTheClipboard();
        ASSERT_TRUE(PressUntil('C', {VK_CONTROL}, [&] { return PeerixCopied(w); }));
        const Image zoomed = images::ClipboardBitmap();
        EXPECT_EQ(CompareWithPattern(zoomed, shown.left, shown.top, Blocks(v.width, v.zoom), Blocks(v.height, v.zoom)),
                  "");

        images::EmptyTheClipboard();
        ASSERT_TRUE(PressUntil('C', {VK_CONTROL, VK_SHIFT}, [&] { return PeerixCopied(w); }));
        const Image source = images::ClipboardBitmap();
        EXPECT_EQ(CompareWithPattern(source, shown.left, shown.top, OneToOne(shown.width), OneToOne(shown.height)), "");
        ASSERT_TRUE(peerix.Close());
    }
}

TEST_F(Export, ToolbarCopyButtonsGiveTheSameImages) {
    ASSERT_TRUE(pattern.WaitUntilShown());
    HWND w = StartPeerix(1, true);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(SizeViewTo(w, 1, 400, 300));
    HWND toolbar = FindChild(w, TOOLBARCLASSNAMEA);
    ASSERT_NE(toolbar, nullptr);
    const ShownArea shown = ShownAround(1, 400, 300);
    const struct { int command; } buttons[] = {{ID_COPY_ZOOMED}, {ID_COPY_SCREEN}};
    for (const auto& b : buttons) {
        images::EmptyTheClipboard();
        const RECT r = remote::ButtonOnScreen(toolbar, b.command);
        ASSERT_GT(r.right, r.left) << b.command;
        input::LeftClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        const Image image = WaitForClipboardBitmap(w);
        // At zoom 1 both are the 400 x 300 screen pixels shown, one for one.
        EXPECT_EQ(CompareWithPattern(image, shown.left, shown.top, OneToOne(400), OneToOne(300)), "") << b.command;
    }
}

TEST_F(Export, SelectionMenuCopiesAtSourceAndZoomedSize) {
    ASSERT_TRUE(pattern.WaitUntilShown());
    HWND w = StartPeerix(4, false);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(SizeViewTo(w, 4, 400, 300));
    // Zoom 4 and a 400 x 300 view magnify 101 x 76 screen pixels.
    const int sx = kPointX - 50, sy = kPointY - 38;
    const RECT view = pixels::ClientOnScreen(w);
    // A 40 x 24 selection 8 and 12 pixels into the view is 10 x 6 screen pixels at (sx + 2, sy + 3),
    // whichever corner the drag starts from. (The second drag starts elsewhere than the first:
    // two presses at one place in quick succession are a double click, which selects nothing.)
    const struct {
        POINT from, to;
        char key;  // the item's mnemonic in the selection menu
        int width, height;
        std::vector<int> mapX, mapY;
    } items[] = {
        {{8, 12}, {49, 37}, 'O', 10, 6, OneToOne(10), OneToOne(6)},
        {{50, 39}, {9, 13}, 'Z', 40, 24, Blocks(40, 4), Blocks(24, 4)},
    };
    for (const auto& item : items) {
        images::EmptyTheClipboard();
        ASSERT_TRUE(input::FocusForKeys(w));
        input::RightDrag(POINT{view.left + item.from.x, view.top + item.from.y},
                         POINT{view.left + item.to.x, view.top + item.to.y});
        ASSERT_NE(WaitForMenu(3000), nullptr) << "no selection menu";
        input::Press(static_cast<WORD>(item.key));
        const Image image = WaitForClipboardBitmap(w);
        EXPECT_EQ(image.width, item.width) << item.key;
        EXPECT_EQ(image.height, item.height) << item.key;
        EXPECT_EQ(CompareWithPattern(image, sx + 2, sy + 3, item.mapX, item.mapY), "") << item.key;
    }
}

TEST_F(Export, SaveAsWritesTheBoxesChoiceAndRemembersIt) {
    ASSERT_TRUE(pattern.WaitUntilShown());
    images::TempFolder folder("peerix-e2e-save");
    const std::string sub = folder.File("sub");
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    WriteText("InitialDirectory", folder.Path());
    WriteDword("SaveZoomedImage", 0);
    HWND w = StartPeerix(2, false);
    ASSERT_NE(w, nullptr);
    // Zoom 2 and a 401 x 301 view show 201 x 151 screen pixels, the last column and row in part.
    ASSERT_TRUE(SizeViewTo(w, 2, 401, 301));
    const ShownArea odd = ShownAround(2, 401, 301);
    ASSERT_EQ(odd.width, 201);

    // First save: the dialog opens in the stored folder with the box clear; a name without an
    // extension gets ".bmp"; the file holds the source-size image.
    HWND dialog = OpenSaveDialog();
    ASSERT_NE(dialog, nullptr);
    HWND box = FindChild(dialog, nullptr, IDC_SAVE_ZOOMED);
    EXPECT_EQ(lstrcmpiA(FolderShown(dialog).c_str(), folder.Path().c_str()), 0) << FolderShown(dialog);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(dialogs::Text(box), "Save Zoomed Image");
    input::Type("shot");
    input::Press(VK_RETURN);
    const SavedImage first = WaitForSavedImage(folder.File("shot.bmp"));
    EXPECT_EQ(CompareWithPattern(first.image, odd.left, odd.top, OneToOne(201), OneToOne(151)), "");
    ASSERT_GE(first.bytes.size(), 54u);
    EXPECT_EQ(first.bytes.size(), 54u + 201 * 4 * 151);  // 32 bits per pixel, no table
    ASSERT_TRUE(SaveDialogGone());

    // Second save, from a 400 x 300 view (200 x 150 whole blocks): the box clicked on, a folder
    // opened by typing its name: the zoomed image goes there.
    ASSERT_TRUE(SizeViewTo(w, 2, 400, 300));
    const ShownArea even = ShownAround(2, 400, 300);
    ASSERT_NE(dialog = OpenSaveDialog(), nullptr);
    box = FindChild(dialog, nullptr, IDC_SAVE_ZOOMED);
    dialogs::ClickCentre(box);
    ASSERT_TRUE(waiting::WaitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    HWND nameBox = FileNameBox(dialog);
    ASSERT_NE(nameBox, nullptr);
    dialogs::TypeInto(nameBox, "sub");
    input::Press(VK_RETURN);
    ASSERT_TRUE(waiting::WaitFor([&] { return lstrcmpiA(FolderShown(dialog).c_str(), sub.c_str()) == 0; }, 3000))
        << FolderShown(dialog);
    input::Type("zoomed");
    input::Press(VK_RETURN);
    const SavedImage second = WaitForSavedImage(sub + "\\zoomed.bmp");
    EXPECT_EQ(CompareWithPattern(second.image, even.left, even.top, Blocks(400, 2), Blocks(300, 2)), "");
    ASSERT_TRUE(SaveDialogGone());
    EXPECT_EQ(images::FilesIn(folder.Path()), (std::vector<std::string>{"shot.bmp", "sub"}));

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(lstrcmpiA(ReadText("InitialDirectory").c_str(), sub.c_str()), 0) << ReadText("InitialDirectory");
    EXPECT_EQ(ReadValue("SaveZoomedImage").AsDword(), 1u);
}

TEST_F(Export, AFailedSaveNamesTheFileAndTheSystemsReasonAndLeavesNoFile) {
    ASSERT_TRUE(pattern.WaitUntilShown());
    images::TempFolder folder("peerix-e2e-fail");
    WriteText("InitialDirectory", folder.Path());
    HWND w = StartPeerix(2, false);
    ASSERT_NE(w, nullptr);
    struct Case {
        std::string typed, path, listed;  // what the user types, the file, the folder to look in
        DWORD error;
    };
    std::vector<Case> cases = {
        {"missing\\shot", folder.File("missing") + "\\shot.bmp", folder.Path(), ERROR_PATH_NOT_FOUND},
    };
    // A drive too small for the picture: the test script mounts one where it may (as root).
    const char* small = std::getenv("PEERIX_SMALL_DRIVE");
    if (small && *small) {
        ASSERT_NE(GetFileAttributesA((std::string(small) + "\\").c_str()), INVALID_FILE_ATTRIBUTES);
        cases.push_back({std::string(small) + "\\shot", std::string(small) + "\\shot.bmp", small, ERROR_DISK_FULL});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_NE(OpenSaveDialog(), nullptr);
        input::Type(c.typed.c_str());
        input::Press(VK_RETURN);
        HWND box = nullptr;
        ASSERT_TRUE(waiting::WaitFor([&] { return (box = MessageBoxOf(peerix.Pid())) != nullptr; }, 5000));
        // The message's own first line, then the file (as the dialog spelt it: the drive letter's
        // case may differ) and the system's reason below it.
        const std::string text = dialogs::MessageBoxText(box);
        const std::string head = "Failed to write the image to the file specified.\n\n";
        const std::string tail = "\n" + dialogs::SystemText(c.error);
        ASSERT_GT(text.size(), head.size() + tail.size()) << text;
        EXPECT_EQ(text.substr(0, head.size()), head);
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
        EXPECT_EQ(lstrcmpiA(text.substr(head.size(), text.size() - head.size() - tail.size()).c_str(), c.path.c_str()),
                  0)
            << text;
        EXPECT_EQ(dialogs::Text(box), "Peerix");
        dialogs::ClickCentre(GetDlgItem(box, IDOK));
        ASSERT_TRUE(waiting::WaitFor([&] { return MessageBoxOf(peerix.Pid()) == nullptr; }, 3000));
        EXPECT_EQ(GetFileAttributesA(c.path.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(images::FilesIn(c.listed), std::vector<std::string>{}) << "no file, not even a temporary one";
    }
    if (!small || !*small) GTEST_SKIP() << "no small drive (PEERIX_SMALL_DRIVE): the full-disk case did not run";
}

TEST_F(Export, CancelAndDecliningTheOverwriteChangeNothing) {
    ASSERT_TRUE(pattern.WaitUntilShown());
    images::TempFolder folder("peerix-e2e-cancel");
    const std::string existing = folder.File("shot.bmp");
    const std::vector<BYTE> old = {'o', 'l', 'd'};
    ASSERT_TRUE(images::WriteFileBytes(existing.c_str(), old));
    WriteText("InitialDirectory", folder.Path());
    WriteDword("SaveZoomedImage", 0);
    HWND w = StartPeerix(2, false);
    ASSERT_NE(w, nullptr);

    // Cancel after ticking the box: no file, no change to either setting.
    HWND dialog = OpenSaveDialog();
    ASSERT_NE(dialog, nullptr);
    HWND box = FindChild(dialog, nullptr, IDC_SAVE_ZOOMED);
    dialogs::ClickCentre(box);
    ASSERT_TRUE(waiting::WaitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000));
    input::Press(VK_ESCAPE);
    ASSERT_TRUE(SaveDialogGone());

    // An existing name brings the overwrite question; No keeps the file and the dialog.
    ASSERT_NE(dialog = OpenSaveDialog(), nullptr);
    EXPECT_EQ(SendMessageA(FindChild(dialog, nullptr, IDC_SAVE_ZOOMED), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    input::Type("shot");
    input::Press(VK_RETURN);
    HWND question = nullptr;
    ASSERT_TRUE(waiting::WaitFor([&] { return (question = MessageBoxOf(peerix.Pid())) != nullptr; }, 3000));
    ASSERT_NE(GetDlgItem(question, IDNO), nullptr);
    dialogs::ClickCentre(GetDlgItem(question, IDNO));
    ASSERT_TRUE(waiting::WaitFor([&] { return MessageBoxOf(peerix.Pid()) == nullptr; }, 3000));
    EXPECT_NE(SaveDialogOf(peerix.Pid()), nullptr);
    input::Press(VK_ESCAPE);
    ASSERT_TRUE(SaveDialogGone());
    EXPECT_EQ(images::ReadFileBytes(existing.c_str()), old);

    // Yes replaces it with the image.
    ASSERT_NE(OpenSaveDialog(), nullptr);
    input::Type("shot");
    input::Press(VK_RETURN);
    ASSERT_TRUE(waiting::WaitFor([&] { return (question = MessageBoxOf(peerix.Pid())) != nullptr; }, 3000));
    dialogs::ClickCentre(GetDlgItem(question, IDYES));
    const SavedImage replaced = WaitForSavedImage(existing);
    EXPECT_FALSE(replaced.image.Empty());
    EXPECT_EQ(images::FilesIn(folder.Path()), std::vector<std::string>{"shot.bmp"});

    ASSERT_TRUE(peerix.Close());
    EXPECT_EQ(lstrcmpiA(ReadText("InitialDirectory").c_str(), folder.Path().c_str()), 0);
    EXPECT_EQ(ReadValue("SaveZoomedImage").AsDword(), 0u);
}
