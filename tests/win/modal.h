// Running the program's modal dialogs inside a test: the dialog's own message loop runs on the
// test's thread as it does in the program, and the test acts on it from outside that loop.
#ifndef PEERIX_TEST_MODAL_H
#define PEERIX_TEST_MODAL_H

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace modal {

// The visible dialog box (class "#32770") of the given thread whose caption is title (any caption
// when title is null), or null.
HWND FindDialog(DWORD threadId, const char* title);

// Calls show() on this thread (it runs a modal dialog and returns when the dialog ends) while
// drive(dialog) runs on a second thread once the dialog titled title is on the screen. Whatever
// drive leaves open is cancelled (IDCANCEL). Returns false when the dialog never appeared.
bool Drive(const char* title, const std::function<void()>& show, const std::function<void(HWND)>& drive);

// Shows a modal dialog with show() and ends it from a timer of this thread with the given
// command (IDOK or IDCANCEL) as soon as the dialog is shown; false when it never appeared.
bool ShowAndEnd(const std::function<void()>& show, WORD command);

// Answers, from a thread of its own, each visible dialog box that the given thread shows, once
// each, with answer(dialog), until it is destroyed (or 30 s have passed): for a run of dialogs
// whose order or number the test cannot know in advance (a file dialog, then message boxes).
class Answerer {
public:
    Answerer(DWORD thread, std::function<void(HWND)> answer);
    ~Answerer();
    Answerer(const Answerer&) = delete;
    Answerer& operator=(const Answerer&) = delete;

private:
    void Run();

    DWORD thread;
    std::function<void(HWND)> answer;
    std::vector<HWND> handled;
    std::atomic<bool> stop{false};
    std::thread worker;
};

}  // namespace modal

#endif
