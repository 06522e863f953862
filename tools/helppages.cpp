// helpc's other outputs: the help as HTML pages, for systems without a WinHelp engine, and the
// texts the program shows itself (the popups, the page of each id).
#include <algorithm>
#include <cctype>

#include "helpc.h"

namespace helpc {

namespace {

void PutUtf16(Bytes& b, const std::u16string& text) {
    for (char16_t c : text) {
        b.push_back(static_cast<uint8_t>(c));
        b.push_back(static_cast<uint8_t>(c >> 8));
    }
}

void PutEntry(Bytes& b, uint32_t id, helptexts::Kind kind, const std::u16string& text) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(id >> (8 * i)));
    b.push_back(static_cast<uint8_t>(kind));
    b.push_back(0);
    b.push_back(static_cast<uint8_t>(text.size()));
    b.push_back(static_cast<uint8_t>(text.size() >> 8));
    PutUtf16(b, text);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Parsed text as HTML: UTF-8 with the characters that mean something in HTML written as entities.
std::string Html(const std::string& windows1252) {
    std::string out;
    for (char c : Utf8(windows1252)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Easy to read on a screen, and on paper without the navigation and the link colours.
const char kStyle[] =
    "body{font-family:\"Segoe UI\",Tahoma,Verdana,Arial,sans-serif;line-height:1.5;color:#1b1b1b;"
    "background:#fff;max-width:42em;margin:0 auto;padding:.5em 1.5em 3em}\n"
    "nav{font-size:.9em;border-bottom:1px solid #c8c8c8;padding:.3em 0;margin-bottom:1em}\n"
    "h1{font-size:1.6em;color:#800000;margin:.3em 0 .6em}\n"
    "h2{font-size:1.15em;margin:1.5em 0 .4em}\n"
    "a{color:#0645ad}a:visited{color:#5a3696}\n"
    "table{border-collapse:collapse;margin:.5em 0}\n"
    "th,td{text-align:left;vertical-align:top;padding:.25em 1em .25em 0;border-bottom:1px solid #e2e2e2}\n"
    "th{white-space:nowrap}\n"
    "dt{font-weight:bold;margin-top:.8em}dd{margin:.1em 0 0 1.5em}dd p{margin:0}\n"
    "ul.index{columns:2;padding-left:1.2em}\n"
    "@media print{body{max-width:none;padding:0;font-size:11pt}nav{display:none}"
    "a,a:visited{color:inherit;text-decoration:none}h2,dt{break-after:avoid}tr,dd{break-inside:avoid}}\n";

class PageWriter {
public:
    explicit PageWriter(const Project& project) : project(project) {
        for (const Topic& t : project.topics) byName[Lower(t.context)] = &t;
    }

    std::string IndexPage() const {
        std::string body = "<h1>" + Html(project.title) + "</h1>\n<h2>Contents</h2>\n<ul>\n";
        for (const Topic& t : project.topics) {
            if (!t.popup) body += "<li><a href=\"" + PageName(t) + "\">" + Html(t.title) + "</a></li>\n";
        }
        body += "</ul>\n<h2>Index</h2>\n<ul class=\"index\">\n";
        // Case-insensitive, as the help file's index is.
        std::vector<std::pair<std::string, const Topic*>> words;
        for (const Topic& t : project.topics) {
            for (const std::string& k : t.keywords) words.push_back({k, &t});
        }
        std::stable_sort(words.begin(), words.end(),
                         [](const auto& a, const auto& b) { return Lower(a.first) < Lower(b.first); });
        for (const auto& w : words)
            body += "<li><a href=\"" + PageName(*w.second) + "\">" + Html(w.first) + "</a></li>\n";
        body += "</ul>\n";
        return Document(project.title, false, body);
    }

    std::string TopicPage(const Topic& topic) const {
        const std::string name = PageName(topic);
        std::string body = "<h1>" + Html(topic.title) + "</h1>\n" + Paragraphs(topic, name);
        std::string parts;
        for (const Topic& p : project.topics) {
            if (!p.popup || Lower(p.page) != Lower(topic.context)) continue;
            parts += "<dt id=\"" + Lower(p.context) + "\">" + Html(p.label) + "</dt>\n<dd>";
            for (const Paragraph& para : p.paragraphs) parts += "<p>" + Spans(para.spans, name) + "</p>";
            parts += "</dd>\n";
        }
        if (!parts.empty()) body += "<h2>What each part does</h2>\n<dl>\n" + parts + "</dl>\n";
        return Document(topic.title + " - " + project.title, true, body);
    }

private:
    static std::string Document(const std::string& title, bool nav, const std::string& body) {
        return "<!DOCTYPE html>\n<html lang=\"en-GB\">\n<head>\n<meta charset=\"utf-8\">\n"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
               Html(title) + "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n" +
               (nav ? "<nav><a href=\"" + std::string(kIndexPage) + "\">Contents and index</a></nav>\n" : "") + body +
               "</body>\n</html>\n";
    }

    // A link to a full topic goes to its page; to a popup, to its text on the page that shows it.
    std::string Href(const std::string& target, const std::string& fromPage) const {
        const Topic& t = *byName.at(Lower(target));
        if (!t.popup) return PageName(t);
        const std::string page = PageName(*byName.at(Lower(t.page)));
        return (page == fromPage ? "" : page) + "#" + Lower(t.context);
    }

    std::string Spans(const std::vector<Span>& spans, const std::string& fromPage) const {
        std::string out;
        for (const Span& s : spans) {
            switch (s.kind) {
            case Span::Text:
                out += Html(s.text);
                break;
            case Span::Bold:
                out += "<b>" + Html(s.text) + "</b>";
                break;
            case Span::Link:
                out += "<a href=\"" + Href(s.target, fromPage) + "\">" + Html(s.text) + "</a>";
                break;
            case Span::Tab:
                out += " ";
                break;
            }
        }
        return out;
    }

    // A key row's key is its text before the tab: the first cell.
    std::string KeyRow(const Paragraph& p, const std::string& fromPage) const {
        const auto tab =
            std::find_if(p.spans.begin(), p.spans.end(), [](const Span& s) { return s.kind == Span::Tab; });
        std::vector<Span> key(p.spans.begin(), tab), rest(tab == p.spans.end() ? tab : tab + 1, p.spans.end());
        for (Span& s : key) {
            if (s.kind == Span::Bold) s.kind = Span::Text;  // a header cell is bold already
        }
        return "<tr><th scope=\"row\">" + Spans(key, fromPage) + "</th><td>" + Spans(rest, fromPage) + "</td></tr>\n";
    }

    // Runs of list items and key rows become one list or table each.
    std::string Paragraphs(const Topic& topic, const std::string& fromPage) const {
        std::string out;
        Paragraph::Style open = Paragraph::Body;
        auto close = [&] {
            if (open == Paragraph::Bullet) out += "</ul>\n";
            if (open == Paragraph::KeyRow) out += "</table>\n";
            open = Paragraph::Body;
        };
        for (const Paragraph& p : topic.paragraphs) {
            if (p.style != open) close();
            switch (p.style) {
            case Paragraph::Heading:
                out += "<h2>" + Spans(p.spans, fromPage) + "</h2>\n";
                break;
            case Paragraph::Body:
                out += "<p>" + Spans(p.spans, fromPage) + "</p>\n";
                break;
            case Paragraph::Bullet:
                if (open != Paragraph::Bullet) out += "<ul>\n";
                out += "<li>" + Spans(p.spans, fromPage) + "</li>\n";
                break;
            case Paragraph::KeyRow:
                if (open != Paragraph::KeyRow) out += "<table>\n";
                out += KeyRow(p, fromPage);
                break;
            }
            open = p.style == Paragraph::Bullet || p.style == Paragraph::KeyRow ? p.style : Paragraph::Body;
        }
        close();
        return out;
    }

    const Project& project;
    std::map<std::string, const Topic*> byName;
};

}  // namespace

std::string Utf8(const std::string& windows1252) {
    std::string out;
    for (char c : windows1252) {
        const uint32_t code = Windows1252CodePoint(static_cast<unsigned char>(c));
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

std::u16string Utf16(const std::string& windows1252) {
    std::u16string out;
    for (char c : windows1252) out += static_cast<char16_t>(Windows1252CodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string PopupText(const Topic& popup) {
    std::string out;
    for (const Paragraph& p : popup.paragraphs) {
        if (!out.empty()) out += '\n';
        for (const Span& s : p.spans) out += s.kind == Span::Tab ? std::string(" ") : s.text;
    }
    return out;
}

std::string PageName(const Topic& topic) {
    return Lower(topic.context) + ".html";
}

std::map<std::string, std::string> Pages(const Project& project) {
    const PageWriter writer(project);
    std::map<std::string, std::string> pages;
    pages[kIndexPage] = writer.IndexPage();
    for (const Topic& t : project.topics) {
        if (!t.popup) pages[PageName(t)] = writer.TopicPage(t);
    }
    return pages;
}

Bytes HelpTexts(const Project& project) {
    Bytes b;
    for (const Topic& t : project.topics) {
        for (uint32_t id : t.ids) {
            if (t.popup)
                PutEntry(b, id, helptexts::kPopup, Utf16(PopupText(t)));
            else
                PutEntry(b, id, helptexts::kPage, Utf16(PageName(t)));
        }
    }
    return b;
}

}  // namespace helpc
