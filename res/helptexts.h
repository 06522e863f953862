// The layout of the help texts resource, written by the help compiler (tools/helpc) from the help
// source and read by the program, so that its popups and the pages it opens come from the same
// source as the help file. A run of entries, each:
//   uint32 help id, uint16 kind, uint16 length in UTF-16 units, then that many UTF-16 units
// (all little-endian, no terminator). A popup entry holds the text the program shows for the id;
// a page entry the file name, in the help folder, of the page for the id.
#ifndef PEERIX_HELPTEXTS_H
#define PEERIX_HELPTEXTS_H

#include <cstddef>

namespace helptexts {

enum Kind : unsigned { kPopup = 0, kPage = 1 };

constexpr size_t kEntryHeader = 8;  // id, kind, length
// The longest popup text, in UTF-16 units: the compiler refuses longer ones, so the program's
// popup window can hold any text in a buffer of fixed size.
constexpr size_t kMaxText = 1000;

}  // namespace helptexts

#endif
