// Starting the real Peerix.exe (the one built beside this test program), finding its window and
// ending it as a user would.
#ifndef PEERIX_E2E_PROCESS_H
#define PEERIX_E2E_PROCESS_H

#include <windows.h>

#include <string>

namespace e2e {

// The folder of this test program, ending in a backslash; Peerix.exe is built there.
std::string ProgramFolder();

class PeerixProcess {
public:
    PeerixProcess() = default;
    // Ends the program if it still runs, as End does.
    ~PeerixProcess();
    PeerixProcess(const PeerixProcess&) = delete;
    PeerixProcess& operator=(const PeerixProcess&) = delete;

    // Starts Peerix.exe (ending one that this object started before) with the given show command
    // (STARTF_USESHOWWINDOW) and, unless
    // waitForWindow is false, waits until its main window is visible.
    // program names another copy of Peerix.exe to start instead of the one built here.
    bool Start(int showCommand = SW_SHOWNORMAL, bool waitForWindow = true, const char* currentDirectory = nullptr,
               const char* program = nullptr);
    // The process's visible top-level window of class "PeerixMainWnd", or null.
    HWND FindMainWindow() const;
    // Waits for the process to end; false on timeout.
    bool WaitForExit(int timeoutMs = 10000);
    // Posts WM_CLOSE to the main window and waits for the process to end.
    bool Close(int timeoutMs = 10000);
    DWORD ExitCode() const;
    bool Running() const;
    DWORD Pid() const { return info.dwProcessId; }
    HANDLE Handle() const { return info.hProcess; }
    HWND Window() const { return window; }

    // Ends the program if it still runs (closing it first, killing it only when that fails).
    void End();

private:
    PROCESS_INFORMATION info = {};
    HWND window = nullptr;
};

}  // namespace e2e

#endif
