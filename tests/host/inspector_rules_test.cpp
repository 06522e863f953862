// The pixel inspector's rules: which screen pixel the pointer reads over the view, where the grid
// lines go, colours as text, the file type and name of a save, and the pixels a PNG is made from.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "output/rules.h"
#include "view/geometry.h"

using namespace rules;

TEST(SourcePixelAt, EveryMagnifiedPixelReadsItsSourceUpToThePartlyShownLast) {
    // A view at client (0, 30) of 100 x 50 showing screen pixels from (500, 200).
    const Rect view = {0, 30, 100, 80}, source = {500, 200, 600, 250};
    struct Case {
        int zoom, x, y;
        bool inside;
        int sx, sy;
    } const cases[] = {
        {1, 0, 30, true, 500, 200},   {1, 99, 79, true, 599, 249},  // zoom 1: pixel for pixel
        {3, 2, 32, true, 500, 200},   {3, 3, 33, true, 501, 201},   // the edge between two squares
        {3, 99, 79, true, 533, 216},                                // 100 = 33 x 3 + 1: the last in part
        {32, 31, 61, true, 500, 200}, {32, 32, 62, true, 501, 201}, {32, 99, 79, true, 503, 201},
        {3, 100, 50, false, 0, 0},    {3, 50, 80, false, 0, 0},  // right and bottom edges are outside
        {3, -1, 50, false, 0, 0},     {3, 50, 29, false, 0, 0},  // so are the band and the left
    };
    for (const Case& c : cases) {
        Point p = {0, 0};
        EXPECT_EQ(SourcePixelAt(Point{c.x, c.y}, view, source, c.zoom, &p), c.inside)
            << c.zoom << " at " << c.x << "," << c.y;
        if (c.inside) {
            EXPECT_EQ(p.x, c.sx) << c.zoom << " at " << c.x;
            EXPECT_EQ(p.y, c.sy) << c.zoom << " at " << c.y;
        }
    }
}

TEST(GridLines, OnEveryEdgeBetweenTwoPixelsFromZoomFour) {
    struct Case {
        int start, length, zoom, first, count;
    } const cases[] = {
        {0, 300, 3, 3, 0},     // below 4: no grid
        {0, 300, 4, 4, 74},    // 300 = 75 x 4: the last line at 296, none on the view's own edge
        {28, 10, 4, 32, 2},    // 10 = 2 x 4 + 2: lines at 32 and 36, before the partly shown pixel
        {0, 8, 8, 8, 0},       // one whole pixel: no edge between two
        {0, 9, 8, 8, 1},       // and one pixel of the next: its edge
        {0, 640, 32, 32, 19},  // 20 whole pixels
        {0, 0, 8, 8, 0},
    };
    for (const Case& c : cases) {
        int first = 0, count = -1;
        GridLines(c.start, c.length, c.zoom, &first, &count);
        EXPECT_EQ(count, c.count) << c.start << "+" << c.length << " at " << c.zoom;
        if (count > 0) {
            EXPECT_EQ(first, c.first);
            const int last = first + (count - 1) * c.zoom;
            EXPECT_LT(last, c.start + c.length);
            EXPECT_GE(last + c.zoom, c.start + c.length);  // no edge left out at the end
        }
    }
}

TEST(ColourText, RedFirstInEveryFormat) {
    char text[64];
    FormatColour(kColourHash, 250, 10, 200, text, sizeof text);
    EXPECT_STREQ(text, "#FA0AC8");
    FormatColour(kColourFunction, 250, 10, 200, text, sizeof text);
    EXPECT_STREQ(text, "rgb(250, 10, 200)");
    FormatColour(kColourDecimal, 0, 255, 7, text, sizeof text);
    EXPECT_STREQ(text, "0, 255, 7");
    FormatColour(7, 0, 0, 0, text, sizeof text);  // unknown formats give the first
    EXPECT_STREQ(text, "#000000");
    FormatColour(kColourFunction, 255, 255, 255, text, 8);  // cut, never overrun
    EXPECT_STREQ(text, "rgb(255");
}

TEST(SavedImages, TypeFollowsTheTypedExtensionElseTheFilter) {
    EXPECT_EQ(ImageTypeForPath("C:\\a\\shot.png", kImageBmp), kImagePng);
    EXPECT_EQ(ImageTypeForPath("C:\\a\\shot.BMP", kImagePng), kImageBmp);
    EXPECT_EQ(ImageTypeForPath("C:\\a\\shot.PnG", kImageBmp), kImagePng);
    EXPECT_EQ(ImageTypeForPath("C:\\a\\shot.jpg", kImageBmp), kImageBmp);
    EXPECT_EQ(ImageTypeForPath("C:\\a.png\\shot", kImagePng), kImagePng);
    EXPECT_EQ(ImageTypeForPath("png", kImageBmp), kImageBmp);
    EXPECT_EQ(ImageTypeForPath(".png", kImageBmp), kImageBmp);  // a name that is only an extension
    char name[64] = "Peerix 2026-12-07 22.15.03.png";
    EXPECT_TRUE(SwapImageExtension(name, kImageBmp));
    EXPECT_STREQ(name, "Peerix 2026-12-07 22.15.03.bmp");
    char other[64] = "shot.jpeg";
    EXPECT_FALSE(SwapImageExtension(other, kImagePng));
    EXPECT_STREQ(other, "shot.jpeg");

    ProposedImageName(LocalTime{2026, 12, 7, 22, 15, 3}, kImagePng, name, sizeof name);
    EXPECT_STREQ(name, "Peerix 2026-12-07 22.15.03.png");
    ProposedImageName(LocalTime{2027, 1, 2, 3, 4, 5}, kImageBmp, name, sizeof name);
    EXPECT_STREQ(name, "Peerix 2027-01-02 03.04.05.bmp");
}

TEST(PngPixels, EveryScreenDepthGivesTheBmpsColoursTopDown) {
    // Three pixels wide, two rows stored bottom-up (the first stored row is the picture's last);
    // the top row of the result is compared, padded from 9 to 12 bytes.
    const uint8_t table[] = {0x10, 0x20, 0x30, 0, 0xFF, 0xFE, 0xFD, 0};
    const uint16_t rows16[] = {0, 0, 0, 0, 0x001F, 16 << 5, 1 << 10, 0};  // 5-5-5: blue 31, green 16, red 1
    const uint8_t rows8[] = {0, 0, 0, 0, 1, 0, 9, 0},
                  rows24[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
    const uint8_t rows32[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0xEE, 4, 5, 6, 0xEE, 7, 8, 9, 0xEE};
    struct Case {
        int bits;
        const uint8_t* rows;
        std::vector<uint8_t> top;
    } const cases[] = {
        // Index 9 lies past the two-entry table: black, never memory beyond it.
        {8, rows8, {0xFF, 0xFE, 0xFD, 0x10, 0x20, 0x30, 0, 0, 0, 0, 0, 0}},
        // Five-bit channels widen as readers widen them: 31 is 255, 16 is 132, 1 is 8.
        {16, reinterpret_cast<const uint8_t*>(rows16), {255, 0, 0, 0, 132, 0, 0, 0, 8, 0, 0, 0}},
        {24, rows24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}},
        {32, rows32, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0}},
    };
    ASSERT_EQ(Bgr24RowBytes(3), 12u);
    for (const Case& c : cases) {
        std::vector<uint8_t> out(24, 0xAA);
        ASSERT_TRUE(DibToBgr24(c.bits, 3, 2, table, 2, c.rows, out.data())) << c.bits;
        EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 12), c.top) << c.bits;
    }
    std::vector<uint8_t> out(24);
    EXPECT_FALSE(DibToBgr24(4, 3, 2, table, 2, rows8, out.data()));
}
