// The text art format and its encoders, shared by the artconv tool and its tests.
#ifndef PEERIX_ARTCONV_H
#define PEERIX_ARTCONV_H

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
};

struct Entry {
    char ch;
    enum Kind { Opaque, Transparent, Invert } kind;
    int index;  // palette index of an opaque colour
};

struct Image {
    int width = 0, height = 0;
    std::vector<std::string> rows;  // top row first
};

struct Art {
    enum Kind { None, Bitmap, Icon, Cursor } kind = None;
    int bpp = 4;
    int hotspotX = 0, hotspotY = 0;
    std::vector<Colour> palette;
    std::vector<Entry> entries;
    std::vector<Image> images;
};

// Parses the text form; on failure returns false and says why (with the line number).
bool Parse(const std::string& text, Art* out, std::string* error);

// The file bytes: a .bmp for a bitmap, an .ico for an icon, a .cur for a cursor.
std::vector<uint8_t> Encode(const Art& art);

}  // namespace art

#endif
