// The help compiler: the byte layouts of the file it writes (read back as a viewer reads them),
// its positions in |TOPIC at block boundaries, and the errors of the source with their lines.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "tests/support/hlp_reader.h"
#include "tools/helpc.h"

namespace {

using hlp::U16;
using hlp::U32;

std::string ReadSource(const char* path) {
    std::ifstream in(std::string(PEERIX_SOURCE_DIR) + "/" + path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const std::map<std::string, uint32_t> kNames = {{"HID_A", 113}, {"BASE", 0x808E0000u}, {"CTL", 0x3EB}};

helpc::Project MustParse(const std::string& text) {
    helpc::Project p;
    std::string error;
    EXPECT_TRUE(helpc::Parse(text, "t.help", kNames, &p, &error)) << error;
    return p;
}

std::string ErrorOf(const std::string& text) {
    helpc::Project p;
    std::string error;
    if (helpc::Parse(text, "t.help", kNames, &p, &error)) return "(accepted)";
    return error;
}

helpc::TreeEntry Entry(uint32_t key, uint32_t value) {
    helpc::TreeEntry e;
    for (int i = 0; i < 4; ++i) e.key.push_back(static_cast<uint8_t>(key >> (8 * i)));
    for (int i = 0; i < 4; ++i) e.value.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return e;
}

hlp::Tree LongTree(const hlp::Bytes& b) {
    return hlp::Tree{&b, 0, [](size_t) { return size_t{8}; }, [](size_t) { return size_t{4}; }};
}

}  // namespace

TEST(HelpCompiler, ContextHashFollowsTheViewersTableAndIsSigned) {
    EXPECT_EQ(helpc::ContextHash("a"), 17);
    EXPECT_EQ(helpc::ContextHash("A1"), 732);
    EXPECT_EQ(helpc::ContextHash("x.0_"), 3202911);  // '.' 12, '0' 10, '_' 13
    EXPECT_EQ(helpc::ContextHash("a-b!"), 749);      // other characters count for nothing
    EXPECT_EQ(helpc::ContextHash("main"), helpc::ContextHash("MAIN"));
    EXPECT_EQ(helpc::ContextHash("zzzzzzz"), 1235671458);           // wrapped modulo 2^32
    EXPECT_EQ(helpc::ContextHash("btn_copy_zoomed"), -1394046723);  // and read as signed
}

TEST(HelpCompiler, BTreeLeafAndIndexPagesLinkAndFindEveryEntry) {
    // One leaf: header fields, the free bytes and no neighbours.
    {
        const hlp::Bytes b = helpc::BTree({Entry(1, 10), Entry(2, 20), Entry(3, 30)}, 2048, "L4");
        ASSERT_EQ(b.size(), 38u + 2048u);
        EXPECT_EQ(U16(b, 0), 0x293Bu);
        EXPECT_EQ(U16(b, 2), 0x0002u);
        EXPECT_EQ(U16(b, 4), 2048u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[6])), "L4");
        EXPECT_EQ(U16(b, 28), 0xFFFFu);
        EXPECT_EQ(U16(b, 26), 0u);  // root
        EXPECT_EQ(U16(b, 30), 1u);  // pages
        EXPECT_EQ(U16(b, 32), 1u);  // levels
        EXPECT_EQ(U32(b, 34), 3u);
        EXPECT_EQ(U16(b, 38), 2048u - 8 - 24);  // unused
        EXPECT_EQ(U16(b, 40), 3u);
        EXPECT_EQ(U16(b, 42), 0xFFFFu);
        EXPECT_EQ(U16(b, 44), 0xFFFFu);
        EXPECT_EQ(U32(b, 46 + 16), 3u);
        EXPECT_EQ(U32(b, 46 + 20), 30u);
    }
    // 64-byte pages hold 7 leaf entries or 9 index entries: 20 entries make three leaves under one
    // index page, 80 entries twelve leaves under two index pages under a root.
    for (const uint32_t count : {20u, 80u}) {
        std::vector<helpc::TreeEntry> entries;
        for (uint32_t i = 0; i < count; ++i) entries.push_back(Entry(i * 5, i + 1000));
        const hlp::Bytes b = helpc::BTree(entries, 64, "L4");
        const hlp::Tree tree = LongTree(b);
        const uint32_t leaves = (count + 6) / 7;
        EXPECT_EQ(tree.Levels(), count == 20 ? 2u : 3u) << count;
        EXPECT_EQ(tree.Pages(), count == 20 ? 4u : 15u) << count;
        EXPECT_EQ(tree.Root(), tree.Pages() - 1) << count;
        EXPECT_EQ(b.size(), 38u + 64u * tree.Pages()) << count;
        for (uint32_t page = 0; page < leaves; ++page) {
            const size_t p = tree.Page(page);
            EXPECT_EQ(U16(b, p + 2), page + 1 < leaves ? 7u : count - 7 * (leaves - 1)) << page;
            EXPECT_EQ(U16(b, p + 4), page == 0 ? 0xFFFFu : page - 1) << page;
            EXPECT_EQ(U16(b, p + 6), page + 1 == leaves ? 0xFFFFu : page + 1) << page;
            EXPECT_EQ(U16(b, p), 64u - 8 - 8 * U16(b, p + 2)) << page;
        }
        // The first index page: first child in its header, then (first key, page) of the others.
        const size_t index = tree.Page(leaves);
        EXPECT_EQ(U16(b, index + 4), 0u);
        EXPECT_EQ(U32(b, index + 6), 7u * 5u);
        EXPECT_EQ(U16(b, index + 10), 1u);
        if (count == 80) {
            // The root points at the second index page by the first key of leaf 10.
            const size_t root = tree.Page(tree.Root());
            EXPECT_EQ(U16(b, root + 2), 1u);
            EXPECT_EQ(U16(b, root + 4), leaves);
            EXPECT_EQ(U32(b, root + 6), 70u * 5u);
            EXPECT_EQ(U16(b, root + 10), leaves + 1);
        }
        const std::vector<size_t> all = tree.Enumerate();
        ASSERT_EQ(all.size(), count);
        for (uint32_t i = 0; i < count; ++i) {
            EXPECT_EQ(U32(b, all[i]), i * 5);
            const size_t found = tree.Find([&](size_t key) {
                const uint32_t k = U32(b, key);
                return k < i * 5 ? -1 : k > i * 5 ? 1 : 0;
            });
            ASSERT_NE(found, 0u) << i;
            EXPECT_EQ(U32(b, found + 4), i + 1000);
        }
        EXPECT_EQ(tree.Find([&](size_t key) { return U32(b, key) < 7 ? -1 : U32(b, key) > 7 ? 1 : 0; }), 0u);
    }
}

TEST(HelpCompiler, WindowRecordIsNinetyBytesWithCutFields) {
    const hlp::Bytes w = helpc::WindowRecord(helpc::Window{"NormWindow", std::string(60, 'c'), 112, 32, 520, 432});
    ASSERT_EQ(w.size(), 90u);
    EXPECT_EQ(U16(w, 0), 0x007Eu);  // name, caption, x, y, width, height
    EXPECT_EQ(hlp::Z(w, 2), "");
    EXPECT_EQ(hlp::Z(w, 12), "NormWind");  // 9 bytes with the terminator
    EXPECT_EQ(hlp::Z(w, 21), std::string(50, 'c'));
    EXPECT_EQ(U16(w, 72), 112u);
    EXPECT_EQ(U16(w, 74), 32u);
    EXPECT_EQ(U16(w, 76), 520u);
    EXPECT_EQ(U16(w, 78), 432u);
    EXPECT_EQ(U16(w, 80), 0u);
}

TEST(HelpCompiler, RecordHeadersNeverCrossATopicBlockAndBothKindsOfPositionsHold) {
    // Topic "a" grows one character at a time, so topic "b"'s header record moves across the
    // end of block 0: it starts in block 0 only while its 21-byte header fits there, and the
    // paragraph before it may itself run on into block 1.
    bool sawSkip = false, sawFit = false, sawSpan = false;
    for (int n = 3900; n <= 4070; ++n) {
        const helpc::Project p =
            MustParse("@topic a 1\n@title A\n" + std::string(n, 'x') +
                      "\n\n@topic b 2\n@title B\nSecond.\n\n@popup c 3\n@page a\n@label C\nThird.\n");
        const helpc::TopicFile t = helpc::BuildTopics(p);
        ASSERT_EQ(t.headerAt.size(), 3u);
        hlp::Bytes data;  // the blocks' data, headers left out
        for (size_t block = 0; block < t.bytes.size(); block += 4096)
            data.insert(data.end(), t.bytes.begin() + block + 12, t.bytes.begin() + block + 4096);
        auto stream = [](uint32_t position) { return ((position - 12) >> 14) * 4084 + ((position - 12) & 0x3FFF); };
        const uint32_t b = t.headerAt[1];
        const uint32_t before = U32(data, stream(b) + 8);  // the previous record's position
        const uint32_t end = stream(before) + U32(data, stream(before));
        ASSERT_LE(stream(b) % 4084, 4084u - 21u) << n;
        if (end < 4084 && 4084 - end < 21) {
            sawSkip = true;
            EXPECT_EQ(b, 0x400Cu) << n;  // the start of block 1's data
        } else {
            EXPECT_EQ(stream(b), end) << n;
            sawSpan = sawSpan || end > 4084;
            sawFit = sawFit || end < 4084;
        }
        // Topic offsets count characters from the first record starting in the block: 4 for
        // the title record ("", "A", ""), n + 3 for the paragraph.
        EXPECT_EQ(t.offsets[1], b >= 0x4000 ? 0x8000u : static_cast<uint32_t>(n + 7)) << n;
        // Block 1's header: the last record and the last topic header starting before it, then
        // its own first record.
        const bool bInBlock1 = b >= 0x4000;
        EXPECT_EQ(U32(t.bytes, 4096), bInBlock1 ? before : b) << n;
        EXPECT_EQ(U32(t.bytes, 4096 + 8), bInBlock1 ? t.headerAt[0] : b) << n;
        EXPECT_EQ(U32(t.bytes, 4096 + 4), bInBlock1 ? b : U32(data, stream(b) + 12)) << n;
        // A viewer's walk finds the same topics, offsets and intact text.
        const hlp::File f(helpc::Compile(p));
        const std::vector<hlp::File::Topic> topics = f.Topics();
        ASSERT_EQ(topics.size(), 3u) << n;
        EXPECT_EQ(topics[1].offset, t.offsets[1]) << n;
        EXPECT_EQ(topics[1].position, b) << n;
        EXPECT_EQ(topics[0].text, "A\n" + std::string(n, 'x')) << n;
        EXPECT_EQ(topics[2].text, "Third.") << n;
        EXPECT_EQ(f.ContextMap()[2], t.offsets[1]) << n;
    }
    EXPECT_TRUE(sawSkip);
    EXPECT_TRUE(sawFit);
    EXPECT_TRUE(sawSpan);
}

TEST(HelpCompiler, TheFileMapsEveryIdAndNameToItsTopic) {
    const helpc::Project p = MustParse(
        "@topic main 1\n@title Main\n@keywords zoom; Colour\nSee [the popup](pop) and [two](two).\n\n"
        "@topic two BASE+CTL 7\n@title Two\nText of *two*.\n\n@popup pop HID_A\n@page two\n@label Pop\nPopup text.\n");
    const hlp::Bytes bytes = helpc::Compile(p);
    const hlp::File f(bytes);
    ASSERT_TRUE(f.Valid());
    const std::vector<hlp::File::Topic> topics = f.Topics();
    ASSERT_EQ(topics.size(), 3u);
    EXPECT_EQ(topics[0].title, "Main");
    EXPECT_EQ(topics[1].text, "Two\nText of two.");
    EXPECT_EQ(topics[2].title, "");

    // |CTXOMAP: the count, then (id, topic offset) sorted by id.
    size_t at, size;
    ASSERT_TRUE(f.Internal("|CTXOMAP", &at, &size));
    EXPECT_EQ(size, 2u + 4u * 8u);
    EXPECT_EQ(U16(bytes, at), 4u);
    EXPECT_EQ(U32(bytes, at + 2), 1u);
    EXPECT_EQ(U32(bytes, at + 6), topics[0].offset);
    EXPECT_EQ(U32(bytes, at + 10), 7u);
    EXPECT_EQ(U32(bytes, at + 18), 113u);
    EXPECT_EQ(U32(bytes, at + 22), topics[2].offset);
    EXPECT_EQ(U32(bytes, at + 26), 0x808E03EBu);
    EXPECT_EQ(U32(bytes, at + 30), topics[1].offset);

    // |CONTEXT finds each name by its signed hash.
    const char* names[] = {"main", "two", "pop"};
    for (int i = 0; i < 3; ++i) {
        uint32_t offset = 0;
        ASSERT_TRUE(f.OffsetOfHash(helpc::ContextHash(names[i]), &offset)) << names[i];
        EXPECT_EQ(offset, topics[i].offset) << names[i];
    }
    // |SYSTEM: version 1.33 uncompressed, the title, the contents topic, NormWin, the charset.
    ASSERT_TRUE(f.Internal("|SYSTEM", &at, &size));
    EXPECT_EQ(U16(bytes, at), 0x036Cu);
    EXPECT_EQ(U16(bytes, at + 4), 1u);
    EXPECT_EQ(U16(bytes, at + 10), 0u);
    std::map<uint32_t, hlp::Bytes> records = f.SystemRecords();
    EXPECT_EQ(hlp::Z(records[1], 0), "Peerix Help");
    EXPECT_EQ(U32(records[3], 0), topics[0].offset);
    ASSERT_EQ(records[6].size(), 90u);
    EXPECT_EQ(hlp::Z(records[6], 12), "NormWin");
    EXPECT_EQ(hlp::Z(records[6], 21), "Peerix Help");
    EXPECT_LE(U16(records[6], 72) + U16(records[6], 76), 640u);  // fits a 640 x 480 screen
    EXPECT_LE(U16(records[6], 74) + U16(records[6], 78), 480u);
    EXPECT_EQ(records[11].size(), 2u);
    // The index: keywords in case-insensitive order, each with one topic in |KWDATA.
    size_t kw, kwSize, data, dataSize;
    ASSERT_TRUE(f.Internal("|KWBTREE", &kw, &kwSize));
    ASSERT_TRUE(f.Internal("|KWDATA", &data, &dataSize));
    const hlp::Tree words{&bytes, kw, [&](size_t e) { return hlp::Z(bytes, e).size() + 7; },
                          [&](size_t e) { return hlp::Z(bytes, e).size() + 1; }};
    const std::vector<size_t> entries = words.Enumerate();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(hlp::Z(bytes, entries[0]), "Colour");
    EXPECT_EQ(hlp::Z(bytes, entries[1]), "zoom");
    for (size_t e : entries) {
        const size_t after = e + hlp::Z(bytes, e).size() + 1;
        EXPECT_EQ(U16(bytes, after), 1u);
        EXPECT_EQ(U32(bytes, data + U32(bytes, after + 2)), topics[0].offset);
    }
    // The header's sizes are exact: reserved = used + 9 for every internal file, file size.
    EXPECT_EQ(U32(bytes, 12), bytes.size());
    EXPECT_EQ(U32(bytes, 8), 0xFFFFFFFFu);
}

TEST(HelpCompiler, SourceFaultsStopWithTheFileAndLine) {
    const struct {
        const char* source;
        const char* expected;
    } cases[] = {
        {"@topic a 1\n@title A\nSee [b](nowhere).\n", "t.help:3: link to unknown topic 'nowhere'"},
        {"@topic a 1\n@title A\nx\n\n@popup b 1\ny\n", "t.help:5: id 1 is given twice ('a' and 'b')"},
        {"@require 1 HID_A\n@topic a 1\n@title A\nx\n", "t.help:1: required id HID_A has no topic"},
        {"@topic a 1\n@title A\nsome *bold\ntext.\n", "t.help:3: unterminated *bold* text"},
        {"@topic a 1\n@title A\n\nA [link(a) here.\n", "t.help:4: unterminated link"},
        {"@topic a 1\n@title A\nx\n@pop b\n", "t.help:4: unknown directive '@pop'"},
        {"@topic a NOPE\n", "t.help:1: unknown id name 'NOPE'"},
        {"Loose text.\n", "t.help:1: text before the first @topic or @popup"},
        {"@topic a 1\n@title A\nA \xE2\x86\x92 B\n", "t.help:3: the text holds a character outside Windows-1252"},
        {"@topic a-b 1\n", "t.help:1: context name 'a-b' may hold only"},
        {"@topic a 1\nNo title.\n", "t.help:1: topic 'a' has no @title"},
        {"@topic a 1\n@title A\nx\n\n@topic A 2\n@title B\ny\n", "t.help:5: context 'A' has the same hash as 'a'"},
        {"@topic a 1\n@title A\n@keywords zoom\nx\n@topic b 2\n@title B\n@keywords Zoom\ny\n",
         "t.help:7: index word 'Zoom' is given to two topics"},
        {"@popup p 1\nOnly a popup.\n", "no @topic"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf(c.source);
        EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error;
    }
    // Escapes and a key row (its closing bar optional) parse as bold, a tab and text; a heading
    // and a key row end their paragraph at the end of their line, other text runs on.
    const helpc::Project p =
        MustParse("@topic a 1\n@title A\n| Ctrl+C | Copies \\*all\\*. |\n## Head\nBody\ngoes on.\n| F1 | Help\n");
    const std::vector<helpc::Paragraph>& paragraphs = p.topics[0].paragraphs;
    ASSERT_EQ(paragraphs.size(), 4u);
    const std::vector<helpc::Span>& spans = paragraphs[0].spans;
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].kind, helpc::Span::Bold);
    EXPECT_EQ(spans[0].text, "Ctrl+C");
    EXPECT_EQ(spans[1].kind, helpc::Span::Tab);
    EXPECT_EQ(spans[2].text, "Copies *all*.");
    EXPECT_EQ(paragraphs[1].style, helpc::Paragraph::Heading);
    EXPECT_EQ(paragraphs[1].spans[0].text, "Head");
    EXPECT_EQ(paragraphs[2].spans[0].text, "Body goes on.");
    EXPECT_EQ(paragraphs[2].line, 5);
    EXPECT_EQ(paragraphs[3].spans.back().text, "Help");
}

TEST(HelpContent, TheRealSourceCompilesWithEveryIdItsMainTopicLinksAndItsIndex) {
    helpc::Project p;
    std::string error;
    ASSERT_TRUE(helpc::Parse(ReadSource("res/help/peerix.help"), "peerix.help",
                             helpc::ReadIdNames(ReadSource("res/resource.h")), &p, &error))
        << error;
    const hlp::File f(helpc::Compile(p));
    const std::vector<hlp::File::Topic> topics = f.Topics();
    std::map<uint32_t, const hlp::File::Topic*> byOffset;
    for (const auto& t : topics) byOffset[t.offset] = &t;
    // Every id the program sends opens a topic with text.
    const uint32_t ids[] = {1,          113,        114,        115,        116,        118,        119,
                            120,        121,        112,        32774,      32771,      32772,      4009,
                            0x808E0001, 0x808E0002, 0x808E03EB, 0x808E03EC, 0x808E03ED, 0x808E03EE, 0x808E03EF,
                            0x808E03F0, 0x808E03F1, 0x808E03F2, 0x808E03F3, 0x808E03F5, 2};
    const std::map<uint32_t, uint32_t> map = f.ContextMap();
    for (uint32_t id : ids) {
        ASSERT_TRUE(map.count(id)) << id;
        ASSERT_TRUE(byOffset.count(map.at(id))) << id;
        EXPECT_GT(byOffset[map.at(id)]->text.size(), 20u) << id;
    }
    // Id 1 is the main topic, and it links to every other full topic.
    const helpc::Topic& main = p.topics[0];
    EXPECT_EQ(main.ids, std::vector<uint32_t>{1});
    std::set<std::string> linked;
    for (const auto& para : main.paragraphs) {
        for (const auto& s : para.spans) {
            if (s.kind == helpc::Span::Link) linked.insert(s.target);
        }
    }
    for (const auto& t : p.topics) {
        if (!t.popup && &t != &main) {
            EXPECT_TRUE(linked.count(t.context)) << t.context;
        }
    }
    // The index lists the main words.
    std::set<std::string> keywords;
    for (const auto& t : p.topics) keywords.insert(t.keywords.begin(), t.keywords.end());
    for (const char* word : {"zoom", "refresh", "selection", "copy", "save", "colour", "keys", "options", "settings"})
        EXPECT_TRUE(keywords.count(word)) << word;
}
