// The arithmetic behind every image that leaves the program: the captured rectangle, the .bmp
// layout and the two string rules of the save.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "output/rules.h"

using namespace rules;

TEST(BmpLayout, TenBySixAtEveryDepth) {
    struct Case {
        int bits;
        uint32_t row, table, image, offset, size;
    } const cases[] = {
        {1, 4, 8, 24, 62, 86},                                     // 10 bits padded to one 32-bit word
        {4, 8, 64, 48, 118, 166},                                  // 40 bits: two words
        {8, 12, 1024, 72, 1078, 1150},                             // the full 256-entry table before the rows
        {16, 20, 0, 120, 54, 174},     {24, 32, 0, 192, 54, 246},  // 30 bytes padded to 32
        {32, 40, 0, 240, 54, 294},                                 // no colour table
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DibRowBytes(c.bits, 10), c.row) << c.bits;
        const BmpLayout l = LayoutBmp(c.bits, 10, 6, 0);
        EXPECT_EQ(l.tableBytes, c.table) << c.bits;
        EXPECT_EQ(l.imageBytes, c.image) << c.bits;
        EXPECT_EQ(l.pixelOffset, c.offset) << c.bits;
        EXPECT_EQ(l.fileSize, c.size) << c.bits;
        EXPECT_EQ(l.fileSize, 14 + 40 + l.tableBytes + l.imageBytes) << c.bits;
    }
}

TEST(BmpLayout, RowsArePaddedToWholeWordsExactlyAtTheirEdges) {
    struct Case {
        int bits, width;
        uint32_t row;
    } const cases[] = {
        {1, 0, 0},  {1, 1, 4},       {1, 32, 4},           {1, 33, 8}, {4, 8, 4},   {4, 9, 8},   {8, 4, 4},
        {8, 5, 8},  {16, 2, 4},      {16, 3, 8},           {24, 1, 4}, {24, 4, 12}, {24, 5, 16}, {24, 401, 1204},
        {32, 1, 4}, {32, 640, 2560}, {32, 100000, 400000},
    };
    for (const Case& c : cases) EXPECT_EQ(DibRowBytes(c.bits, c.width), c.row) << c.bits << " bits, width " << c.width;
    // A 401 x 301 capture at 24 bits: 1203 bytes of pixels per row, one byte of padding.
    const BmpLayout l = LayoutBmp(24, 401, 301, 0);
    EXPECT_EQ(l.imageBytes, 1204u * 301);
    EXPECT_EQ(l.fileSize, 54u + 1204 * 301);
}

TEST(BmpLayout, ColourCountPrefersClrUsedTakenAsSixteenBits) {
    // Without biClrUsed: a full table for the palette depths, none above them.
    EXPECT_EQ(DibColourCount(1, 0), 2);
    EXPECT_EQ(DibColourCount(4, 0), 16);
    EXPECT_EQ(DibColourCount(8, 0), 256);
    EXPECT_EQ(DibColourCount(16, 0), 0);
    EXPECT_EQ(DibColourCount(24, 0), 0);
    EXPECT_EQ(DibColourCount(32, 0), 0);
    EXPECT_EQ(DibColourCount(2, 0), 0);  // not a depth with a table

    // With it: its value whatever the depth, but only its low 16 bits count.
    EXPECT_EQ(DibColourCount(8, 16), 16);
    EXPECT_EQ(DibColourCount(24, 5), 5);
    EXPECT_EQ(DibColourCount(1, 0xFFFF), 0xFFFF);
    EXPECT_EQ(DibColourCount(8, 0x10005), 5);
    EXPECT_EQ(DibColourCount(8, 0x10000), 256);  // low half 0: as if not set
    EXPECT_EQ(DibColourCount(32, 0x20000), 0);

    // The table moves the rows back by 4 bytes per entry.
    const BmpLayout l = LayoutBmp(8, 10, 6, 16);
    EXPECT_EQ(l.tableBytes, 64u);
    EXPECT_EQ(l.pixelOffset, 118u);
    EXPECT_EQ(l.fileSize, 118u + 72);
}

namespace {

int Width(const Rect& r) {
    return r.right - r.left;
}
int Height(const Rect& r) {
    return r.bottom - r.top;
}

}  // namespace

TEST(CaptureArea, TheViewOrTheSelectionInScreenPixelsAtEitherSize) {
    const Rect view{0, 28, 400, 328};  // 400 x 300 below a 28-pixel band
    const Rect stale{7, 40, 99, 99};   // a stale selection must not matter without useSelection
    const Rect view4{0, 28, 392, 254};
    const Rect selection{8, 40, 48, 64};
    const struct {
        const char* what;
        bool zoomed, useSelection;
        Rect visible, view, selection;
        int zoom;
        Rect source;
        int scale, bitmapWidth, bitmapHeight;
    } cases[] = {
        // Zoom 1: the view shows 400 x 300 screen pixels, at either size.
        {"zoom 1, source size", false, false, {312, 205, 712, 505}, view, stale, 1, {312, 205, 712, 505}, 1, 400, 300},
        {"zoom 1, zoomed", true, false, {312, 205, 712, 505}, view, stale, 1, {312, 205, 712, 505}, 1, 400, 300},
        // 392 x 226 at zoom 4 shows 98 x 57 pixels (the last row in part): the zoomed copy holds
        // whole 4 x 4 blocks cut where the view cuts them, the source-size copy every pixel shown.
        {"zoom 4, zoomed", true, false, {640, 480, 738, 537}, view4, stale, 4, {640, 480, 738, 537}, 4, 392, 226},
        {"zoom 4, source size", false, false, {640, 480, 738, 537}, view4, stale, 4, {640, 480, 738, 537}, 1, 98, 57},
        // Zoom 4: a 40 x 24 selection 8 and 12 pixels into the view is 10 x 6 screen pixels at
        // (sx + 2, sy + 3).
        {"selection, source size", false, true, {150, 90, 250, 165}, view, selection, 4, {152, 93, 162, 99}, 1, 10, 6},
        {"selection, zoomed", true, true, {150, 90, 250, 165}, view, selection, 4, {152, 93, 162, 99}, 4, 40, 24},
        // The selection's corner at the view's own corner takes the source's corner; at zoom 32
        // the last whole magnified pixel of a 416 x 320 view is screen pixel (sx + 12, sy + 9).
        {"selection at the view's corner", false, true, {0, 0, 13, 10}, view, {0, 28, 32, 60}, 32, {0, 0, 1, 1}, 1, 1,
         1},
        {"selection at the view's far edge", true, true, {500, 300, 513, 310}, {0, 28, 416, 348}, {384, 316, 416, 348},
         32, {512, 309, 513, 310}, 32, 32, 32},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CaptureArea a = CaptureRect(c.zoomed, c.useSelection, c.visible, c.view, c.selection, c.zoom);
        EXPECT_EQ(a.source.left, c.source.left);
        EXPECT_EQ(a.source.top, c.source.top);
        EXPECT_EQ(Width(a.source), Width(c.source));
        EXPECT_EQ(Height(a.source), Height(c.source));
        EXPECT_EQ(a.scale, c.scale);
        EXPECT_EQ(a.bitmapWidth, c.bitmapWidth);
        EXPECT_EQ(a.bitmapHeight, c.bitmapHeight);
    }
}

TEST(CaptureArea, StretchesNeverReadBeyondTheBounds) {
    const Rect screen{0, 0, 1024, 768};
    // Wholly inside: the stretch is the source as it is.
    Stretch s = StretchWithin(Rect{100, 50, 200, 125}, screen, 3, 0, 28);
    EXPECT_FALSE(s.partial);
    EXPECT_EQ(s.srcX, 100);
    EXPECT_EQ(s.srcWidth, 100);
    EXPECT_EQ(s.destX, 0);
    EXPECT_EQ(s.destY, 28);
    EXPECT_EQ(s.destWidth, 300);
    EXPECT_EQ(s.destHeight, 225);
    // Ending exactly on the last column and row is still whole.
    EXPECT_FALSE(StretchWithin(Rect{924, 668, 1024, 768}, screen, 2, 0, 0).partial);
    // Wider than the screen on both sides: only the screen is read, and it lands where its
    // pixels would have been.
    s = StretchWithin(Rect{-10, -4, 1030, 770}, screen, 2, 5, 7);
    EXPECT_TRUE(s.partial);
    EXPECT_EQ(s.srcX, 0);
    EXPECT_EQ(s.srcY, 0);
    EXPECT_EQ(s.srcWidth, 1024);
    EXPECT_EQ(s.srcHeight, 768);
    EXPECT_EQ(s.destX, 5 + 20);
    EXPECT_EQ(s.destY, 7 + 8);
    EXPECT_EQ(s.destWidth, 2048);
    // One column past the right edge.
    s = StretchWithin(Rect{925, 0, 1025, 10}, screen, 4, 0, 0);
    EXPECT_TRUE(s.partial);
    EXPECT_EQ(s.srcWidth, 99);
    EXPECT_EQ(s.destWidth, 396);
    // Bounds with a negative origin; a source wholly outside gives nothing to read.
    s = StretchWithin(Rect{-1030, 0, -1000, 10}, Rect{-1024, 0, 0, 768}, 1, 0, 0);
    EXPECT_EQ(s.srcX, -1024);
    EXPECT_EQ(s.srcWidth, 24);
    EXPECT_EQ(s.destX, 6);
    EXPECT_LE(StretchWithin(Rect{1100, 0, 1200, 10}, screen, 1, 0, 0).srcWidth, 0);
}

TEST(SaveStrings, DirectoryPartEndsBeforeTheLastBackslash) {
    struct Case {
        const char* path;
        const char* folder;
    } const cases[] = {
        {"C:\\Images\\shot.bmp", "C:\\Images"},
        {"C:\\shot.bmp", "C:"},  // not "C:\": the backslash itself is dropped
        {"shot.bmp", ""},
        {"C:\\a\\b\\", "C:\\a\\b"},
        {"\\\\server\\share\\x.bmp", "\\\\server\\share"},
        {"C:/forward/slashes.bmp", ""},  // only a backslash separates
    };
    for (const Case& c : cases) {
        char dest[260];
        std::memset(dest, 'x', sizeof dest);
        EXPECT_TRUE(CopyDirectoryPart(c.path, dest, sizeof dest)) << c.path;
        EXPECT_STREQ(dest, c.folder) << c.path;
    }
}

TEST(SaveStrings, DirectoryThatDoesNotFitLeavesTheDestinationAlone) {
    // A 260-byte destination holds a folder of 259 characters and its terminator, no more.
    char dest[270];
    const std::string fits = "C:\\" + std::string(256, 'a');  // 259 characters
    ASSERT_EQ(fits.size(), 259u);
    std::memset(dest, '#', sizeof dest);
    EXPECT_TRUE(CopyDirectoryPart((fits + "\\shot.bmp").c_str(), dest, 260));
    EXPECT_EQ(std::string(dest), fits);
    for (size_t i = 260; i < sizeof dest; ++i) ASSERT_EQ(dest[i], '#') << i;

    const std::string tooLong = fits + "b";  // 260 characters
    std::strcpy(dest, "C:\\Old");
    EXPECT_FALSE(CopyDirectoryPart((tooLong + "\\shot.bmp").c_str(), dest, 260));
    EXPECT_STREQ(dest, "C:\\Old");

    // A long file name in a short folder is fine; only the folder has to fit.
    EXPECT_TRUE(CopyDirectoryPart(("C:\\d\\" + std::string(400, 'n')).c_str(), dest, 260));
    EXPECT_STREQ(dest, "C:\\d");
    EXPECT_FALSE(CopyDirectoryPart("C:\\d\\x", dest, 0));
    EXPECT_STREQ(dest, "C:\\d");
}

TEST(SaveStrings, ReplaceCharTurnsTheFilterIntoNulSeparatedParts) {
    char filter[] = "Bitmap Files (*.bmp)|*.bmp||";
    ReplaceChar(filter, '|', '\0');
    EXPECT_STREQ(filter, "Bitmap Files (*.bmp)");
    EXPECT_STREQ(filter + 21, "*.bmp");
    EXPECT_EQ(filter[26], '\0');  // the list's closing double NUL
    EXPECT_EQ(filter[27], '\0');

    // It stops at the terminator: what lies beyond stays as it was.
    char stops[] = "a|b\0|c";
    ReplaceChar(stops, '|', '/');
    EXPECT_STREQ(stops, "a/b");
    EXPECT_EQ(stops[4], '|');

    char none[] = "no bars";
    ReplaceChar(none, '|', '\0');
    EXPECT_STREQ(none, "no bars");
    char every[] = "aaa";
    ReplaceChar(every, 'a', 'b');
    EXPECT_STREQ(every, "bbb");
}

TEST(SaveStrings, FailureLinesAreJoinedTrimmedAndCutSafely) {
    // The system's reason ends in "\r\n"; it is dropped, blank lines stay.
    const char* const lines[] = {"Failed to write.", "", "X:\\full\\shot.bmp", "There is not enough space.\r\n"};
    char text[128];
    JoinLines(text, sizeof text, lines, 4);
    EXPECT_STREQ(text, "Failed to write.\n\nX:\\full\\shot.bmp\nThere is not enough space.");
    JoinLines(text, sizeof text, lines, 1);
    EXPECT_STREQ(text, "Failed to write.");

    // Cut exactly at the destination's size, always terminated: 6 bytes hold 5 characters.
    char small[6];
    std::memset(small, 'x', sizeof small);
    JoinLines(small, sizeof small, lines, 4);
    EXPECT_STREQ(small, "Faile");
    // A cut that falls on the line break.
    const char* const two[] = {"abcd", "ef"};
    JoinLines(small, sizeof small, two, 2);
    EXPECT_STREQ(small, "abcd\n");
    char one[1] = {'x'};
    JoinLines(one, sizeof one, two, 2);
    EXPECT_EQ(one[0], '\0');
    // Only trailing spaces and breaks go; inner ones and leading ones stay.
    const char* const padded[] = {"  a b \n\r\n", " "};
    JoinLines(text, sizeof text, padded, 2);
    EXPECT_STREQ(text, "  a b\n");
}
