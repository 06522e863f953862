#include "dialogs.h"

#include "input.h"
#include "tests/support/wait.h"

namespace dialogs {

namespace {

struct Search {
    DWORD pid;
    const char* caption;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != s->pid || !IsWindowVisible(window)) return TRUE;
    if (ClassOf(window) != "#32770" || Text(window) != s->caption) return TRUE;
    s->found = window;
    return FALSE;
}

}  // namespace

HWND Find(DWORD pid, const char* caption) {
    Search s{pid, caption, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND WaitFor(DWORD pid, const char* caption, int timeoutMs) {
    HWND found = nullptr;
    waiting::WaitFor([&] { return (found = Find(pid, caption)) != nullptr; }, timeoutMs);
    return found;
}

bool WaitGone(HWND window, int timeoutMs) {
    return waiting::WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string Text(HWND window) {
    // GetWindowText does not ask a window of another process for its text (an edit control's
    // text is its own), so send the message, which is carried across.
    char text[1024] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &ignored);
    text[sizeof text - 1] = '\0';
    return text;
}

std::string ItemText(HWND dialog, int id) {
    return Text(GetDlgItem(dialog, id));
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string MessageBoxText(HWND box) {
    return ItemText(box, 0xFFFF);
}

std::string SystemText(DWORD error) {
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text, sizeof text,
                   nullptr);
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
}

HWND Focused(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

RECT Rect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

POINT Centre(HWND window) {
    const RECT r = Rect(window);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT RectIn(HWND window, HWND other) {
    RECT r = Rect(window);
    MapWindowPoints(nullptr, other, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT CentredOrigin(HWND reference, HWND window) {
    const RECT ref = Rect(reference), win = Rect(window);
    return POINT{ref.left + ((ref.right - ref.left) - (win.right - win.left)) / 2,
                 ref.top + ((ref.bottom - ref.top) - (win.bottom - win.top)) / 2};
}

void ClickCentre(HWND window) {
    const POINT c = Centre(window);
    input::LeftClick(c.x, c.y);
}

void TypeInto(HWND edit, const char* text) {
    ClickCentre(edit);
    waiting::WaitFor([&] { return Focused(edit) == edit; }, 2000);
    // No Shift+Home: plain keys cannot lose a modifier (see PressForDialog).
    input::Press(VK_END);
    for (size_t n = Text(edit).size(); n > 0; --n) input::Press(VK_BACK);
    input::Type(text);
    waiting::WaitFor([&] { return Text(edit) == text; }, 2000);
}

HWND PressForDialog(DWORD pid, const char* caption, WORD key, std::initializer_list<WORD> modifiers) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        input::Press(key, modifiers);
        if (HWND dialog = WaitFor(pid, caption, 2000)) return dialog;
    }
    return nullptr;
}

}  // namespace dialogs
