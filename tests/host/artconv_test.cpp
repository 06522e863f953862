#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "tools/artconv.h"

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

art::Art MustParse(const std::string& text) {
    art::Art a;
    std::string error;
    EXPECT_TRUE(art::Parse(text, &a, &error)) << error;
    return a;
}

std::string ReadArt(const char* name) {
    std::ifstream in(std::string(PEERIX_SOURCE_DIR) + "/res/art/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(ArtConv, RejectsMalformedArtWithTheLine) {
    art::Art a;
    std::string error;
    EXPECT_FALSE(art::Parse("kind bitmap\nbpp 1\ncolour k 0 0 0\nimage 2 1\nk\n", &a, &error));
    EXPECT_NE(error.find("line 5"), std::string::npos) << error;
    EXPECT_FALSE(art::Parse("kind bitmap\nbpp 1\ncolour k 0 0 0\nimage 2 1\nkx\n", &a, &error));
    EXPECT_NE(error.find("'x'"), std::string::npos) << error;
    EXPECT_FALSE(art::Parse("kind picture\n", &a, &error));
    EXPECT_FALSE(art::Parse("kind bitmap\nbpp 1\ncolour k 0 0 0\nimage 2 2\nkk\n", &a, &error));
    EXPECT_FALSE(art::Parse("kind bitmap\nbpp 1\ncolour a 0 0 0\ncolour b 1 1 1\ncolour c 2 2 2\nimage 1 1\na\n", &a,
                            &error));  // three colours in one bit
    EXPECT_FALSE(art::Parse("kind cursor\ncolour r 255 0 0\nimage 1 1\nr\n", &a, &error));
    EXPECT_FALSE(art::Parse("kind bitmap\ncolour - transparent\nimage 1 1\n-\n", &a, &error));
}

TEST(ArtConv, BitmapFileLayout) {
    // 3 x 2 at 4 bits: rows of 2 bytes padded to 4, bottom row first.
    const art::Art a = MustParse(
        "kind bitmap\nbpp 4\ncolour . 192 192 192\ncolour r 255 0 0\ncolour b 0 0 255\nimage 3 2\nr.b\nbbr\n");
    const std::vector<uint8_t> f = art::Encode(a);
    const uint32_t offset = 14 + 40 + 16 * 4;
    ASSERT_EQ(f.size(), offset + 2 * 4);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(f, 2), f.size());
    EXPECT_EQ(U32(f, 10), offset);
    EXPECT_EQ(U32(f, 14), 40u);
    EXPECT_EQ(U32(f, 18), 3u);
    EXPECT_EQ(U32(f, 22), 2u);
    EXPECT_EQ(U16(f, 26), 1);
    EXPECT_EQ(U16(f, 28), 4);
    EXPECT_EQ(U32(f, 34), 8u);
    // Palette entries are blue, green, red, 0.
    EXPECT_EQ(f[54 + 4], 0);
    EXPECT_EQ(f[54 + 6], 255);
    EXPECT_EQ(f[54 + 8], 255);
    // Bottom row "bbr" = 2, 2, 1; top row "r.b" = 1, 0, 2.
    EXPECT_EQ(f[offset + 0], 0x22);
    EXPECT_EQ(f[offset + 1], 0x10);
    EXPECT_EQ(f[offset + 4], 0x10);
    EXPECT_EQ(f[offset + 5], 0x20);
}

TEST(ArtConv, CursorFileLayout) {
    const art::Art a = MustParse(
        "kind cursor\nhotspot 7 1\ncolour B 0 0 0\ncolour W 255 255 255\ncolour . transparent\ncolour ~ invert\n"
        "image 2 2\nBW\n.~\n");
    const std::vector<uint8_t> f = art::Encode(a);
    EXPECT_EQ(U16(f, 0), 0);
    EXPECT_EQ(U16(f, 2), 2);  // cursor
    EXPECT_EQ(U16(f, 4), 1);
    EXPECT_EQ(f[6], 2);
    EXPECT_EQ(f[7], 2);
    EXPECT_EQ(U16(f, 10), 7);  // hotspot in the directory entry
    EXPECT_EQ(U16(f, 12), 1);
    const uint32_t size = U32(f, 14), at = U32(f, 18);
    EXPECT_EQ(at, 22u);
    EXPECT_EQ(f.size(), at + size);
    EXPECT_EQ(U32(f, at + 8), 4u);  // height doubled: XOR and AND
    EXPECT_EQ(U16(f, at + 14), 1);
    const size_t xorRows = at + 40 + 8;
    // XOR bottom row ". ~": transparent 0, invert 1; top row "BW": 0, 1.
    EXPECT_EQ(f[xorRows + 0], 0x40);
    EXPECT_EQ(f[xorRows + 4], 0x40);
    // AND bottom row: both see-through; top row: both opaque.
    EXPECT_EQ(f[xorRows + 8], 0xC0);
    EXPECT_EQ(f[xorRows + 12], 0x00);
}

TEST(ArtConv, TheProgramsArtHasTheSizesItNeeds) {
    const art::Art toolbar = MustParse(ReadArt("toolbar.txt"));
    EXPECT_EQ(toolbar.kind, art::Art::Bitmap);
    EXPECT_EQ(toolbar.bpp, 4);
    EXPECT_EQ(toolbar.images[0].width, 112);  // seven images of 16 x 15
    EXPECT_EQ(toolbar.images[0].height, 15);
    // Light grey background in each image's corner.
    for (int i = 0; i < 7; ++i) {
        const char ch = toolbar.images[0].rows[14][i * 16 + 15];
        for (const art::Entry& e : toolbar.entries) {
            if (e.ch == ch) {
                EXPECT_EQ(toolbar.palette[e.index].r, 192) << "image " << i;
            }
        }
    }

    const art::Art icon = MustParse(ReadArt("peerix.txt"));
    ASSERT_EQ(icon.images.size(), 2u);
    EXPECT_EQ(icon.images[0].width, 32);
    EXPECT_EQ(icon.images[1].width, 16);
    EXPECT_EQ(icon.bpp, 4);

    const art::Art hand = MustParse(ReadArt("hand.txt"));
    EXPECT_EQ(hand.hotspotX, 7);
    EXPECT_EQ(hand.hotspotY, 0);
    EXPECT_EQ(hand.images[0].rows[0][7], 'B');  // the fingertip is the hotspot
    const art::Art marker = MustParse(ReadArt("marker.txt"));
    EXPECT_EQ(marker.hotspotX, 0);
    EXPECT_EQ(marker.hotspotY, 0);
    EXPECT_EQ(marker.images[0].rows[0][0], 'B');
    EXPECT_EQ(marker.images[0].width, 32);
    EXPECT_EQ(marker.images[0].height, 32);

    // The ants: 144 has columns 0-3 black and 4-7 white; 145 has rows 0-3 white, 4-7 black.
    const art::Art horz = MustParse(ReadArt("ants_horz.txt"));
    const art::Art vert = MustParse(ReadArt("ants_vert.txt"));
    auto isBlack = [](const art::Art& a, char ch) {
        for (const art::Entry& e : a.entries)
            if (e.ch == ch) return a.palette[e.index].r == 0;
        return false;
    };
    EXPECT_EQ(horz.palette[0].r, 0);  // colour table black, then white
    EXPECT_EQ(horz.palette[1].r, 255);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(isBlack(horz, horz.images[0].rows[y][x]), x < 4);
            EXPECT_EQ(isBlack(vert, vert.images[0].rows[y][x]), y >= 4);
        }
}
