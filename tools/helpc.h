// The help source format and its writers, shared by the helpc tool and its tests: the WinHelp 4
// file (uncompressed: no phrases, no LZ77, which WinHelp and Wine's winhlp32 both read), the same
// help as HTML pages, and the texts the program itself shows.
#ifndef PEERIX_HELPC_H
#define PEERIX_HELPC_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "helphash.h"
#include "../res/helptexts.h"

namespace helpc {

using Bytes = std::vector<uint8_t>;

// ---- The source, as parsed. ----

struct Span {
    enum Kind { Text, Bold, Link, Tab } kind = Text;
    std::string text;    // Windows-1252
    std::string target;  // the context name a link leads to
};

struct Paragraph {
    enum Style { Body, Heading, Bullet, KeyRow } style = Body;
    std::vector<Span> spans;
    int line = 0;
};

struct Topic {
    std::string context;
    std::string title;  // empty for popups
    bool popup = false;
    std::vector<uint32_t> ids;
    std::vector<std::string> keywords;
    std::string page;   // popups: the full topic whose page also shows the text
    std::string label;  // popups: the part of the window it explains, as the page names it
    std::vector<Paragraph> paragraphs;
    int line = 0;
};

struct Project {
    std::string title = "Peerix Help";
    std::vector<Topic> topics;  // the first full topic is the contents
};

// Names usable as numeric ids, read from "#define NAME value" lines of a C header.
std::map<std::string, uint32_t> ReadIdNames(const std::string& header);

// Parses the source. On failure returns false and sets error to "FILE:LINE: what is wrong".
bool Parse(const std::string& text, const std::string& fileName, const std::map<std::string, uint32_t>& names,
           Project* out, std::string* error);

// ---- Pieces of the file, exposed for the tests. ----

// One B-tree entry: the key bytes (also used in index pages) and what follows it in a leaf.
struct TreeEntry {
    Bytes key;
    Bytes value;
};
// A B-tree (its 38-byte header and pages) over entries already in the tree's order. Leaf pages
// are filled in order and linked both ways; index pages hold the first key of each child but
// the first, whose page number stands in the page header.
Bytes BTree(const std::vector<TreeEntry>& entries, uint16_t pageSize, const char* structure, uint16_t flags = 0x0002);

// A secondary window record of |SYSTEM (type 6): exactly 90 bytes of data.
struct Window {
    std::string name;
    std::string caption;
    int16_t x = 0, y = 0, width = 0, height = 0;
};
Bytes WindowRecord(const Window& window);

// Positions in |TOPIC. A record position is block * 0x4000 + 12 + offset in the block's data; a
// topic offset is block * 0x8000 + the characters of the text records that start in that block
// before it. The two kinds of numbers are used by different fields.
constexpr uint32_t kTopicBlockSize = 4096;
constexpr uint32_t kTopicBlockData = kTopicBlockSize - 12;
uint32_t RecordPosition(uint32_t streamOffset);

struct TopicFile {
    Bytes bytes;                     // the blocks of |TOPIC, headers included
    std::vector<uint32_t> offsets;   // topic offset of each topic, in source order
    std::vector<uint32_t> headerAt;  // record position of each topic's header record
};
TopicFile BuildTopics(const Project& project);

// |CTXOMAP: a 16-bit count, then (id, topic offset) pairs in the given order.
Bytes ContextMap(const std::vector<std::pair<uint32_t, uint32_t>>& entries);

// The whole help file.
Bytes Compile(const Project& project);

// ---- The pages and the program's texts (helppages.cpp). ----

// The character of a byte of parsed text (Windows-1252).
uint32_t Windows1252CodePoint(unsigned char byte);

// Parsed text (Windows-1252) as UTF-8 and as UTF-16.
std::string Utf8(const std::string& windows1252);
std::u16string Utf16(const std::string& windows1252);

// A popup's text as the program shows it: its paragraphs' text, one line each (Windows-1252).
std::string PopupText(const Topic& popup);

// The page of a full topic: its context name, lower case, with ".html"; the index of all pages.
std::string PageName(const Topic& topic);
constexpr char kIndexPage[] = "index.html";

// Every page by file name (UTF-8 HTML, each complete in itself): the index page (contents and
// keywords) and one page per full topic, which also shows the popups that name it in @page.
std::map<std::string, std::string> Pages(const Project& project);

// The help texts resource (res/helptexts.h): each popup's text under each of its ids, then each
// full topic's page name under each of its ids.
Bytes HelpTexts(const Project& project);

}  // namespace helpc

#endif
