#include "call_spy.h"

#include <mutex>

#include "tests/e2e/support/dialogs.h"

namespace spy {

namespace {

// The import table slot through which this program calls dll!function, or null.
void** ImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        auto* names =
            reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void* Swap(void** slot, void* replacement) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    void* previous = *slot;
    *slot = replacement;
    VirtualProtect(slot, sizeof *slot, old, &old);
    return previous;
}

std::mutex lock;

std::vector<HelpCall> helpCalls;

BOOL WINAPI RecordWinHelp(HWND window, LPCSTR file, UINT command, ULONG_PTR data) {
    HelpCall call{window, file ? file : "", command, data, {}, {}, 0, nullptr, {}, 0, false};
    if ((command == HELP_WM_HELP || command == HELP_CONTEXTMENU) && data) {
        const auto* ids = reinterpret_cast<const DWORD*>(data);
        call.ids.assign(ids, ids + 4);
    }
    call.windowClass = dialogs::ClassOf(window);
    call.controlId = GetDlgCtrlID(window);
    call.parent = GetParent(window);
    call.inParent = call.parent ? dialogs::RectIn(window, call.parent) : dialogs::Rect(window);
    call.style = GetWindowLongA(window, GWL_STYLE);
    MSG quit;
    call.quitPosted = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
    std::lock_guard<std::mutex> hold(lock);
    helpCalls.push_back(call);
    // Not passed on: for a missing file Wine's viewer waits for an answer to its box, and for the
    // pop-up commands it only starts hidden and outlives the test, holding its output open.
    return TRUE;
}

using BeepFn = BOOL(WINAPI*)(UINT);
BeepFn realBeep = nullptr;
std::vector<UINT> beeps;

BOOL WINAPI RecordBeep(UINT type) {
    {
        std::lock_guard<std::mutex> hold(lock);
        beeps.push_back(type);
    }
    return realBeep ? realBeep(type) : TRUE;
}

}  // namespace

ImportHook::ImportHook(const char* function, void* replacement) : slot(ImportSlot("user32.dll", function)) {
    if (slot) real = Swap(slot, replacement);
}

ImportHook::~ImportHook() {
    if (slot) Swap(slot, real);
}

WinHelpCalls::WinHelpCalls() : hook("WinHelpA", reinterpret_cast<void*>(RecordWinHelp)) {
    std::lock_guard<std::mutex> hold(lock);
    helpCalls.clear();
}

std::vector<HelpCall> WinHelpCalls::Calls() const {
    std::lock_guard<std::mutex> hold(lock);
    return helpCalls;
}

void WinHelpCalls::Clear() {
    std::lock_guard<std::mutex> hold(lock);
    helpCalls.clear();
}

Beeps::Beeps() : hook("MessageBeep", reinterpret_cast<void*>(RecordBeep)) {
    std::lock_guard<std::mutex> hold(lock);
    beeps.clear();
    realBeep = reinterpret_cast<BeepFn>(hook.Real());
}

std::vector<UINT> Beeps::Calls() const {
    std::lock_guard<std::mutex> hold(lock);
    return beeps;
}

}  // namespace spy
