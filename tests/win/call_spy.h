// Records the program's calls to WinHelpA and MessageBeep. Wine's WinHelp shows nothing for the
// pop-up commands (HELP_WM_HELP, HELP_CONTEXTMENU), asks for an answer when a topic's file is
// missing, and a beep leaves no trace a test can read, so the calls themselves are what a test
// can check. The program's own code runs unchanged: its import table entry is redirected while a
// spy exists. Beeps are passed on to the system; help calls are not (see RecordWinHelp).
#ifndef PEERIX_TEST_CALL_SPY_H
#define PEERIX_TEST_CALL_SPY_H

#include <windows.h>

#include <string>
#include <vector>

namespace spy {

struct HelpCall {
    HWND window;
    std::string file;
    UINT command;
    ULONG_PTR data;
    // For HELP_WM_HELP and HELP_CONTEXTMENU: the four numbers the data points to (one pair of
    // control id and help id, then the terminating pair); empty for other commands.
    std::vector<DWORD> ids;
    // The window as it was during the call (a temporary window is gone afterwards).
    std::string windowClass;
    int controlId;
    HWND parent;
    RECT inParent;  // its rectangle in the parent's client coordinates
    LONG style;
    bool quitPosted;  // the quit message was already waiting in the queue
};

// This program's import of user32!function redirected to replacement while it exists.
class ImportHook {
public:
    ImportHook(const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;
    // False when the program's import of the function was not found (nothing is recorded).
    bool Active() const { return slot != nullptr; }
    // The function the import named before.
    void* Real() const { return real; }

private:
    void** slot;
    void* real = nullptr;
};

// Every WinHelpA call while it exists (not passed on to the system).
class WinHelpCalls {
public:
    WinHelpCalls();
    bool Active() const { return hook.Active(); }
    std::vector<HelpCall> Calls() const;
    void Clear();

private:
    ImportHook hook;
};

// The type argument of every MessageBeep while it exists (passed on to the system).
class Beeps {
public:
    Beeps();
    bool Active() const { return hook.Active(); }
    std::vector<UINT> Calls() const;

private:
    ImportHook hook;
};

}  // namespace spy

#endif
