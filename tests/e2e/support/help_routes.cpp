#include "help_routes.h"

#include <shellapi.h>

#include <fstream>
#include <sstream>

#include "peerix_process.h"
#include "process_windows.h"
#include "tests/support/wait.h"

namespace e2e {

namespace {

const char kXpKey[] = "Software\\Wine\\AppDefaults\\Peerix.exe";

void WriteString(HKEY root, const std::string& path, const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

// One shell file operation on a list of paths (each ended by a NUL, the list by another).
bool FileOperation(UINT operation, const std::wstring& from, const std::wstring& to) {
    SHFILEOPSTRUCTW op = {};
    op.wFunc = operation;
    op.pFrom = from.c_str();
    op.pTo = to.empty() ? nullptr : to.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI | FOF_SILENT;
    return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

}  // namespace

std::string Utf8(const std::wstring& text) {
    char bytes[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return bytes;
}

PageOpener::PageOpener() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    record = std::string(temp) + "peerix-page-opened.txt";
    DeleteFileA(record.c_str());
    WriteString(HKEY_CLASSES_ROOT, ".html", nullptr, "Peerix.TestPage");
    WriteString(HKEY_CLASSES_ROOT, "Peerix.TestPage\\shell\\open\\command", nullptr,
                "\"" + ProgramFolder() + "page_opener.exe\" \"" + record + "\" \"%1\"");
}

PageOpener::~PageOpener() {
    for (const char* key : {"Peerix.TestPage\\shell\\open\\command", "Peerix.TestPage\\shell\\open",
                            "Peerix.TestPage\\shell", "Peerix.TestPage", ".html"})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    DeleteFileA(record.c_str());
}

void PageOpener::Forget() const {
    DeleteFileA(record.c_str());
}

bool PageOpener::Ran() const {
    return GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string PageOpener::WaitForCommandLine(int timeoutMs) const {
    if (!waiting::WaitFor([&] { return Ran(); }, timeoutMs)) return "";
    std::ifstream in(record, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

WindowsXpForPeerix::WindowsXpForPeerix() {
    WriteString(HKEY_CURRENT_USER, kXpKey, "Version", "winxp");
}

WindowsXpForPeerix::~WindowsXpForPeerix() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kXpKey);
}

PeerixCopy::PeerixCopy(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {}, from[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    MultiByteToWideChar(CP_ACP, 0, ProgramFolder().c_str(), -1, from, MAX_PATH);
    folder = temp + name + L"\\";
    Remove();  // what an interrupted run left
    const std::wstring f = from;
    made = CreateDirectoryW(folder.c_str(), nullptr) &&
           FileOperation(FO_COPY, f + L"Peerix.exe" + L'\0' + f + L"Peerix.hlp" + L'\0' + f + L"help" + L'\0',
                         folder + L'\0');
}

PeerixCopy::~PeerixCopy() {
    if (process.hProcess) {
        if (!Close()) TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    Remove();
}

void PeerixCopy::Remove() const {
    // A process that has just ended (Peerix, the help viewer) may still hold a file for a moment.
    waiting::WaitFor(
        [&] {
            FileOperation(FO_DELETE, folder.substr(0, folder.size() - 1) + L'\0', L"");
            return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
        },
        10000, 200);
}

HWND PeerixCopy::Start() {
    if (process.hProcess) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    const std::wstring exe = folder + L"Peerix.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    process = {};
    window = nullptr;
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process) ||
        !waiting::WaitFor(
            [&] { return (window = VisibleWindowOfClass("PeerixMainWnd", process.dwProcessId)) != nullptr; }, 15000))
        return nullptr;
    WaitForInputIdle(process.hProcess, 5000);
    return window;
}

bool PeerixCopy::Close() {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
}

}  // namespace e2e
