#include "modal.h"

#include "tests/support/wait.h"

namespace modal {

namespace {

// The visible dialog boxes of a thread, in the order the system lists them.
std::vector<HWND> DialogsOf(DWORD threadId) {
    std::vector<HWND> found;
    EnumThreadWindows(
        threadId,
        [](HWND window, LPARAM list) {
            char cls[32] = {};
            GetClassNameA(window, cls, sizeof cls);
            if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

HWND FindDialog(DWORD threadId, const char* title) {
    for (HWND dialog : DialogsOf(threadId)) {
        char text[128] = {};
        GetWindowTextA(dialog, text, sizeof text);
        if (!title || lstrcmpA(text, title) == 0) return dialog;
    }
    return nullptr;
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

Answerer::Answerer(DWORD thread, std::function<void(HWND)> answer)
    : thread(thread), answer(std::move(answer)), worker([this] { Run(); }) {}

Answerer::~Answerer() {
    stop = true;
    worker.join();
}

void Answerer::Run() {
    const DWORD start = GetTickCount();
    while (!stop && GetTickCount() - start < 30000) {
        for (HWND dialog : DialogsOf(thread)) {
            bool known = false;
            for (HWND h : handled) known = known || h == dialog;
            if (known) continue;
            handled.push_back(dialog);
            answer(dialog);
        }
        Sleep(20);
    }
}

}  // namespace modal
