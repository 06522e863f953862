// Context help: the route to a topic (a page or WinHelp), the popups, What's This and the
// start-up check for new help.
#include "help.h"

#include <cstring>
#include <cwchar>

#include "../app/globals.h"
#include "../app/utils.h"
#include "../res/helptexts.h"
#include "../res/resource.h"
#include "helppopup.h"
#include "rules.h"

namespace {

constexpr DWORD kPathSize = 520;

// The program's folder, ending in a backslash, in UTF-16: its name may hold letters of any
// script, which the program's ANSI code page cannot always write.
bool ProgramFolder(wchar_t* buffer, DWORD size) {
    const DWORD length = GetModuleFileNameW(moduleHandle, buffer, size);
    if (length == 0 || length >= size) return false;
    wchar_t* slash = std::wcsrchr(buffer, L'\\');
    if (!slash) return false;
    slash[1] = L'\0';
    return true;
}

bool Append(wchar_t* buffer, DWORD size, const wchar_t* more) {
    const size_t used = std::wcslen(buffer), added = std::wcslen(more);
    if (used + added >= size) return false;
    std::memcpy(buffer + used, more, (added + 1) * sizeof(wchar_t));
    return true;
}

bool FileExists(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The help texts entry of `kind` for id, from the resource the help compiler made.
bool LoadHelpText(DWORD id, unsigned kind, wchar_t* out, size_t capacity) {
    HRSRC found = FindResourceA(programInstance, MAKEINTRESOURCEA(IDR_HELP_TEXTS), MAKEINTRESOURCEA(10));  // RCDATA
    HGLOBAL loaded = found ? LoadResource(programInstance, found) : nullptr;
    const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    size_t at = 0, length = 0;
    if (!data || !rules::FindHelpText(data, SizeofResource(programInstance, found), id, kind, &at, &length) ||
        length >= capacity)
        return false;
    std::memcpy(out, data + at, length * sizeof(wchar_t));
    out[length] = L'\0';
    return true;
}

// The page of a topic id in the help folder beside the program; an id without a page of its own
// opens the main topic's.
bool PagePath(DWORD id, wchar_t* buffer, DWORD size) {
    wchar_t name[MAX_PATH];
    if (!LoadHelpText(id, helptexts::kPage, name, MAX_PATH) &&
        !LoadHelpText(HID_MAIN_TOPIC, helptexts::kPage, name, MAX_PATH))
        return false;
    return ProgramFolder(buffer, size) && Append(buffer, size, L"" PEERIX_HELP_PAGES L"\\") &&
           Append(buffer, size, name);
}

bool HelpFilePath(wchar_t* buffer, DWORD size) {
    return ProgramFolder(buffer, size) && Append(buffer, size, L"" PEERIX_HELP_FILE);
}

// The code page in which the help engine, a process of its own, reads the file name: the
// system's ANSI code page, whatever this program's manifest makes its own.
UINT EngineCodePage() {
    DWORD codePage = 0;
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<wchar_t*>(&codePage), sizeof codePage / sizeof(wchar_t)) &&
        codePage != 0)
        return codePage;
    return CP_ACP;
}

// False when a letter of path has no form in the code page.
bool InCodePage(UINT codePage, const wchar_t* path, char* out, int capacity) {
    BOOL lost = FALSE;
    const bool utf8 = codePage == CP_UTF8;  // takes no flags and reports no losses
    const int written = WideCharToMultiByte(codePage, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, path, -1, out, capacity, nullptr,
                                            utf8 ? nullptr : &lost);
    return written > 0 && !lost;
}

// The program's folder as the help engine can read it.
bool EngineFolder(char* out, DWORD size) {
    wchar_t folder[kPathSize], shortFolder[kPathSize];
    if (!ProgramFolder(folder, kPathSize)) return false;
    const UINT codePage = EngineCodePage();
    const int capacity = static_cast<int>(size);
    if (InCodePage(codePage, folder, out, capacity)) return true;
    const DWORD length = GetShortPathNameW(folder, shortFolder, kPathSize);
    if (length > 0 && length < kPathSize && InCodePage(codePage, shortFolder, out, capacity)) return true;
    // Without a short name (a volume that keeps none) there is no right form; this one at least
    // keeps every letter the code page has.
    return WideCharToMultiByte(codePage, 0, folder, -1, out, capacity, nullptr, nullptr) > 0;
}

BOOL CallWinHelp(HWND window, UINT command, ULONG_PTR data) {
    char path[kPathSize];
    GetHelpRequestPath(path, sizeof path, RunningUnderWine());
    return path[0] ? WinHelpA(window, path, command, data) : FALSE;
}

// The one place that hands a file to the shell: the page opens in the program the user chose for
// web pages. The result is ShellExecute's: above 32 when it opened.
INT_PTR OpenPage(HWND window, const wchar_t* page) {
    const auto shellExecute = SystemProc<decltype(&ShellExecuteW)>("shell32.dll", "ShellExecuteW");
    if (!shellExecute) return SE_ERR_DLLNOTFOUND;
    return reinterpret_cast<INT_PTR>(shellExecute(window, nullptr, page, nullptr, nullptr, SW_SHOWNORMAL));
}

void ReportMissing(HWND window, const wchar_t* path) {
    wchar_t format[256], caption[64], text[kPathSize + 256];
    if (!LoadStringW(programInstance, IDS_HELP_MISSING, format, 256) ||
        !LoadStringW(programInstance, IDS_TITLE, caption, 64))
        return;
    wsprintfW(text, format, path);
    MessageBoxW(window ? GetAncestor(window, GA_ROOT) : nullptr, text, caption, MB_ICONERROR);
}

BOOL ShowTopic(HWND window, UINT command, ULONG_PTR data) {
    wchar_t page[kPathSize] = L"", file[kPathSize] = L"";
    const bool pageKnown = PagePath(static_cast<DWORD>(data), page, kPathSize);
    if (!HelpFilePath(file, kPathSize)) return FALSE;
    rules::HelpAction action =
        rules::FirstHelpAction(SystemMajorVersion(), pageKnown && FileExists(page), FileExists(file));
    if (action == rules::HelpAction::OpenPage) action = rules::AfterPageOpen(OpenPage(window, page), FileExists(file));
    switch (action) {
    case rules::HelpAction::WinHelp:
        return CallWinHelp(window, command, data);
    case rules::HelpAction::ReportMissingPage:
        ReportMissing(window, page);
        return FALSE;
    case rules::HelpAction::ReportMissingFile:
        ReportMissing(window, file);
        return FALSE;
    default:
        return TRUE;
    }
}

// The popup for the help id of the first (control id, help id) pair, beside the window asked
// about, or at the pointer when a right click on that window asked.
BOOL ShowPopup(HWND window, UINT command, const DWORD* ids) {
    wchar_t text[helptexts::kMaxText + 1];
    RECT anchor;
    if (!ids || !LoadHelpText(ids[1], helptexts::kPopup, text, helptexts::kMaxText + 1) ||
        !GetWindowRect(window, &anchor))
        return FALSE;
    POINT pointer;
    if (command == HELP_CONTEXTMENU && GetCursorPos(&pointer) && PtInRect(&anchor, pointer)) {
        // Below the pointer's arrow rather than over it.
        anchor = RECT{pointer.x, pointer.y, pointer.x + 1, pointer.y + GetSystemMetrics(SM_CYCURSOR) / 2};
    }
    return ShowHelpPopup(window, anchor, text) ? TRUE : FALSE;
}

}  // namespace

bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

unsigned SystemMajorVersion() {
    // The manifest names the systems Peerix knows, so GetVersionEx tells the truth up to Windows 11.
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (GetVersionExA(&info)) return info.dwMajorVersion;
    using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto rtlGetVersion = reinterpret_cast<RtlGetVersionProc>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW wide = {};
    wide.dwOSVersionInfoSize = sizeof wide;
    return rtlGetVersion && rtlGetVersion(&wide) == 0 ? wide.dwMajorVersion : 0;
}

void GetHelpRequestPath(char* buffer, DWORD size, bool underWine) {
    char folder[kPathSize];
    if (!EngineFolder(folder, sizeof folder)) folder[0] = '\0';
    rules::HelpRequestPath(folder, underWine, buffer, size);
}

BOOL ShowHelp(HWND window, UINT command, ULONG_PTR data) {
    switch (command) {
    case HELP_WM_HELP:
    case HELP_CONTEXTMENU:
        return ShowPopup(window, command, reinterpret_cast<const DWORD*>(data));
    case HELP_QUIT:
        // WinHelp may have opened the help file, as the fallback of a page, at any time.
        return CallWinHelp(window, command, data);
    default:
        return ShowTopic(window, command, data);
    }
}

bool GetFileWriteTime(const wchar_t* name, FILETIME* time) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(name, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    *time = found.ftLastWriteTime;
    FindClose(search);
    return true;
}

bool GetStartupHelpPath(wchar_t* buffer, DWORD size) {
    return rules::PagesAreTheRoute(SystemMajorVersion()) ? PagePath(HID_MAIN_TOPIC, buffer, size)
                                                         : HelpFilePath(buffer, size);
}

bool HelpFileChanged(FILETIME* known) {
    // The file that help would open: the one beside the program, not one in the current folder.
    wchar_t path[kPathSize];
    FILETIME written;
    if (!GetStartupHelpPath(path, kPathSize) || !GetFileWriteTime(path, &written) ||
        CompareFileTime(&written, known) <= 0)
        return false;
    *known = written;
    return true;
}

void ShowWhatsThis(HWND owner, POINT screenPoint, int helpId) {
    POINT client = screenPoint;
    ScreenToClient(owner, &client);
    // The popup goes beside the window it is given, so a hidden child stands at the point.
    HWND spot = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD, client.x, client.y, 10, 10, owner,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(1)), programInstance, nullptr);
    DWORD ids[4] = {1, static_cast<DWORD>(helpId), 0, 0};
    ShowHelp(spot, HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(ids));
    if (spot) DestroyWindow(spot);
}
