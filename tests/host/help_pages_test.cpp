// The help beyond the help file: the pages the compiler writes (complete, linked, escaped), the
// texts resource and the program's reader of it, the route a topic takes on each system, and
// where a popup goes.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "chrome/rules.h"
#include "tools/helpc.h"

namespace {

using rules::HelpAction;

helpc::Project Parsed(const std::string& text) {
    helpc::Project p;
    std::string error;
    EXPECT_TRUE(helpc::Parse(text, "t.help", {{"HID_A", 113}}, &p, &error)) << error;
    return p;
}

std::string ErrorOf(const std::string& text) {
    helpc::Project p;
    std::string error;
    return helpc::Parse(text, "t.help", {}, &p, &error) ? "(accepted)" : error;
}

std::string ReadSource(const char* path) {
    std::ifstream in(std::string(PEERIX_SOURCE_DIR) + "/" + path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The text of a texts entry as the program finds it; "(none)" when it finds none.
std::u16string Found(const helpc::Bytes& b, uint32_t id, unsigned kind) {
    size_t at = 0, length = 0;
    if (!rules::FindHelpText(b.data(), b.size(), id, kind, &at, &length)) return u"(none)";
    std::u16string s;
    for (size_t i = 0; i < length; ++i) s += static_cast<char16_t>(b[at + 2 * i] | (b[at + 2 * i + 1] << 8));
    return s;
}

// Every href of every page names a page that exists and, after "#", an id on that page.
void ExpectLinksResolve(const std::map<std::string, std::string>& pages) {
    const std::regex href("href=\"([^\"#]*)(?:#([^\"]*))?\"");
    for (const auto& page : pages) {
        for (std::sregex_iterator m(page.second.begin(), page.second.end(), href), end; m != end; ++m) {
            const std::string file = (*m)[1].str().empty() ? page.first : (*m)[1].str();
            ASSERT_TRUE(pages.count(file)) << page.first << " links to " << (*m)[0];
            if ((*m)[2].matched) {
                EXPECT_NE(pages.at(file).find("id=\"" + (*m)[2].str() + "\""), std::string::npos)
                    << page.first << " links to " << (*m)[0];
            }
        }
    }
}

}  // namespace

TEST(HelpPages, APageForEachTopicCompleteInItselfLinkedEscapedAndHoldingItsPopups) {
    const helpc::Project p = Parsed(
        "@topic Main 1\n@title Peerix & <friends>\n@keywords zoom; Colour; \"quoted\"\n"
        "Every pixel \xC3\x97 zoom \xE2\x80\x99s. See [the other](two) and [a part](part).\n\n"
        "- one\n- two\n| Ctrl+C | Copies *all*. |\n| F1 | Help |\nAfter.\n\n"
        "@topic two 2\n@title Two\n@keywords a word\nBack to [main](Main).\n\n"
        "@popup part HID_A\n@page two\n@label The <part>\nExplains [it](Main) \"so\".\n");
    const std::map<std::string, std::string> pages = helpc::Pages(p);
    ASSERT_EQ(pages.size(), 3u);
    ASSERT_TRUE(pages.count("index.html") && pages.count("main.html") && pages.count("two.html"));
    ExpectLinksResolve(pages);
    for (const auto& page : pages) {
        const std::string& h = page.second;
        EXPECT_EQ(h.rfind("<!DOCTYPE html>\n", 0), 0u) << page.first;
        EXPECT_NE(h.find("<meta charset=\"utf-8\">"), std::string::npos) << page.first;
        EXPECT_NE(h.find("@media print"), std::string::npos) << page.first;
        // Nothing from elsewhere and nothing that runs.
        for (const char* outside : {"<script", "src=", "http:", "https:", "<link", "@import", "url("})
            EXPECT_EQ(h.find(outside), std::string::npos) << page.first << ": " << outside;
    }
    const std::string& main = pages.at("main.html");
    EXPECT_NE(main.find("<title>Peerix &amp; &lt;friends&gt; - Peerix Help</title>"), std::string::npos);
    // Windows-1252 letters as UTF-8; a link to a popup goes to its text on its page.
    EXPECT_NE(main.find("Every pixel \xC3\x97 zoom \xE2\x80\x99s. See <a href=\"two.html\">the other</a> and "
                        "<a href=\"two.html#part\">a part</a>."),
              std::string::npos)
        << main;
    EXPECT_NE(main.find("<ul>\n<li>one</li>\n<li>two</li>\n</ul>\n<table>\n"
                        "<tr><th scope=\"row\">Ctrl+C</th><td>Copies <b>all</b>.</td></tr>\n"
                        "<tr><th scope=\"row\">F1</th><td>Help</td></tr>\n</table>\n<p>After.</p>"),
              std::string::npos)
        << main;
    EXPECT_EQ(main.find("What each part does"), std::string::npos) << "no popup names main";
    const std::string& two = pages.at("two.html");
    EXPECT_NE(two.find("<dt id=\"part\">The &lt;part&gt;</dt>\n<dd><p>Explains <a href=\"main.html\">it</a> "
                       "&quot;so&quot;.</p></dd>"),
              std::string::npos)
        << two;
    // The index: the topics in source order, the words case-insensitively.
    const std::string& index = pages.at("index.html");
    EXPECT_LT(index.find(">Peerix &amp; &lt;friends&gt;</a>"), index.find(">Two</a>"));
    const size_t quoted = index.find(">&quot;quoted&quot;</a>"), word = index.find(">a word</a>"),
                 colour = index.find(">Colour</a>"), zoom = index.find(">zoom</a>");
    ASSERT_NE(zoom, std::string::npos);
    EXPECT_TRUE(quoted < word && word < colour && colour < zoom) << index;
}

TEST(HelpPages, TheTextsResourceHoldsPopupsAndPagesByIdAndTheProgramFindsThem) {
    const helpc::Project p = Parsed(
        "@topic main 1 7\n@title M\nText.\n\n@popup a HID_A 0x808E03EB\n@page main\n@label A\n"
        "Line *one* \xE2\x80\x9Cquoted\xE2\x80\x9D.\nStill one.\n\n[Second](main) line.\n");
    const helpc::Bytes b = helpc::HelpTexts(p);
    // main.html under 1, then under 7; the popup under 113, then under 0x808E03EB.
    const std::u16string popup = u"Line one \u201Cquoted\u201D. Still one.\nSecond line.";
    ASSERT_EQ(b.size(), 2 * (8 + 2 * 9) + 2 * (8 + 2 * popup.size()));
    const helpc::Bytes first = {1, 0, 0, 0, helptexts::kPage, 0, 9, 0, 'm', 0, 'a', 0};
    EXPECT_TRUE(std::equal(first.begin(), first.end(), b.begin()));

    EXPECT_EQ(Found(b, 1, helptexts::kPage), u"main.html");
    EXPECT_EQ(Found(b, 7, helptexts::kPage), u"main.html");
    EXPECT_EQ(Found(b, 113, helptexts::kPopup), popup);
    EXPECT_EQ(Found(b, 0x808E03EB, helptexts::kPopup), popup);
    EXPECT_EQ(Found(b, 113, helptexts::kPage), u"(none)");  // the kind counts
    EXPECT_EQ(Found(b, 2, helptexts::kPopup), u"(none)");
    // Data that ends inside an entry (its header or its text) finds nothing past that point.
    const helpc::Bytes cut(b.begin(), b.end() - 1);
    EXPECT_EQ(Found(cut, 0x808E03EB, helptexts::kPopup), u"(none)");
    EXPECT_EQ(Found(cut, 113, helptexts::kPopup), popup);
    EXPECT_EQ(Found(helpc::Bytes(b.begin(), b.begin() + 7), 1, helptexts::kPage), u"(none)");
}

TEST(HelpPages, PopupsNeedAPageAndALabelAndFitThePopupWindow) {
    const struct {
        std::string source;
        const char* expected;
    } cases[] = {
        {"@topic m 1\n@title M\nx\n\n@popup p 2\n@label P\ny\n", "t.help:5: popup 'p' needs @page"},
        {"@topic m 1\n@title M\nx\n\n@popup p 2\n@page nowhere\n@label P\ny\n",
         "t.help:5: popup 'p': @page 'nowhere' is not a @topic"},
        {"@topic m 1\n@title M\nx\n\n@popup p 2\n@page p\n@label P\ny\n", "@page 'p' is not a @topic"},
        {"@topic m 1\n@title M\nx\n\n@popup p 2\n@page m\ny\n", "t.help:5: popup 'p' needs @label"},
        {"@topic m 1\n@title M\n@page m\nx\n", "t.help:3: @page belongs to a @popup"},
        {"@topic index 1\n@title M\nx\n", "t.help:1: topic name 'index' is taken by the contents page"},
        {"@topic m 1\n@title M\nx\n\n@popup p 2\n@page m\n@label P\n" + std::string(1001, 'y') + "\n",
         "t.help:5: popup 'p' is longer than 1000 characters"},
    };
    for (const auto& c : cases) {
        const std::string error = ErrorOf(c.source);
        EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error;
    }
    EXPECT_EQ(ErrorOf("@topic m 1\n@title M\nx\n\n@popup p 2\n@page m\n@label P\n" + std::string(1000, 'y') + "\n"),
              "(accepted)");
}

TEST(HelpRoute, PagesFromVistaOnWinHelpBeforeAndWhenNoProgramOpensThePage) {
    const struct {
        unsigned major;
        bool page, file;
        HelpAction first;
    } cases[] = {
        {4, true, true, HelpAction::WinHelp},
        {5, true, true, HelpAction::WinHelp},
        {5, true, false, HelpAction::ReportMissingFile},
        {6, true, true, HelpAction::OpenPage},
        {10, true, false, HelpAction::OpenPage},
        {10, false, true, HelpAction::WinHelp},  // a copy without its pages still has the help file
        {10, false, false, HelpAction::ReportMissingPage},
        {0, true, true, HelpAction::WinHelp},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rules::FirstHelpAction(c.major, c.page, c.file), c.first) << c.major << c.page << c.file;
    EXPECT_FALSE(rules::PagesAreTheRoute(5));
    EXPECT_TRUE(rules::PagesAreTheRoute(6));
    // ShellExecute: above 32 opened; 31 is "no program for this kind of file", 2 "not found".
    EXPECT_EQ(rules::AfterPageOpen(33, false), HelpAction::Done);
    EXPECT_EQ(rules::AfterPageOpen(42, true), HelpAction::Done);
    EXPECT_EQ(rules::AfterPageOpen(32, true), HelpAction::WinHelp);
    EXPECT_EQ(rules::AfterPageOpen(31, true), HelpAction::WinHelp);
    EXPECT_EQ(rules::AfterPageOpen(0, true), HelpAction::WinHelp);
    EXPECT_EQ(rules::AfterPageOpen(31, false), HelpAction::ReportMissingFile);
}

TEST(HelpPopupPlace, BelowTheAnchorElseAboveAlwaysInsideTheWorkArea) {
    const rules::Rect work = {0, 0, 1024, 740};
    const struct {
        rules::Rect anchor;
        int width, height;
        rules::Rect work;
        rules::Rect expected;
    } cases[] = {
        {{100, 100, 110, 110}, 300, 50, work, {100, 114, 400, 164}},                 // below, left edges aligned
        {{900, 100, 910, 110}, 300, 50, work, {724, 114, 1024, 164}},                // moved left to the edge
        {{100, 700, 200, 720}, 300, 50, work, {100, 646, 400, 696}},                 // no room below: above
        {{100, 686, 200, 686}, 300, 50, work, {100, 690, 400, 740}},                 // exactly fits below
        {{-500, 10, -400, 30}, 300, 50, {-1280, 0, 0, 1024}, {-500, 34, -200, 84}},  // a monitor left of 0
        {{-100, 10, 20, 30}, 300, 50, work, {0, 34, 300, 84}},                       // an anchor partly off it
        {{5, 5, 6, 6}, 1100, 800, work, {0, 0, 1100, 800}},                          // too large: top-left wins
        {{100, 20, 110, 30}, 300, 720, work, {100, 0, 400, 720}},                    // fits neither way: at the top
    };
    for (const auto& c : cases) {
        const rules::Rect r = rules::PlaceHelpPopup(c.anchor, c.width, c.height, c.work, 4);
        EXPECT_EQ(std::tie(r.left, r.top, r.right, r.bottom),
                  std::tie(c.expected.left, c.expected.top, c.expected.right, c.expected.bottom))
            << c.anchor.left << "," << c.anchor.top;
    }
}

TEST(HelpContent, ThePagesHoldEveryPopupAndTheKeysTopicEveryKeyOnce) {
    helpc::Project p;
    std::string error;
    ASSERT_TRUE(helpc::Parse(ReadSource("res/help/peerix.help"), "peerix.help",
                             helpc::ReadIdNames(ReadSource("res/resource.h")), &p, &error))
        << error;
    const std::map<std::string, std::string> pages = helpc::Pages(p);
    ExpectLinksResolve(pages);
    size_t popups = 0;
    for (const helpc::Topic& t : p.topics) {
        if (!t.popup) continue;
        ++popups;
        const std::string& page = pages.at(helpc::PageName(*std::find_if(
            p.topics.begin(), p.topics.end(), [&](const helpc::Topic& f) { return f.context == t.page; })));
        EXPECT_NE(page.find("<dt id=\"" + t.context + "\">"), std::string::npos) << t.context;
    }
    EXPECT_GE(popups, 23u);

    // The keys: each row's key once, and every key the program takes among them, the Ctrl
    // accelerators read from the resource script.
    const helpc::Topic& keys =
        *std::find_if(p.topics.begin(), p.topics.end(), [](const helpc::Topic& t) { return t.context == "keys"; });
    std::set<std::string> listed;
    bool inKeys = false;
    for (const helpc::Paragraph& para : keys.paragraphs) {
        if (para.style == helpc::Paragraph::Heading) inKeys = para.spans[0].text == "Keys";
        if (!inKeys || para.style != helpc::Paragraph::KeyRow) continue;
        // "A, B" and "A or B" name several keys.
        std::stringstream names(std::regex_replace(para.spans[0].text, std::regex(" or "), ", "));
        for (std::string k; std::getline(names, k, ',');)
            EXPECT_TRUE(listed.insert(k.substr(k.find_first_not_of(' '))).second) << k << " is listed twice";
    }
    std::set<std::string> taken;
    std::stringstream named(
        "Arrow keys|Ctrl+Arrow keys|Page Up|Page Down|Ctrl+Page Up|Ctrl+Page Down|+|=|-|Ctrl++|"
        "Ctrl+=|Ctrl+-|Esc|F1|Shift+F1|Shift+F10|Menu key|Alt+F4");
    for (std::string k; std::getline(named, k, '|');) taken.insert(k);
    const std::string rc = ReadSource("res/peerix.rc");
    const std::regex accelerator("\"([A-Z])\", \\w+, VIRTKEY, (SHIFT, )?CONTROL");
    for (std::sregex_iterator m(rc.begin(), rc.end(), accelerator), end; m != end; ++m)
        taken.insert(std::string("Ctrl+") + ((*m)[2].matched ? "Shift+" : "") + (*m)[1].str());
    EXPECT_GE(taken.size(), 25u);
    for (const std::string& k : taken) EXPECT_TRUE(listed.count(k)) << k << " is missing from the keys topic";

    std::set<std::string> keywords;
    for (const auto& t : p.topics) keywords.insert(t.keywords.begin(), t.keywords.end());
    for (const char* word :
         {"colour", "color", "pixel", "coordinates", "monitor", "cursor", "What's This", "uninstall", "reset"})
        EXPECT_TRUE(keywords.count(word)) << word;
    EXPECT_EQ(ReadSource("res/help/peerix.help").find("viewful"), std::string::npos);
}
