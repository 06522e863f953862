// helpc: compiles the help source (res/help/peerix.help) into a WinHelp 4 file, the same help as
// HTML pages in a folder, and the texts resource the program reads its popups from.
//   helpc SOURCE ID-HEADER HELP-FILE PAGES-FOLDER TEXTS-FILE
// The source format is described at the top of the source itself.
#include "helpc.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

namespace helpc {

namespace {

// ---- Little-endian writers. ----

void Put8(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
}
void Put16(Bytes& b, uint32_t v) {
    Put8(b, v);
    Put8(b, v >> 8);
}
void Put32(Bytes& b, uint32_t v) {
    Put16(b, v);
    Put16(b, v >> 16);
}
void PutString(Bytes& b, const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
}
void Append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}
void Set32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The variable-length numbers of a text record's formatting data: the low bit of the first
// byte says whether the long form follows.
void PutCompressedUShort(Bytes& b, uint32_t v) {
    if (v < 0x80) {
        Put8(b, v * 2);
    } else {
        Put16(b, v * 2 + 1);
    }
}
void PutCompressedShort(Bytes& b, int32_t v) {
    if (v >= -64 && v < 64) {
        Put8(b, static_cast<uint32_t>(v * 2 + 0x80));
    } else {
        Put16(b, static_cast<uint32_t>(v * 2 + 0x8001));
    }
}
void PutCompressedLong(Bytes& b, int32_t v) {
    if (v >= -16384 && v < 16384) {
        Put16(b, static_cast<uint32_t>(v * 2 + 0x8000));
    } else {
        Put32(b, static_cast<uint32_t>(v) * 2 + 0x80000001u);
    }
}

// Every internal file starts with its reserved size (header included), its used size and a flag
// byte. No slack is reserved: the viewers read up to the reserved end.
Bytes InternalFile(const Bytes& content) {
    Bytes b;
    Put32(b, static_cast<uint32_t>(content.size() + 9));
    Put32(b, static_cast<uint32_t>(content.size()));
    Put8(b, 4);
    Append(b, content);
    return b;
}

// ---- Source parsing. ----

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    const size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::vector<std::string> Words(const std::string& s) {
    std::istringstream in(s);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool ValidContextName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.')) return false;
    }
    return true;
}

// The characters of Windows-1252's bytes 0x80 to 0x9F that the source may use.
const struct {
    uint32_t code;
    uint8_t byte;
} kExtra[] = {{0x20AC, 0x80}, {0x201A, 0x82}, {0x2026, 0x85}, {0x2018, 0x91}, {0x2019, 0x92}, {0x201C, 0x93},
              {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97}, {0x2122, 0x99}};

// The help file is Windows-1252; the source is UTF-8. Only the characters that code page holds
// are accepted.
bool ToWindows1252(const std::string& utf8, std::string* out, std::string* bad) {
    const auto& extra = kExtra;
    out->clear();
    for (size_t i = 0; i < utf8.size();) {
        const uint8_t c = static_cast<uint8_t>(utf8[i]);
        uint32_t code = c;
        size_t length = 1;
        if (c >= 0xF0) {
            length = 4;
        } else if (c >= 0xE0) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xC0) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0x80) {
            *bad = "a broken UTF-8 sequence";
            return false;
        }
        if (length == 4 || i + length > utf8.size()) {
            *bad = "a character outside Windows-1252";
            return false;
        }
        for (size_t k = 1; k < length; ++k) code = (code << 6) | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
        i += length;
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out->push_back(static_cast<char>(code));
            continue;
        }
        bool found = false;
        for (const auto& e : extra) {
            if (e.code == code) {
                out->push_back(static_cast<char>(e.byte));
                found = true;
            }
        }
        if (!found) {
            *bad = "a character outside Windows-1252 (U+" + std::to_string(code) + " decimal)";
            return false;
        }
    }
    return true;
}

class Parser {
public:
    Parser(const std::string& file, const std::map<std::string, uint32_t>& names, Project* project)
        : file(file), names(names), project(project) {}

    bool Run(const std::string& text) {
        std::istringstream in(text);
        std::string raw;
        line = 0;
        while (std::getline(in, raw)) {
            ++line;
            if (!raw.empty() && raw.back() == '\r') raw.pop_back();
            if (!Line(raw)) return false;
        }
        if (!EndParagraph()) return false;
        return Check();
    }

    std::string error;

private:
    bool Fail(int at, const std::string& what) {
        error = file + ":" + std::to_string(at) + ": " + what;
        return false;
    }

    Topic* Current() { return project->topics.empty() ? nullptr : &project->topics.back(); }

    bool Line(const std::string& raw) {
        // "#" starts a comment, "## " a heading.
        if (!raw.empty() && raw[0] == '#' && raw.rfind("## ", 0) != 0) return true;
        const std::string text = Trim(raw);
        if (text.empty()) return EndParagraph();
        if (text[0] == '@') return Directive(text);
        if (!Current()) return Fail(line, "text before the first @topic or @popup");
        if (text.rfind("## ", 0) == 0) {
            // A heading is one line.
            return EndParagraph() && StartParagraph(Paragraph::Heading, text.substr(3)) && EndParagraph();
        }
        if (text.rfind("- ", 0) == 0) return EndParagraph() && StartParagraph(Paragraph::Bullet, text.substr(2));
        if (text[0] == '|') {
            // | key | description
            const size_t second = text.find('|', 1);
            if (second == std::string::npos) return Fail(line, "a key row needs \"| key | description |\"");
            std::string description = Trim(text.substr(second + 1));
            if (!description.empty() && description.back() == '|')
                description = Trim(description.substr(0, description.size() - 1));
            return EndParagraph() &&
                   StartParagraph(Paragraph::KeyRow, "*" + Trim(text.substr(1, second - 1)) + "*\t" + description) &&
                   EndParagraph();
        }
        if (pending.empty()) return StartParagraph(Paragraph::Body, text);
        pending += " " + text;
        return true;
    }

    bool StartParagraph(Paragraph::Style style, const std::string& text) {
        pendingStyle = style;
        pending = text;
        pendingLine = line;
        return true;
    }

    bool Directive(const std::string& text) {
        if (!EndParagraph()) return false;
        const size_t space = text.find_first_of(" \t");
        const std::string word = text.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : Trim(text.substr(space));
        if (word == "@topic" || word == "@popup") {
            const std::vector<std::string> parts = Words(rest);
            if (parts.empty()) return Fail(line, word + " needs a context name");
            if (!ValidContextName(parts[0]))
                return Fail(line, "context name '" + parts[0] + "' may hold only letters, digits, '_' and '.'");
            Topic topic;
            topic.context = parts[0];
            topic.popup = word == "@popup";
            topic.line = line;
            for (size_t i = 1; i < parts.size(); ++i) {
                uint32_t id;
                if (!Id(parts[i], &id)) return false;
                topic.ids.push_back(id);
            }
            project->topics.push_back(topic);
            return true;
        }
        if (word == "@require") {
            for (const std::string& part : Words(rest)) {
                uint32_t id;
                if (!Id(part, &id)) return false;
                required.push_back({id, part, line});
            }
            return true;
        }
        if (word == "@page" || word == "@label") {
            Topic* topic = Current();
            if (!topic || !topic->popup) return Fail(line, word + " belongs to a @popup");
            if (rest.empty()) return Fail(line, word + " needs a " + (word == "@page" ? "topic name" : "text"));
            if (word == "@page") {
                topic->page = rest;
                return true;
            }
            std::string bad;
            if (!ToWindows1252(rest, &topic->label, &bad)) return Fail(line, "the text holds " + bad);
            return true;
        }
        if (word == "@title" || word == "@keywords") {
            Topic* topic = Current();
            if (!topic) return Fail(line, word + " before the first @topic");
            if (topic->popup) return Fail(line, "a popup topic has no " + word.substr(1));
            std::string converted, bad;
            if (!ToWindows1252(rest, &converted, &bad)) return Fail(line, "the text holds " + bad);
            if (word == "@title") {
                if (converted.empty()) return Fail(line, "@title needs a text");
                topic->title = converted;
                return true;
            }
            std::istringstream in(converted);
            for (std::string keyword; std::getline(in, keyword, ';');) {
                keyword = Trim(keyword);
                if (!keyword.empty()) {
                    topic->keywords.push_back(keyword);
                    keywordLines.push_back(line);
                }
            }
            return true;
        }
        return Fail(line, "unknown directive '" + word + "'");
    }

    // A number (decimal or 0x hexadecimal), a name from the id header, or a sum of them.
    bool Id(const std::string& token, uint32_t* id) {
        uint64_t sum = 0;
        std::istringstream in(token);
        for (std::string term; std::getline(in, term, '+');) {
            if (term.empty()) return Fail(line, "'" + token + "' is not an id");
            char* end = nullptr;
            const unsigned long long value = std::strtoull(term.c_str(), &end, 0);
            if (std::isdigit(static_cast<unsigned char>(term[0]))) {
                if (*end) return Fail(line, "'" + term + "' is not a number");
                sum += value;
            } else {
                const auto found = names.find(term);
                if (found == names.end()) return Fail(line, "unknown id name '" + term + "'");
                sum += found->second;
            }
        }
        if (sum > 0xFFFFFFFFull) return Fail(line, "'" + token + "' does not fit in 32 bits");
        *id = static_cast<uint32_t>(sum);
        return true;
    }

    // Turns the collected text into spans: *bold*, [text](context), "\t" from key rows, and
    // backslash escapes.
    bool EndParagraph() {
        if (pending.empty()) return true;
        std::string text, bad;
        if (!ToWindows1252(pending, &text, &bad)) return Fail(pendingLine, "the text holds " + bad);
        pending.clear();
        Paragraph paragraph;
        paragraph.style = pendingStyle;
        paragraph.line = pendingLine;
        std::string plain;
        bool bold = false;
        auto flush = [&](Span::Kind kind) {
            if (!plain.empty()) paragraph.spans.push_back(Span{kind, plain, ""});
            plain.clear();
        };
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\\' && i + 1 < text.size()) {
                plain += text[++i];
            } else if (c == '\t') {
                flush(bold ? Span::Bold : Span::Text);
                paragraph.spans.push_back(Span{Span::Tab, "", ""});
            } else if (c == '*') {
                flush(bold ? Span::Bold : Span::Text);
                bold = !bold;
            } else if (c == '[') {
                if (bold) return Fail(pendingLine, "a link inside *bold* text");
                const size_t close = text.find("](", i);
                const size_t end = close == std::string::npos ? close : text.find(')', close);
                if (end == std::string::npos)
                    return Fail(pendingLine, "unterminated link: \"[text](context)\" expected");
                flush(Span::Text);
                const std::string label = text.substr(i + 1, close - i - 1);
                const std::string target = text.substr(close + 2, end - close - 2);
                if (label.empty()) return Fail(pendingLine, "a link without text");
                paragraph.spans.push_back(Span{Span::Link, label, target});
                links.push_back({target, pendingLine});
                i = end;
            } else {
                plain += c;
            }
        }
        if (bold) return Fail(pendingLine, "unterminated *bold* text");
        flush(Span::Text);
        Current()->paragraphs.push_back(paragraph);
        return true;
    }

    bool Check() {
        std::map<std::string, const Topic*> byName;
        std::map<int32_t, const Topic*> byHash;
        std::map<uint32_t, const Topic*> byId;
        std::map<std::string, const Topic*> byKeyword;
        size_t keywordIndex = 0;
        for (const Topic& t : project->topics) {
            if (byName.count(t.context)) return Fail(t.line, "context '" + t.context + "' is defined twice");
            const int32_t hash = ContextHash(t.context);
            if (byHash.count(hash))
                return Fail(t.line, "context '" + t.context + "' has the same hash as '" + byHash[hash]->context + "'");
            byName[t.context] = &t;
            byHash[hash] = &t;
            if (!t.popup && t.title.empty()) return Fail(t.line, "topic '" + t.context + "' has no @title");
            if (!t.popup && PageName(t) == kIndexPage)
                return Fail(t.line, "topic name '" + t.context + "' is taken by the contents page");
            if (t.paragraphs.empty()) return Fail(t.line, "topic '" + t.context + "' has no text");
            for (uint32_t id : t.ids) {
                if (byId.count(id))
                    return Fail(t.line, "id " + std::to_string(id) + " is given twice ('" + byId[id]->context +
                                            "' and '" + t.context + "')");
                byId[id] = &t;
            }
            for (const std::string& k : t.keywords) {
                std::string folded = k;
                std::transform(folded.begin(), folded.end(), folded.begin(), ::tolower);
                // Wine's index opens only keywords with one topic, so each word leads to one place.
                if (byKeyword.count(folded))
                    return Fail(keywordLines[keywordIndex], "index word '" + k + "' is given to two topics");
                byKeyword[folded] = &t;
                ++keywordIndex;
            }
        }
        for (const auto& link : links) {
            if (!byName.count(link.first)) return Fail(link.second, "link to unknown topic '" + link.first + "'");
        }
        for (const auto& r : required) {
            if (!byId.count(r.id)) return Fail(r.line, "required id " + r.token + " has no topic");
        }
        if (std::none_of(project->topics.begin(), project->topics.end(), [](const Topic& t) { return !t.popup; }))
            return Fail(line, "no @topic: the file needs a main topic");
        // A popup's text is also part of a page, under its label, so the pages hold all the help;
        // the program shows it in a window of bounded size.
        for (const Topic& t : project->topics) {
            if (!t.popup) continue;
            if (t.page.empty()) return Fail(t.line, "popup '" + t.context + "' needs @page: the topic that shows it");
            const auto page = byName.find(t.page);
            if (page == byName.end() || page->second->popup)
                return Fail(t.line, "popup '" + t.context + "': @page '" + t.page + "' is not a @topic");
            if (t.label.empty()) return Fail(t.line, "popup '" + t.context + "' needs @label: the part it explains");
            if (PopupText(t).size() > helptexts::kMaxText)
                return Fail(t.line, "popup '" + t.context + "' is longer than " + std::to_string(helptexts::kMaxText) +
                                        " characters");
        }
        return true;
    }

    struct Required {
        uint32_t id;
        std::string token;
        int line;
    };

    std::string file;
    const std::map<std::string, uint32_t>& names;
    Project* project;
    int line = 0;
    std::string pending;
    Paragraph::Style pendingStyle = Paragraph::Body;
    int pendingLine = 0;
    std::vector<std::pair<std::string, int>> links;
    std::vector<Required> required;
    std::vector<int> keywordLines;
};

// ---- |TOPIC records. ----

enum Font { kBody = 0, kBold = 1, kTitle = 2 };

// One TOPICLINK before its neighbours' positions are known.
struct Record {
    uint8_t type;
    Bytes data1;              // LinkData1
    Bytes data2;              // LinkData2
    uint32_t textLength = 0;  // characters counted for topic offsets (text records only)
    size_t topic;
    uint32_t start = 0;  // offset in the stream of block data
    uint32_t Size() const { return static_cast<uint32_t>(21 + data1.size() + data2.size()); }
};

// The formatting data and text of one paragraph: one string before each command, and one more
// string before the closing 0xFF.
Record TextRecord(const Paragraph& p, const std::vector<Topic>& topics, bool title, const std::string& titleText) {
    std::vector<std::string> strings;
    Bytes commands;
    std::string pending;
    auto command = [&](std::initializer_list<uint32_t> bytes) {
        strings.push_back(pending);
        pending.clear();
        for (uint32_t b : bytes) Put8(commands, b);
    };
    auto font = [&](Font f) { command({0x80, static_cast<uint32_t>(f), 0}); };

    // Paragraph layout in half points.
    Bytes info;
    Put8(info, 0);           // unknown, always 0
    Put8(info, 0x80);        // unknown biased byte, 0
    Put16(info, 0);          // id
    uint16_t bits = 0x0002;  // spacing above follows
    int above = 6, left = 0, first = 0;
    std::vector<int> tabs;
    if (title) {
        above = 0;
    } else if (p.style == Paragraph::Heading) {
        above = 12;
    } else if (p.style == Paragraph::Bullet) {
        left = 24;
        first = -16;
        tabs.push_back(24);
        above = 3;
    } else if (p.style == Paragraph::KeyRow) {
        // Wide enough for "Ctrl+Page Up/Down" in bold under both viewers.
        left = 220;
        first = -220;
        tabs.push_back(220);
        above = 3;
    }
    if (left) bits |= 0x0010;
    if (first) bits |= 0x0040;
    if (!tabs.empty()) bits |= 0x0200;
    Put16(info, bits);
    PutCompressedShort(info, above);
    if (left) PutCompressedShort(info, left);
    if (first) PutCompressedShort(info, first);
    if (!tabs.empty()) {
        PutCompressedShort(info, static_cast<int32_t>(tabs.size()));
        for (int t : tabs) PutCompressedUShort(info, static_cast<uint32_t>(t));
    }

    if (title) {
        font(kTitle);
        pending = titleText;
    } else {
        font(p.style == Paragraph::Heading ? kBold : kBody);
        if (p.style == Paragraph::Bullet) {
            pending = "\x95";
            command({0x83});
        }
        for (const Span& s : p.spans) {
            switch (s.kind) {
            case Span::Text:
                pending += s.text;
                break;
            case Span::Bold:
                if (p.style != Paragraph::Heading) font(kBold);
                pending += s.text;
                if (p.style != Paragraph::Heading) font(kBody);
                break;
            case Span::Tab:
                command({0x83});
                break;
            case Span::Link: {
                const auto target =
                    std::find_if(topics.begin(), topics.end(), [&](const Topic& t) { return t.context == s.target; });
                const uint32_t hash = static_cast<uint32_t>(ContextHash(s.target));
                // 0xE3 jumps to a topic, 0xE2 shows it as a popup; both green and underlined.
                command(
                    {target->popup ? 0xE2u : 0xE3u, hash & 0xFF, (hash >> 8) & 0xFF, (hash >> 16) & 0xFF, hash >> 24});
                pending += s.text;
                command({0x89});
                break;
            }
            }
        }
    }
    command({0x82});  // end of paragraph
    strings.push_back(pending);
    Put8(commands, 0xFF);

    Record r;
    r.type = 0x20;
    for (const std::string& s : strings) PutString(r.data2, s);
    r.textLength = static_cast<uint32_t>(r.data2.size());
    Bytes rest;
    PutCompressedUShort(rest, r.textLength);
    Append(rest, info);
    Append(rest, commands);
    // The size of the topic's text and formatting together.
    PutCompressedLong(r.data1, static_cast<int32_t>(r.data2.size() + rest.size() + 2));
    Append(r.data1, rest);
    return r;
}

}  // namespace

// ---- Public pieces. ----

uint32_t Windows1252CodePoint(unsigned char byte) {
    if (byte < 0x80 || byte >= 0xA0) return byte;
    for (const auto& e : kExtra) {
        if (e.byte == byte) return e.code;
    }
    return 0xFFFD;  // never made by the parser
}

std::map<std::string, uint32_t> ReadIdNames(const std::string& header) {
    std::map<std::string, uint32_t> names;
    std::istringstream in(header);
    for (std::string line; std::getline(in, line);) {
        const std::vector<std::string> w = Words(line);
        if (w.size() >= 3 && w[0] == "#define") {
            char* end = nullptr;
            const unsigned long long v = std::strtoull(w[2].c_str(), &end, 0);
            if (end && !*end && std::isdigit(static_cast<unsigned char>(w[2][0])))
                names[w[1]] = static_cast<uint32_t>(v);
        }
    }
    return names;
}

bool Parse(const std::string& text, const std::string& fileName, const std::map<std::string, uint32_t>& names,
           Project* out, std::string* error) {
    Parser parser(fileName, names, out);
    if (parser.Run(text)) return true;
    *error = parser.error;
    return false;
}

Bytes BTree(const std::vector<TreeEntry>& entries, uint16_t pageSize, const char* structure, uint16_t flags) {
    struct Page {
        Bytes body;
        Bytes firstKey;
        uint16_t count = 0;
        uint16_t link = 0xFFFF;  // a leaf's previous page, an index page's first child
    };
    std::vector<Page> pages;
    std::vector<size_t> level;  // the pages of the level being built
    // Leaves, filled in order.
    for (const TreeEntry& e : entries) {
        const size_t need = e.key.size() + e.value.size();
        if (level.empty() || 8 + pages[level.back()].body.size() + need > pageSize) {
            pages.push_back(Page{});
            pages.back().firstKey = e.key;
            level.push_back(pages.size() - 1);
        }
        Page& p = pages[level.back()];
        Append(p.body, e.key);
        Append(p.body, e.value);
        ++p.count;
    }
    if (pages.empty()) {
        pages.push_back(Page{});
        level.push_back(0);
    }
    const size_t leaves = pages.size();
    int levels = 1;
    // Index levels until one page holds them all.
    while (level.size() > 1) {
        std::vector<size_t> above;
        for (size_t i = 0; i < level.size(); ++i) {
            const Page child = pages[level[i]];
            const size_t need = child.firstKey.size() + 2;
            if (above.empty() || 6 + pages[above.back()].body.size() + need > pageSize) {
                pages.push_back(Page{});
                pages.back().firstKey = child.firstKey;
                pages.back().link = static_cast<uint16_t>(level[i]);
                above.push_back(pages.size() - 1);
                continue;
            }
            Page& p = pages[above.back()];
            Append(p.body, child.firstKey);
            Put16(p.body, static_cast<uint32_t>(level[i]));
            ++p.count;
        }
        level = above;
        ++levels;
    }

    Bytes b;
    Put16(b, 0x293B);
    Put16(b, flags);
    Put16(b, pageSize);
    char s[16] = {};
    std::strncpy(s, structure, sizeof s - 1);
    b.insert(b.end(), s, s + 16);
    Put16(b, 0);                                // must be zero
    Put16(b, 0);                                // page splits
    Put16(b, static_cast<uint32_t>(level[0]));  // root
    Put16(b, 0xFFFF);                           // must be -1
    Put16(b, static_cast<uint32_t>(pages.size()));
    Put16(b, static_cast<uint32_t>(levels));
    Put32(b, static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < pages.size(); ++i) {
        const Page& p = pages[i];
        const bool leaf = i < leaves;
        const size_t header = leaf ? 8 : 6;
        Put16(b, static_cast<uint32_t>(pageSize - header - p.body.size()));  // unused bytes
        Put16(b, p.count);
        if (leaf) {
            Put16(b, i == 0 ? 0xFFFF : static_cast<uint32_t>(i - 1));
            Put16(b, i + 1 == leaves ? 0xFFFF : static_cast<uint32_t>(i + 1));
        } else {
            Put16(b, p.link);
        }
        Append(b, p.body);
        b.resize(b.size() + pageSize - header - p.body.size(), 0);
    }
    return b;
}

Bytes WindowRecord(const Window& w) {
    Bytes b;
    // Name, caption, x, y, width and height are given; type, maximise and colours are not.
    Put16(b, 0x0002 | 0x0004 | 0x0008 | 0x0010 | 0x0020 | 0x0040);
    auto field = [&](const std::string& s, size_t size) {
        const size_t at = b.size();
        b.resize(at + size, 0);
        std::memcpy(&b[at], s.data(), std::min(s.size(), size - 1));
    };
    field("", 10);  // type
    field(w.name, 9);
    field(w.caption, 51);
    Put16(b, static_cast<uint16_t>(w.x));
    Put16(b, static_cast<uint16_t>(w.y));
    Put16(b, static_cast<uint16_t>(w.width));
    Put16(b, static_cast<uint16_t>(w.height));
    Put16(b, 0);  // maximise
    Put32(b, 0);  // colour of the scrolling region
    Put32(b, 0);  // colour of the non-scrolling region
    return b;
}

uint32_t RecordPosition(uint32_t streamOffset) {
    return (streamOffset / kTopicBlockData) * 0x4000 + 12 + streamOffset % kTopicBlockData;
}

TopicFile BuildTopics(const Project& project) {
    std::vector<Record> records;
    std::vector<size_t> firstRecord;  // index of each topic's header record
    for (size_t t = 0; t < project.topics.size(); ++t) {
        const Topic& topic = project.topics[t];
        firstRecord.push_back(records.size());
        Record header;
        header.type = 0x02;
        header.topic = t;
        header.data1.resize(28, 0);  // filled once positions are known
        header.data2.assign(topic.title.begin(), topic.title.end());
        records.push_back(header);
        if (!topic.popup) {
            Record title = TextRecord(Paragraph{}, project.topics, true, topic.title);
            title.topic = t;
            records.push_back(title);
        }
        for (const Paragraph& p : topic.paragraphs) {
            Record r = TextRecord(p, project.topics, false, "");
            r.topic = t;
            records.push_back(r);
        }
    }

    // Place the records; a record's 21-byte header never crosses a block boundary.
    uint32_t at = 0;
    for (Record& r : records) {
        if (kTopicBlockData - at % kTopicBlockData < 21) at += kTopicBlockData - at % kTopicBlockData;
        r.start = at;
        at += r.Size();
    }
    const uint32_t blocks = at / kTopicBlockData + 1;

    TopicFile out;
    // Topic offsets: characters of the text records starting earlier in the same block.
    uint32_t block = 0, characters = 0;
    for (const Record& r : records) {
        if (r.start / kTopicBlockData != block) {
            block = r.start / kTopicBlockData;
            characters = 0;
        }
        if (r.type == 0x02) {
            out.offsets.push_back(block * 0x8000 + characters);
            out.headerAt.push_back(RecordPosition(r.start));
        }
        characters += r.textLength;
    }

    Bytes stream(blocks * kTopicBlockData, 0);
    for (size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        const uint32_t none = 0xFFFFFFFF;
        if (r.type == 0x02) {
            // The topic header: its size, no browse sequence, number, regions, next topic.
            const size_t t = r.topic;
            const size_t end = t + 1 < firstRecord.size() ? firstRecord[t + 1] : records.size();
            uint32_t size = 0;
            for (size_t k = firstRecord[t]; k < end; ++k) size += records[k].Size();
            Set32(r.data1, 0, size);
            Set32(r.data1, 4, none);
            Set32(r.data1, 8, none);
            Set32(r.data1, 12, static_cast<uint32_t>(t));
            Set32(r.data1, 16, none);  // no non-scrolling region
            Set32(r.data1, 20, i + 1 < end ? RecordPosition(records[i + 1].start) : none);
            Set32(r.data1, 24, end < records.size() ? RecordPosition(records[end].start) : none);
        }
        Bytes link;
        Put32(link, r.Size());
        Put32(link, static_cast<uint32_t>(r.data2.size()));
        Put32(link, i == 0 ? none : RecordPosition(records[i - 1].start));
        Put32(link, i + 1 < records.size() ? RecordPosition(records[i + 1].start) : none);
        Put32(link, static_cast<uint32_t>(21 + r.data1.size()));
        Put8(link, r.type);
        Append(link, r.data1);
        Append(link, r.data2);
        std::copy(link.begin(), link.end(), stream.begin() + r.start);
    }

    // Each block: the last record and the last topic header before it, its first record.
    for (uint32_t b = 0; b < blocks; ++b) {
        uint32_t lastLink = 0xFFFFFFFF, first = 0xFFFFFFFF, lastHeader = 0xFFFFFFFF;
        for (const Record& r : records) {
            const uint32_t rb = r.start / kTopicBlockData;
            if (rb < b) {
                lastLink = RecordPosition(r.start);
                if (r.type == 0x02) lastHeader = lastLink;
            } else if (first == 0xFFFFFFFF) {
                first = RecordPosition(r.start);
            }
        }
        Put32(out.bytes, lastLink);
        Put32(out.bytes, first);
        Put32(out.bytes, lastHeader);
        out.bytes.insert(out.bytes.end(), stream.begin() + b * kTopicBlockData,
                         stream.begin() + (b + 1) * kTopicBlockData);
    }
    return out;
}

Bytes ContextMap(const std::vector<std::pair<uint32_t, uint32_t>>& entries) {
    Bytes b;
    Put16(b, static_cast<uint32_t>(entries.size()));
    for (const auto& e : entries) {
        Put32(b, e.first);
        Put32(b, e.second);
    }
    return b;
}

Bytes Compile(const Project& project) {
    const TopicFile topics = BuildTopics(project);
    const auto& all = project.topics;
    const size_t contents = static_cast<size_t>(
        std::find_if(all.begin(), all.end(), [](const Topic& t) { return !t.popup; }) - all.begin());

    std::map<std::string, Bytes> files;
    files["|TOPIC"] = topics.bytes;

    // A stamp that changes with the content, so WinHelp 4 rebuilds its cached index for a new file.
    uint32_t stamp = 2166136261u;
    for (uint8_t byte : topics.bytes) stamp = (stamp ^ byte) * 16777619u;

    Bytes system;
    Put16(system, 0x036C);
    Put16(system, 33);  // WinHelp 4
    Put16(system, 1);
    Put32(system, stamp & 0x7FFFFFFF);
    Put16(system, 0);  // not compressed, 4 KB topic blocks
    auto record = [&](uint16_t type, const Bytes& data) {
        Put16(system, type);
        Put16(system, static_cast<uint32_t>(data.size()));
        Append(system, data);
    };
    Bytes title;
    PutString(title, project.title);
    record(1, title);
    Bytes start;
    Put32(start, topics.offsets[contents]);
    record(3, start);
    // Pixels under Wine, 1/1024 of the screen under Windows: fits 640 x 480 either way.
    record(6, WindowRecord(Window{"NormWin", project.title, 112, 32, 520, 432}));
    Bytes charset;
    Put16(charset, 0);  // ANSI
    record(11, charset);
    files["|SYSTEM"] = system;

    Bytes font;
    const char face[] = "Arial";
    Put16(font, 1);
    Put16(font, 3);
    Put16(font, 8);
    Put16(font, 8 + 32);
    const size_t at = font.size();
    font.resize(at + 32, 0);
    std::memcpy(&font[at], face, sizeof face);
    const struct {
        uint8_t attributes, halfPoints;
        uint32_t colour;
    } fonts[] = {{0, 20, 0x000000}, {1, 20, 0x000000}, {1, 26, 0x800000}};
    for (const auto& f : fonts) {
        Put8(font, f.attributes);
        Put8(font, f.halfPoints);
        Put8(font, 3);  // swiss
        Put16(font, 0);
        Put8(font, f.colour >> 16);  // red, green, blue
        Put8(font, f.colour >> 8);
        Put8(font, f.colour);
        Put8(font, 0xFF);
        Put8(font, 0xFF);
        Put8(font, 0xFF);
    }
    files["|FONT"] = font;

    // |CONTEXT: every context name by signed hash.
    std::vector<std::pair<int32_t, uint32_t>> hashes;
    for (size_t t = 0; t < all.size(); ++t) hashes.push_back({ContextHash(all[t].context), topics.offsets[t]});
    std::sort(hashes.begin(), hashes.end());
    std::vector<TreeEntry> context;
    for (const auto& h : hashes) {
        TreeEntry e;
        Put32(e.key, static_cast<uint32_t>(h.first));
        Put32(e.value, h.second);
        context.push_back(e);
    }
    files["|CONTEXT"] = BTree(context, 2048, "L4");

    std::vector<std::pair<uint32_t, uint32_t>> ids;
    for (size_t t = 0; t < all.size(); ++t) {
        for (uint32_t id : all[t].ids) ids.push_back({id, topics.offsets[t]});
    }
    std::sort(ids.begin(), ids.end());
    files["|CTXOMAP"] = ContextMap(ids);

    std::vector<TreeEntry> titles;
    for (size_t t = 0; t < all.size(); ++t) {
        if (all[t].title.empty()) continue;
        TreeEntry e;
        Put32(e.key, topics.offsets[t]);
        PutString(e.value, all[t].title);
        titles.push_back(e);
    }
    files["|TTLBTREE"] = BTree(titles, 2048, "Lz");

    // The index: keywords in case-insensitive order, each with the offset of its topic in |KWDATA.
    std::vector<std::pair<std::string, uint32_t>> keywords;
    for (size_t t = 0; t < all.size(); ++t) {
        for (const std::string& k : all[t].keywords) keywords.push_back({k, topics.offsets[t]});
    }
    auto folded = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), ::tolower);
        return s;
    };
    std::sort(keywords.begin(), keywords.end(), [&](const auto& a, const auto& b) {
        return folded(a.first) != folded(b.first) ? folded(a.first) < folded(b.first) : a.first < b.first;
    });
    std::vector<TreeEntry> words;
    Bytes data;
    for (const auto& k : keywords) {
        TreeEntry e;
        PutString(e.key, k.first);
        Put16(e.value, 1);
        Put32(e.value, static_cast<uint32_t>(data.size()));
        Put32(data, k.second);
        words.push_back(e);
    }
    const Bytes tree = BTree(words, 2048, "F24");
    files["|KWBTREE"] = tree;
    files["|KWDATA"] = data;
    // |KWMAP: for each leaf page, the number of its first keyword.
    Bytes map;
    const uint16_t pagesTotal = static_cast<uint16_t>(tree[30] | (tree[31] << 8));
    std::vector<std::pair<uint32_t, uint16_t>> leafStarts;
    uint32_t counted = 0;
    for (uint16_t page = 0; page < pagesTotal; ++page) {
        const size_t p = 38 + static_cast<size_t>(page) * 2048;
        const uint16_t entries = static_cast<uint16_t>(tree[p + 2] | (tree[p + 3] << 8));
        if (page > 0 && counted >= words.size()) break;  // index pages follow the leaves
        leafStarts.push_back({counted, page});
        counted += entries;
    }
    Put16(map, static_cast<uint32_t>(leafStarts.size()));
    for (const auto& l : leafStarts) {
        Put32(map, l.first);
        Put16(map, l.second);
    }
    files["|KWMAP"] = map;

    // The file: header, the internal files in name order, then the directory.
    Bytes out(16, 0);
    std::vector<TreeEntry> directory;
    for (const auto& f : files) {  // std::map keeps strcmp order
        TreeEntry e;
        PutString(e.key, f.first);
        Put32(e.value, static_cast<uint32_t>(out.size()));
        directory.push_back(e);
        Append(out, InternalFile(f.second));
    }
    const uint32_t directoryAt = static_cast<uint32_t>(out.size());
    Append(out, InternalFile(BTree(directory, 1024, "z4", 0x0402)));
    Set32(out, 0, 0x00035F3F);
    Set32(out, 4, directoryAt);
    Set32(out, 8, 0xFFFFFFFF);  // no free list
    Set32(out, 12, static_cast<uint32_t>(out.size()));
    return out;
}

}  // namespace helpc

#ifndef HELPC_NO_MAIN
namespace {
bool ReadFile(const char* path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream s;
    s << in.rdbuf();
    *text = s.str();
    return true;
}

bool WriteFile(const std::filesystem::path& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (out) return true;
    std::cerr << path.string() << ": cannot write\n";
    return false;
}

// The pages replace whatever pages the folder held, so a topic taken out leaves no page behind.
bool WritePages(const std::map<std::string, std::string>& pages, const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".html" && !pages.count(entry.path().filename().string()))
            std::filesystem::remove(entry.path(), error);
    }
    for (const auto& page : pages) {
        if (!WriteFile(folder / page.first, page.second.data(), page.second.size())) return false;
    }
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::cerr << "usage: helpc SOURCE ID-HEADER HELP-FILE PAGES-FOLDER TEXTS-FILE\n";
        return 2;
    }
    std::string source, header;
    if (!ReadFile(argv[1], &source)) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    if (!ReadFile(argv[2], &header)) {
        std::cerr << argv[2] << ": cannot read\n";
        return 1;
    }
    helpc::Project project;
    std::string error;
    if (!helpc::Parse(source, argv[1], helpc::ReadIdNames(header), &project, &error)) {
        std::cerr << error << "\n";
        return 1;
    }
    const helpc::Bytes file = helpc::Compile(project);
    const helpc::Bytes texts = helpc::HelpTexts(project);
    const bool written = WriteFile(argv[3], file.data(), file.size()) && WritePages(helpc::Pages(project), argv[4]) &&
                         WriteFile(argv[5], texts.data(), texts.size());
    return written ? 0 : 1;
}
#endif
