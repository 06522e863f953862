#include "modal.h"

#include <atomic>
#include <thread>

#include "tests/support/wait.h"

namespace modal {

namespace {

struct Search {
    const char* title;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    char cls[32] = {}, text[128] = {};
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(cls, "#32770") == 0 && (!s->title || lstrcmpA(text, s->title) == 0) && IsWindowVisible(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindDialog(DWORD threadId, const char* title) {
    Search s{title, nullptr};
    EnumThreadWindows(threadId, Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool Drive(const char* title, const std::function<void()>& show, const std::function<void(HWND)>& drive) {
    const DWORD self = GetCurrentThreadId();
    std::atomic<bool> appeared{false};
    std::thread driver([&] {
        HWND dialog = nullptr;
        if (!waiting::WaitFor([&] { return (dialog = FindDialog(self, title)) != nullptr; }, 10000)) {
            // Not the dialog expected: cancel whatever did open so that show() returns.
            if (HWND other = FindDialog(self, nullptr)) PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        appeared = true;
        drive(dialog);
        if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    show();
    driver.join();
    return appeared;
}

namespace {

WORD endCommand = IDCANCEL;
bool ended = false;

void CALLBACK EndFromTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindDialog(GetCurrentThreadId(), nullptr);
    if (!dialog) return;
    KillTimer(nullptr, id);
    ended = true;
    PostMessageA(dialog, WM_COMMAND, endCommand, 0);
}

}  // namespace

bool ShowAndEnd(const std::function<void()>& show, WORD command) {
    endCommand = command;
    ended = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, EndFromTimer);
    show();
    if (!ended) KillTimer(nullptr, timer);
    return ended;
}

}  // namespace modal
