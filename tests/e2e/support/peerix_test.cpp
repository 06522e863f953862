#include "peerix_test.h"

#include <cstdio>

#include "input.h"
#include "process_windows.h"
#include "registry.h"
#include "tests/support/images.h"
#include "tests/support/wait.h"

namespace e2e {

void WriteStartSettings(bool toolbar, bool statusBar, int zoom, POINT point, const RECT& window) {
    WriteDword("DisplayToolbar", toolbar ? 1 : 0);
    WriteDword("DisplayStatusbar", statusBar ? 1 : 0);
    WriteDword("ZoomFactor", static_cast<DWORD>(zoom));
    WritePoint("ZoomPoint", point.x, point.y);
    WriteRect("WindowPos", window.left, window.top, window.right, window.bottom);
}

bool SetScreenSize(int width, int height) {
    const auto sized = [&] {
        return GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
    };
    if (sized()) return true;
    char command[MAX_PATH + 32];
    std::snprintf(command, sizeof command, "\"%sdisplay_mode.exe\" %d %d", ProgramFolder().c_str(), width, height);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    DWORD code = 1;
    if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0 && waiting::WaitFor(sized, 5000);
}

std::string RgbText(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof text, " RGB:%03d,%03d,%03d ", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string HexText(COLORREF c) {
    char text[32];
    std::snprintf(text, sizeof text, "Colour: 0x%06lx", static_cast<unsigned long>(c));
    return text;
}

std::string HashText(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

void PeerixTest::SetUp() {
    ResetSettings();
}

void PeerixTest::TearDown() {
    peerix.End();  // first: a program that closes now stores its settings
    DeletePeerixKey();
    SetScreenSize(screen.cx, screen.cy);
}

bool PeerixTest::Start() {
    if (!peerix.Start()) return false;
    window = peerix.Window();
    chrome = FindChrome(window);
    return input::FocusForKeys(window);
}

HWND PeerixTest::WaitForMenu(int timeoutMs) const {
    HWND menu = nullptr;
    waiting::WaitFor([&] { return (menu = ShownPopupMenu(peerix.Pid())) != nullptr; }, timeoutMs);
    return menu;
}

bool PeerixTest::WaitForNoMenu(int timeoutMs) const {
    return waiting::WaitFor([&] { return ShownPopupMenu(peerix.Pid()) == nullptr; }, timeoutMs);
}

bool PeerixTest::PickFromMenu(WORD mnemonic) {
    input::Press(VK_F10, {VK_SHIFT});
    if (!WaitForMenu(3000)) return false;
    input::Press(mnemonic);
    return WaitForNoMenu();
}

void ClipboardTest::SetUp() {
    PeerixTest::SetUp();
    images::EmptyTheClipboard();
}

void ClipboardTest::TearDown() {
    PeerixTest::TearDown();
    images::EmptyTheClipboard();
}

}  // namespace e2e
