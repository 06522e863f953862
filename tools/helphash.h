// The hash by which a WinHelp file's |CONTEXT finds a context name, shared by the help compiler
// and the tests' reader. Letters count 17 and up (either case), '1'-'9' 1-9, '0' 10, '.' 12,
// '_' 13, other characters nothing; h = h * 43 + x modulo 2^32, read as a signed number.
#ifndef PEERIX_HELPHASH_H
#define PEERIX_HELPHASH_H

#include <cstdint>
#include <string>

namespace helpc {

inline int32_t ContextHash(const std::string& name) {
    uint32_t h = 0;
    for (char c : name) {
        uint32_t x = 0;
        if (c >= 'A' && c <= 'Z') x = c - 'A' + 17;
        if (c >= 'a' && c <= 'z') x = c - 'a' + 17;
        if (c >= '1' && c <= '9') x = c - '0';
        if (c == '0') x = 10;
        if (c == '.') x = 12;
        if (c == '_') x = 13;
        if (x) h = h * 43 + x;
    }
    return static_cast<int32_t>(h);
}

}  // namespace helpc

#endif
