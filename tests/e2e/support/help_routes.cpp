#include "help_routes.h"

#include <vector>

#include "peerix_process.h"
#include "process_windows.h"
#include "tests/support/wait.h"

namespace e2e {

namespace {

const char kPageType[] = "Peerix.TestPage";
const char kXpKey[] = "Software\\Wine\\AppDefaults\\Peerix.exe";

bool ReadDefault(HKEY root, const char* path, std::string* value) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    const bool ok =
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (ok) *value = buffer;
    return ok;
}

void WriteString(HKEY root, const std::string& path, const char* name, const std::string& value) {
    HKEY key;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

std::wstring TempFolderW() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    return path;
}

}  // namespace

std::wstring Widen(const std::string& text) {
    wchar_t wide[2048] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 2048);
    return wide;
}

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
    extensionExisted = ReadDefault(HKEY_CLASSES_ROOT, ".html", &extensionBefore);
    WriteString(HKEY_CLASSES_ROOT, ".html", nullptr, kPageType);
    WriteString(HKEY_CLASSES_ROOT, std::string(kPageType) + "\\shell\\open\\command", nullptr,
                "\"" + ProgramFolder() + "page_opener.exe\" \"" + record + "\" \"%1\"");
}

PageOpener::~PageOpener() {
    for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
        RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kPageType) + sub).c_str());
    if (extensionExisted)
        WriteString(HKEY_CLASSES_ROOT, ".html", nullptr, extensionBefore);
    else
        RegDeleteKeyA(HKEY_CLASSES_ROOT, ".html");
    DeleteFileA(record.c_str());
}

void PageOpener::Forget() const {
    DeleteFileA(record.c_str());
}

bool PageOpener::Ran() const {
    return GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring PageOpener::WaitForCommandLine(int timeoutMs) const {
    if (!waiting::WaitFor([&] { return Ran(); }, timeoutMs)) return L"";
    HANDLE file = CreateFileA(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return L"";
    std::vector<char> bytes(GetFileSize(file, nullptr) + 1, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size() - 1), &read, nullptr);
    CloseHandle(file);
    std::vector<wchar_t> wide(bytes.size(), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), -1, wide.data(), static_cast<int>(wide.size()));
    return wide.data();
}

bool NoProgramForPages() {
    std::string type, command;
    return !ReadDefault(HKEY_CLASSES_ROOT, ".html", &type) ||
           !ReadDefault(HKEY_CLASSES_ROOT, (type + "\\shell\\open\\command").c_str(), &command);
}

WindowsXpForPeerix::WindowsXpForPeerix() {
    WriteString(HKEY_CURRENT_USER, kXpKey, "Version", "winxp");
}

WindowsXpForPeerix::~WindowsXpForPeerix() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kXpKey);
}

PeerixCopy::PeerixCopy(const std::wstring& name) : folder(TempFolderW() + name + L"\\") {
    const std::wstring from = Widen(ProgramFolder());
    made = CreateDirectoryW(folder.c_str(), nullptr) && CreateDirectoryW((folder + L"help").c_str(), nullptr) &&
           CopyFileW((from + L"Peerix.exe").c_str(), (folder + L"Peerix.exe").c_str(), FALSE) &&
           CopyFileW((from + L"Peerix.hlp").c_str(), (folder + L"Peerix.hlp").c_str(), FALSE);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"help\\*.html").c_str(), &found);
    made = made && search != INVALID_HANDLE_VALUE;
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        made = made && CopyFileW((from + L"help\\" + found.cFileName).c_str(),
                                 (folder + L"help\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

PeerixCopy::~PeerixCopy() {
    if (process.hProcess) {
        if (!Close()) TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"help\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW((folder + L"help\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW((folder + L"help").c_str());
    DeleteFileW((folder + L"Peerix.exe").c_str());
    DeleteFileW((folder + L"Peerix.hlp").c_str());
    RemoveDirectoryW(folder.c_str());
}

bool PeerixCopy::Start() {
    if (process.hProcess) {
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        process = {};
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    const std::wstring exe = folder + L"Peerix.exe";
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return false;
    if (!waiting::WaitFor(
            [&] { return (window = VisibleWindowOfClass("PeerixMainWnd", process.dwProcessId)) != nullptr; }, 15000))
        return false;
    WaitForInputIdle(process.hProcess, 5000);
    return true;
}

bool PeerixCopy::Close() {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    return WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
}

std::wstring MessageBoxTextW(HWND box) {
    wchar_t text[2048] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    return text;
}

}  // namespace e2e
