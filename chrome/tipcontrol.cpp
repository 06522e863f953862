#include "tipcontrol.h"

#include <commctrl.h>

#include <cstddef>

bool TipControl::Create(HINSTANCE instance, HWND owner) {
    window = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    return window != nullptr;
}

namespace {

#ifndef _WIN64
static_assert(offsetof(TOOLINFOA, lParam) + sizeof(LPARAM) == 44, "the tool record up to lParam");
#endif

// The 44-byte record (with lParam, without the later fields) that every common-controls
// version accepts.
TOOLINFOA ToolFor(HWND tipWindow, HWND trackbar, UINT flags, const char* text) {
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.uFlags = flags;
    info.hwnd = tipWindow;
    info.uId = reinterpret_cast<UINT_PTR>(trackbar);
    info.lpszText = const_cast<char*>(text);
    return info;
}

}  // namespace

bool TipControl::AddTool(HWND trackbar, const char* text) {
    TOOLINFOA info = ToolFor(window, trackbar, TTF_IDISHWND | TTF_SUBCLASS, text);
    if (!GetClientRect(trackbar, &info.rect)) return false;
    return SendMessageA(window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void TipControl::Activate(bool active) {
    SendMessageA(window, TTM_ACTIVATE, active, 0);
}

void TipControl::UpdateTipText(HWND trackbar, const char* text) {
    TOOLINFOA info = ToolFor(window, trackbar, 0, text);
    SendMessageA(window, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}
