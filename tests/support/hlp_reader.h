// Reads a WinHelp file the way a viewer does, independently of the writer in tools/helpc: the
// directory and B-tree searches, |CTXOMAP, |CONTEXT, |SYSTEM records and a walk of |TOPIC that
// yields each topic's offset, title and text. Header-only and free of Win32, so that the host,
// component and end-to-end tests can all use it.
#ifndef PEERIX_TEST_HLP_READER_H
#define PEERIX_TEST_HLP_READER_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/helphash.h"

namespace hlp {

using Bytes = std::vector<uint8_t>;

inline uint32_t U16(const Bytes& b, size_t at) {
    return at + 2 <= b.size() ? b[at] | (b[at + 1] << 8) : 0;
}
inline uint32_t U32(const Bytes& b, size_t at) {
    return at + 4 <= b.size() ? U16(b, at) | (static_cast<uint32_t>(U16(b, at + 2)) << 16) : 0;
}
inline std::string Z(const Bytes& b, size_t at) {
    std::string s;
    while (at < b.size() && b[at]) s += static_cast<char>(b[at++]);
    return s;
}

inline Bytes ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A B-tree laid out at `at` (its 38-byte header first). The entry parser returns an entry's size
// and, through key, the bytes compared in index pages; keySize gives the key size in an index
// entry (the key is followed by a 2-byte page number).
struct Tree {
    const Bytes* file;
    size_t at;
    std::function<size_t(size_t entry)> leafSize;
    std::function<size_t(size_t entry)> keySize;

    uint32_t PageSize() const { return U16(*file, at + 4); }
    uint32_t Root() const { return U16(*file, at + 26); }
    uint32_t Pages() const { return U16(*file, at + 30); }
    uint32_t Levels() const { return U16(*file, at + 32); }
    uint32_t Entries() const { return U32(*file, at + 34); }
    size_t Page(uint32_t n) const { return at + 38 + static_cast<size_t>(n) * PageSize(); }

    // Every leaf entry's offset, from the first leaf (reached through the index pages' first
    // children) along the next-page links.
    std::vector<size_t> Enumerate() const {
        std::vector<size_t> out;
        uint32_t page = Root();
        for (uint32_t level = Levels(); level > 1; --level) page = U16(*file, Page(page) + 4);
        for (int guard = 0; page != 0xFFFF && guard < 100000; ++guard) {
            size_t e = Page(page) + 8;
            for (uint32_t i = 0, n = U16(*file, Page(page) + 2); i < n; ++i) {
                out.push_back(e);
                e += leafSize(e);
            }
            page = U16(*file, Page(page) + 6);
        }
        return out;
    }

    // The leaf entry for which compare(entry) == 0, descending through the index pages the way
    // the viewer does (the last index key not above the searched one), or 0.
    size_t Find(const std::function<int(size_t key)>& compare) const {
        uint32_t page = Root();
        for (uint32_t level = Levels(); level > 1; --level) {
            const size_t p = Page(page);
            uint32_t child = U16(*file, p + 4);
            size_t e = p + 6;
            for (uint32_t i = 0, n = U16(*file, p + 2); i < n; ++i) {
                if (compare(e) > 0) break;
                child = U16(*file, e + keySize(e));
                e += keySize(e) + 2;
            }
            page = child;
        }
        size_t e = Page(page) + 8;
        for (uint32_t i = 0, n = U16(*file, Page(page) + 2); i < n; ++i) {
            const int c = compare(e);
            if (c == 0) return e;
            if (c > 0) return 0;
            e += leafSize(e);
        }
        return 0;
    }
};

class File {
public:
    explicit File(Bytes bytes) : b(std::move(bytes)) {}
    const Bytes& bytes() const { return b; }
    bool Valid() const { return b.size() >= 16 && U32(b, 0) == 0x00035F3F && U32(b, 12) == b.size(); }

    Tree Directory() const {
        return Tree{&b, U32(b, 4) + 9, [this](size_t e) { return Z(b, e).size() + 5; },
                    [this](size_t e) { return Z(b, e).size() + 1; }};
    }

    // The data of an internal file (after its 9-byte header), found through the directory tree.
    bool Internal(const std::string& name, size_t* data, size_t* size) const {
        const size_t e = Directory().Find([&](size_t key) { return std::strcmp(Z(b, key).c_str(), name.c_str()); });
        if (!e) return false;
        const size_t header = U32(b, e + name.size() + 1);
        *data = header + 9;
        *size = U32(b, header + 4);
        return U32(b, header) == *size + 9 && *data + *size <= b.size();
    }

    std::map<uint32_t, uint32_t> ContextMap() const {
        std::map<uint32_t, uint32_t> map;
        size_t at, size;
        if (!Internal("|CTXOMAP", &at, &size)) return map;
        for (uint32_t i = 0, n = U16(b, at); i < n; ++i) map[U32(b, at + 2 + 8 * i)] = U32(b, at + 6 + 8 * i);
        return map;
    }

    Tree Context() const {
        size_t at = 0, size;
        Internal("|CONTEXT", &at, &size);
        return Tree{&b, at, [](size_t) { return size_t{8}; }, [](size_t) { return size_t{4}; }};
    }

    // The topic offset of a context hash through the |CONTEXT tree, compared as signed numbers.
    bool OffsetOfHash(int32_t hash, uint32_t* offset) const {
        const size_t e = Context().Find([&](size_t key) {
            const int32_t k = static_cast<int32_t>(U32(b, key));
            return k < hash ? -1 : k > hash ? 1 : 0;
        });
        if (!e) return false;
        *offset = U32(b, e + 4);
        return true;
    }

    // |SYSTEM records: type -> data of the first record of that type.
    std::map<uint32_t, Bytes> SystemRecords() const {
        std::map<uint32_t, Bytes> records;
        size_t at, size;
        if (!Internal("|SYSTEM", &at, &size)) return records;
        for (size_t p = at + 12; p + 4 <= at + size; p += 4 + U16(b, p + 2)) {
            if (!records.count(U16(b, p)))
                records[U16(b, p)] = Bytes(b.begin() + p + 4, b.begin() + p + 4 + U16(b, p + 2));
        }
        return records;
    }

    // The topic that a topic offset opens: the one with the greatest offset at or below it.
    struct Topic;
    const Topic* TopicAt(const std::vector<Topic>& topics, uint32_t offset) const;

    struct Topic {
        uint32_t offset = 0;    // block * 0x8000 + characters before it in its block
        uint32_t position = 0;  // record position of its header
        std::string title;
        std::string text;  // the strings of its text records, paragraphs separated by '\n'
    };

    // Walks |TOPIC from the first record along the next links; 4 KB blocks, 12-byte headers.
    std::vector<Topic> Topics() const {
        std::vector<Topic> topics;
        size_t at, size;
        if (!Internal("|TOPIC", &at, &size)) return topics;
        Bytes data;  // the blocks' data without their headers, as a viewer holds them
        for (size_t block = at; block < at + size; block += 4096) {
            const size_t end = std::min(block + 4096, at + size);
            if (block + 12 < end) data.insert(data.end(), b.begin() + block + 12, b.begin() + end);
        }
        uint32_t position = 12, lastBlock = 0xFFFFFFFF, characters = 0;
        for (int guard = 0; position != 0xFFFFFFFF && guard < 100000; ++guard) {
            const uint32_t block = (position - 12) >> 14, offset = (position - 12) & 0x3FFF;
            const size_t r = static_cast<size_t>(block) * 4084 + offset;
            if (offset >= 4084 || r + 21 > data.size()) break;
            if (block != lastBlock) characters = 0, lastBlock = block;
            const uint32_t blockSize = U32(data, r), dataLen2 = U32(data, r + 4), dataLen1 = U32(data, r + 16);
            const uint8_t type = data[r + 20];
            if (type == 0x02) {
                Topic t;
                t.offset = block * 0x8000 + characters;
                t.position = position;
                t.title.assign(data.begin() + r + dataLen1, data.begin() + r + dataLen1 + dataLen2);
                topics.push_back(t);
            } else if (type == 0x20 && !topics.empty()) {
                // LinkData1 starts with a compressed long and the compressed text length.
                size_t p = r + 21;
                p += (data[p] & 1) ? 4 : 2;
                const uint32_t length = (data[p] & 1) ? U16(data, p) / 2 : data[p] / 2;
                characters += length;
                std::string& text = topics.back().text;
                if (!text.empty()) text += '\n';
                for (size_t q = r + dataLen1; q < r + blockSize; ++q) {
                    if (data[q]) text += static_cast<char>(data[q]);
                }
            }
            position = U32(data, r + 12);
        }
        return topics;
    }

private:
    Bytes b;
};

inline const File::Topic* File::TopicAt(const std::vector<Topic>& topics, uint32_t offset) const {
    const Topic* found = nullptr;
    for (const Topic& t : topics) {
        if (t.offset <= offset && (!found || t.offset > found->offset)) found = &t;
    }
    return found;
}

// The first line of a topic's text long enough to recognise it on the screen, cut to 30 characters.
inline std::string Recognisable(const File::Topic& topic) {
    size_t start = 0;
    while (start < topic.text.size()) {
        const size_t end = std::min(topic.text.find('\n', start), topic.text.size());
        if (end - start >= 20) return topic.text.substr(start, std::min<size_t>(end - start, 30));
        start = end + 1;
    }
    return topic.text;
}

}  // namespace hlp

#endif
