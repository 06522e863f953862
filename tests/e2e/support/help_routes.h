// The two routes of help as the user's system decides them, set up from outside: a program for
// .html files that records what it was asked to open, Windows XP as Wine tells it to Peerix, and a
// copy of Peerix with its help in a folder of any name.
#ifndef PEERIX_E2E_HELP_ROUTES_H
#define PEERIX_E2E_HELP_ROUTES_H

#include <windows.h>

#include <string>

namespace e2e {

// While it exists, .html files open with page_opener.exe (beside this program), which writes its
// command line into a file. It is registered in HKEY_CLASSES_ROOT, since Wine 8's shell does not
// read the user's own classes; what was there before is put back.
class PageOpener {
public:
    PageOpener();
    ~PageOpener();
    PageOpener(const PageOpener&) = delete;
    PageOpener& operator=(const PageOpener&) = delete;
    // The command line the opener was started with; empty when it did not run in time.
    std::wstring WaitForCommandLine(int timeoutMs = 10000) const;
    bool Ran() const;
    // Forgets a command line recorded before.
    void Forget() const;

private:
    std::string record;
    bool extensionExisted = false;
    std::string extensionBefore;
};

// True when no program opens .html files, as in a fresh prefix.
bool NoProgramForPages();

// While it exists, Wine tells every Peerix.exe it runs on Windows XP.
class WindowsXpForPeerix {
public:
    WindowsXpForPeerix();
    ~WindowsXpForPeerix();
    WindowsXpForPeerix(const WindowsXpForPeerix&) = delete;
    WindowsXpForPeerix& operator=(const WindowsXpForPeerix&) = delete;
};

// Peerix.exe, Peerix.hlp and the help folder copied into a new folder of the given name in the
// temp folder, and started from there by its full UTF-16 path; all removed at the end.
class PeerixCopy {
public:
    explicit PeerixCopy(const std::wstring& name);
    ~PeerixCopy();
    PeerixCopy(const PeerixCopy&) = delete;
    PeerixCopy& operator=(const PeerixCopy&) = delete;
    bool Made() const { return made; }
    const std::wstring& Folder() const { return folder; }  // ends in a backslash
    // Starts the copy and waits for its main window.
    bool Start();
    HWND Window() const { return window; }
    DWORD Pid() const { return process.dwProcessId; }
    bool Close();

private:
    std::wstring folder;
    bool made = false;
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

// The text of a message box of any process, in UTF-16.
std::wstring MessageBoxTextW(HWND box);

std::wstring Widen(const std::string& text);
std::string Utf8(const std::wstring& text);

}  // namespace e2e

#endif
