// artconv: turns the text art in res/art into the .bmp, .ico and .cur files that the resource
// script includes. The art stays reviewable and diffable; the binaries are build products.
//
// Input format (one file per resource; '#' starts a comment line):
//   kind bitmap|icon|cursor
//   bpp 1|4                      bitmaps and icons; cursors are always 1 bit per pixel
//   hotspot X Y                  cursors only
//   colour C R G B               palette entry; entries are numbered in the order given
//   colour C transparent         icons and cursors: the screen shows through
//   colour C invert              cursors: the screen is inverted
//   image W H                    starts an image; W rows of exactly W characters follow
// A bitmap and a cursor hold one image, an icon one or more.
#include "artconv.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace art {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

uint32_t RowBytes(int width, int bpp) {
    return ((static_cast<uint32_t>(width) * bpp + 31) / 32) * 4;
}

// Pixel rows bottom-up, each padded to 32 bits; value(x, y) gives the pixel's index.
template <typename Value>
void PutRows(std::vector<uint8_t>& out, int width, int height, int bpp, Value value) {
    const uint32_t stride = RowBytes(width, bpp);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            const int bit = x * bpp;
            row[bit / 8] |= static_cast<uint8_t>(v << (8 - bpp - bit % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bpp, uint32_t imageSize, uint32_t colours) {
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bpp));
    Put32(out, 0);  // BI_RGB
    Put32(out, imageSize);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);
}

void PutPalette(std::vector<uint8_t>& out, const Art& a, int bpp) {
    const size_t count = size_t(1) << bpp;
    for (size_t i = 0; i < count; ++i) {
        Colour c = i < a.palette.size() ? a.palette[i] : Colour{};
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

const Entry* Find(const Art& a, char ch) {
    for (const Entry& e : a.entries)
        if (e.ch == ch) return &e;
    return nullptr;
}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// The icon or cursor image inside its file: header with doubled height, palette, XOR, AND.
std::vector<uint8_t> IconImage(const Art& a, const Image& img, int bpp) {
    std::vector<uint8_t> out;
    const uint32_t xorSize = RowBytes(img.width, bpp) * img.height;
    const uint32_t andSize = RowBytes(img.width, 1) * img.height;
    PutInfoHeader(out, img.width, img.height * 2, bpp, xorSize + andSize, 0);
    PutPalette(out, a, bpp);
    PutRows(out, img.width, img.height, bpp, [&](int x, int y) {
        const Entry* e = Find(a, img.rows[y][x]);
        if (e->kind == Entry::Transparent) return 0u;
        if (e->kind == Entry::Invert) return 1u;  // black-and-white palette: 1 is white
        return static_cast<uint32_t>(e->index);
    });
    PutRows(out, img.width, img.height, 1, [&](int x, int y) {
        const Entry* e = Find(a, img.rows[y][x]);
        return e->kind == Entry::Opaque ? 0u : 1u;
    });
    return out;
}

}  // namespace

bool Parse(const std::string& text, Art* out, std::string* error) {
    Art a;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    Image* current = nullptr;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        if (current && static_cast<int>(current->rows.size()) < current->height) {
            if (static_cast<int>(line.size()) != current->width)
                return Fail(error, where + "row must have " + std::to_string(current->width) + " characters");
            for (char ch : line)
                if (!Find(a, ch)) return Fail(error, where + "colour '" + ch + "' is not defined");
            current->rows.push_back(line);
            continue;
        }
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "kind") {
            std::string k;
            words >> k;
            if (k == "bitmap")
                a.kind = Art::Bitmap;
            else if (k == "icon")
                a.kind = Art::Icon;
            else if (k == "cursor")
                a.kind = Art::Cursor, a.bpp = 1;
            else
                return Fail(error, where + "unknown kind " + k);
        } else if (word == "bpp") {
            words >> a.bpp;
            if (a.bpp != 1 && a.bpp != 4 && a.bpp != 8) return Fail(error, where + "bpp must be 1, 4 or 8");
        } else if (word == "hotspot") {
            words >> a.hotspotX >> a.hotspotY;
        } else if (word == "colour") {
            std::string ch, r;
            words >> ch >> r;
            if (ch.size() != 1) return Fail(error, where + "a colour is named by one character");
            if (Find(a, ch[0])) return Fail(error, where + "colour '" + ch + "' defined twice");
            Entry e{ch[0], Entry::Opaque, 0};
            if (r == "transparent") {
                e.kind = Entry::Transparent;
            } else if (r == "invert") {
                e.kind = Entry::Invert;
            } else {
                int g = -1, b = -1;
                words >> g >> b;
                const int rv = std::atoi(r.c_str());
                if (rv < 0 || rv > 255 || g < 0 || g > 255 || b < 0 || b > 255)
                    return Fail(error, where + "colour values are 0..255");
                e.index = static_cast<int>(a.palette.size());
                a.palette.push_back(Colour{static_cast<uint8_t>(rv), static_cast<uint8_t>(g), static_cast<uint8_t>(b)});
            }
            a.entries.push_back(e);
        } else if (word == "image") {
            Image img;
            words >> img.width >> img.height;
            if (img.width <= 0 || img.height <= 0 || img.width > 256 || img.height > 256)
                return Fail(error, where + "image size must be 1..256");
            a.images.push_back(img);
            current = &a.images.back();
        } else {
            return Fail(error, where + "unknown keyword " + word);
        }
    }
    if (a.kind == Art::None) return Fail(error, "no kind given");
    if (a.images.empty()) return Fail(error, "no image");
    if (a.kind != Art::Icon && a.images.size() != 1) return Fail(error, "only icons hold several images");
    for (const Image& img : a.images)
        if (static_cast<int>(img.rows.size()) != img.height) return Fail(error, "image has too few rows");
    if (a.palette.size() > (size_t(1) << a.bpp)) return Fail(error, "more colours than bpp allows");
    if (a.kind == Art::Cursor) {
        // Monochrome cursors draw with black (index 0) and white (index 1) only.
        for (Entry& e : a.entries) {
            if (e.kind != Entry::Opaque) continue;
            const Colour c = a.palette[e.index];
            const bool black = c.r == 0 && c.g == 0 && c.b == 0;
            const bool white = c.r == 255 && c.g == 255 && c.b == 255;
            if (!black && !white) return Fail(error, "cursor colours must be black or white");
            e.index = white ? 1 : 0;
        }
        a.palette = {Colour{0, 0, 0}, Colour{255, 255, 255}};
    }
    if (a.kind == Art::Bitmap) {
        for (const Entry& e : a.entries)
            if (e.kind != Entry::Opaque) return Fail(error, "bitmaps have no transparency");
    }
    *out = a;
    return true;
}

std::vector<uint8_t> Encode(const Art& a) {
    std::vector<uint8_t> out;
    if (a.kind == Art::Bitmap) {
        const Image& img = a.images[0];
        const uint32_t colours = 1u << a.bpp;
        const uint32_t imageSize = RowBytes(img.width, a.bpp) * img.height;
        const uint32_t offset = 14 + 40 + 4 * colours;
        out.push_back('B');
        out.push_back('M');
        Put32(out, offset + imageSize);
        Put32(out, 0);
        Put32(out, offset);
        PutInfoHeader(out, img.width, img.height, a.bpp, imageSize, colours);
        PutPalette(out, a, a.bpp);
        PutRows(out, img.width, img.height, a.bpp,
                [&](int x, int y) { return static_cast<uint32_t>(Find(a, img.rows[y][x])->index); });
        return out;
    }
    // Icon and cursor files: a directory of entries, then the images.
    const bool cursor = a.kind == Art::Cursor;
    Put16(out, 0);
    Put16(out, cursor ? 2 : 1);
    Put16(out, static_cast<uint32_t>(a.images.size()));
    std::vector<std::vector<uint8_t>> bodies;
    for (const Image& img : a.images) bodies.push_back(IconImage(a, img, a.bpp));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(a.images.size());
    for (size_t i = 0; i < a.images.size(); ++i) {
        const Image& img = a.images[i];
        out.push_back(static_cast<uint8_t>(img.width == 256 ? 0 : img.width));
        out.push_back(static_cast<uint8_t>(img.height == 256 ? 0 : img.height));
        out.push_back(static_cast<uint8_t>(a.bpp >= 8 ? 0 : 1u << a.bpp));
        out.push_back(0);
        if (cursor) {
            Put16(out, static_cast<uint32_t>(a.hotspotX));
            Put16(out, static_cast<uint32_t>(a.hotspotY));
        } else {
            Put16(out, 1);
            Put16(out, static_cast<uint32_t>(a.bpp));
        }
        Put32(out, static_cast<uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const auto& b : bodies) out.insert(out.end(), b.begin(), b.end());
    return out;
}

}  // namespace art

#ifndef ARTCONV_NO_MAIN
int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: artconv INPUT.txt OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "artconv: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    art::Art a;
    std::string error;
    if (!art::Parse(text.str(), &a, &error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes = art::Encode(a);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "artconv: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
#endif
