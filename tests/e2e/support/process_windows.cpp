#include "process_windows.h"

#include "dialogs.h"
#include "tests/support/hlp_reader.h"

namespace e2e {

namespace {

struct ClassSearch {
    const char* className;
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK VisitTopLevel(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<ClassSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (lstrcmpiA(dialogs::ClassOf(hwnd).c_str(), s->className) == 0 && (s->pid == 0 || pid == s->pid) && IsWindowVisible(hwnd))
        s->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK VisitStatic(HWND child, LPARAM lParam) {
    auto* text = reinterpret_cast<std::string*>(lParam);
    // The box's message is the static control with text; its icon is a static without.
    if (lstrcmpiA(dialogs::ClassOf(child).c_str(), "Static") == 0) {
        const std::string t = dialogs::Text(child);
        if (!t.empty()) *text = t;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindowsOfClass(const char* className, DWORD pid) {
    ClassSearch s{className, pid, {}};
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND VisibleWindowOfClass(const char* className, DWORD pid) {
    const std::vector<HWND> all = VisibleWindowsOfClass(className, pid);
    return all.empty() ? nullptr : all.front();
}

HWND ShownPopupMenu(DWORD pid) {
    return VisibleWindowOfClass("#32768", pid);
}

HelpBox FindBox(const char* title) {
    HelpBox box;
    for (HWND w : VisibleWindowsOfClass("#32770")) {
        if (dialogs::Text(w) != title) continue;
        box.window = w;
        EnumChildWindows(w, VisitStatic, reinterpret_cast<LPARAM>(&box.text));
        break;
    }
    return box;
}

std::string PathInCannotFind(const std::string& text) {
    const std::string head = "Cannot find '";
    const size_t start = text.find(head);
    if (start == std::string::npos) return {};
    const size_t end = text.find("'.", start + head.size());
    if (end == std::string::npos) return {};
    return text.substr(start + head.size(), end - start - head.size());
}

std::vector<ViewerWindow> HelpViewerWindows() {
    std::vector<ViewerWindow> viewers;
    for (HWND w : VisibleWindowsOfClass("MS_WINHELP")) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId()) continue;  // a test's own stand-in
        ViewerWindow v;
        v.window = w;
        v.caption = dialogs::Text(w);
        // The topic is drawn by the viewer's rich-edit child; WM_GETTEXT crosses processes.
        HWND text = GetDlgItem(w, 0x701);
        const LRESULT length = text ? SendMessageA(text, WM_GETTEXTLENGTH, 0, 0) : 0;
        if (length > 0) {
            std::string buffer(static_cast<size_t>(length) + 1, '\0');
            SendMessageA(text, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
            v.text = buffer.c_str();
        }
        viewers.push_back(v);
    }
    return viewers;
}

std::string MainTopicText(const std::string& helpFile) {
    const hlp::File file(hlp::ReadWholeFile(helpFile));
    const auto topics = file.Topics();
    const auto map = file.ContextMap();
    const hlp::File::Topic* main = map.count(1) ? file.TopicAt(topics, map.at(1)) : nullptr;
    return main ? hlp::Recognisable(*main) : "(no topic for id 1)";
}

ViewerWindow ViewerShowing(const std::string& text) {
    for (const ViewerWindow& v : HelpViewerWindows()) {
        if (v.text.find(text) != std::string::npos) return v;
    }
    return {};
}

std::string DescribeViewers() {
    std::string all;
    for (const ViewerWindow& v : HelpViewerWindows()) all += "[" + v.caption + ": " + v.text.substr(0, 60) + "] ";
    return all.empty() ? "(no viewer window)" : all;
}

}  // namespace e2e
