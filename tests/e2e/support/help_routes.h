// The two routes of help as the user's system decides them, set up from outside: a program for
// .html files that records what it was asked to open, Windows XP as Wine tells it to Peerix, and
// Peerix with its help in a folder of any name.
#ifndef PEERIX_E2E_HELP_ROUTES_H
#define PEERIX_E2E_HELP_ROUTES_H

#include <windows.h>

#include <string>

namespace e2e {

// While it exists, .html files open with page_opener.exe (beside this program), which writes its
// command line into a file. Registered in HKEY_CLASSES_ROOT: Wine 8's shell does not read the
// user's own classes. A fresh prefix has no program for .html files, so nothing is put back.
class PageOpener {
public:
    PageOpener();
    ~PageOpener();
    PageOpener(const PageOpener&) = delete;
    PageOpener& operator=(const PageOpener&) = delete;
    // The command line the opener was started with, UTF-8; empty when it did not run in time.
    std::string WaitForCommandLine(int timeoutMs = 10000) const;
    bool Ran() const;
    void Forget() const;  // a command line recorded before

private:
    std::string record;
};

// While it exists, Wine tells every Peerix.exe it runs on Windows XP.
struct WindowsXpForPeerix {
    WindowsXpForPeerix();
    ~WindowsXpForPeerix();
};

// Peerix.exe, Peerix.hlp and the help folder copied into a new folder of the given name in the
// temp folder, started from there by its UTF-16 path; the folder is removed at the end.
class PeerixCopy {
public:
    explicit PeerixCopy(const std::wstring& name);
    ~PeerixCopy();
    PeerixCopy(const PeerixCopy&) = delete;
    PeerixCopy& operator=(const PeerixCopy&) = delete;
    bool Made() const { return made; }
    const std::wstring& Folder() const { return folder; }  // ends in a backslash
    // Starts the copy and returns its main window once it is visible, or null.
    HWND Start();
    // Closes the window and waits for the process to end.
    bool Close();

private:
    void Remove() const;
    std::wstring folder;
    bool made;
    PROCESS_INFORMATION process = {};
    HWND window = nullptr;
};

std::string Utf8(const std::wstring& text);

}  // namespace e2e

#endif
