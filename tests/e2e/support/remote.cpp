#include "remote.h"

#include <commctrl.h>

namespace remote {

Buffer::Buffer(HWND ofWindow, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(ofWindow, &pid);
    process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process) address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

Buffer::~Buffer() {
    if (address) VirtualFreeEx(process, address, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
}

bool Buffer::Read(void* out, size_t size) const {
    SIZE_T done = 0;
    return address && ReadProcessMemory(process, address, out, size, &done) && done == size;
}

bool Buffer::Write(const void* data, size_t size) {
    SIZE_T done = 0;
    return address && WriteProcessMemory(process, address, data, size, &done) && done == size;
}

std::string StatusText(HWND statusBar, int part) {
    // The wide form: what the status bar holds, whatever code page each program runs in.
    WCHAR text[1024] = {};
    Buffer b(statusBar, sizeof text);
    const LRESULT r = SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(part), b.Address());
    b.Read(text, sizeof text);
    const int length = LOWORD(r) < 1024 ? LOWORD(r) : 0;
    char utf8[4096] = {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8, nullptr, nullptr);
    return std::string(utf8, n > 0 ? n : 0);
}

RECT RectFrom(HWND control, UINT message, WPARAM wParam) {
    Buffer b(control, sizeof(RECT));
    RECT r = {};
    SendMessageA(control, message, wParam, b.Address());
    b.Read(&r, sizeof r);
    return r;
}

RECT StatusPartRect(HWND statusBar, int part) {
    return RectFrom(statusBar, SB_GETRECT, static_cast<WPARAM>(part));
}

int ButtonState(HWND toolbar, int command) {
    return static_cast<int>(SendMessageA(toolbar, TB_GETSTATE, static_cast<WPARAM>(command), 0));
}

RECT ButtonRect(HWND toolbar, int command) {
    return RectFrom(toolbar, TB_GETRECT, static_cast<WPARAM>(command));
}

RECT ButtonOnScreen(HWND toolbar, int command) {
    RECT r = ButtonRect(toolbar, command);
    MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string ToolText(HWND tooltip, HWND owner, HWND tool) {
    // TOOLINFO and its text buffer in one block in the other process.
    Buffer b(tooltip, sizeof(TOOLINFOA) + 256);
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = reinterpret_cast<char*>(b.Address() + sizeof(TOOLINFOA));
    b.Write(&info, sizeof info);
    SendMessageA(tooltip, TTM_GETTEXTA, 256, b.Address());
    char all[sizeof(TOOLINFOA) + 256] = {};
    b.Read(all, sizeof all);
    all[sizeof all - 1] = '\0';
    return std::string(all + sizeof(TOOLINFOA));
}

}  // namespace remote
