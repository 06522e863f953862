#include "peerix_process.h"

#include "process_windows.h"
#include "tests/support/wait.h"

namespace e2e {

std::string ProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of('\\') + 1);
}

PeerixProcess::~PeerixProcess() {
    End();
}

void PeerixProcess::End() {
    if (!info.hProcess) return;
    if (Running() && !Close(5000)) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    info = {};
    window = nullptr;
}

bool PeerixProcess::Start(int showCommand, bool waitForWindow, const char* currentDirectory, const char* program) {
    End();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    std::string exe = program ? program : ProgramFolder() + "Peerix.exe";
    std::string commandLine = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, currentDirectory, &startup,
                        &info))
        return false;
    if (!waitForWindow) return true;
    if (!waiting::WaitFor([&] { return (window = FindMainWindow()) != nullptr; }, 15000)) return false;
    // Keys sent before the new process has settled into its message loop can be lost under Wine
    // (the first Ctrl+key after start was, now and then).
    WaitForInputIdle(info.hProcess, 5000);
    return true;
}

HWND PeerixProcess::FindMainWindow() const {
    return VisibleWindowOfClass("PeerixMainWnd", info.dwProcessId);
}

bool PeerixProcess::WaitForExit(int timeoutMs) {
    return WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

bool PeerixProcess::Close(int timeoutMs) {
    HWND w = window ? window : FindMainWindow();
    if (w) PostMessageA(w, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

DWORD PeerixProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

bool PeerixProcess::Running() const {
    return info.hProcess && ExitCode() == STILL_ACTIVE;
}

}  // namespace e2e
