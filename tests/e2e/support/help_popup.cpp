#include "help_popup.h"

#include "chrome/helppopup.h"
#include "peerix_process.h"
#include "process_windows.h"
#include "tests/support/hlp_reader.h"
#include "tests/support/wait.h"

namespace e2e {

HWND ShownHelpPopup(DWORD pid) {
    return VisibleWindowOfClass(PEERIX_HELP_POPUP_CLASS, pid);
}

HWND WaitForHelpPopup(DWORD pid, int timeoutMs) {
    HWND popup = nullptr;
    waiting::WaitFor([&] { return (popup = ShownHelpPopup(pid)) != nullptr; }, timeoutMs);
    return popup;
}

std::wstring PopupText(HWND popup) {
    wchar_t text[2048] = {};
    GetWindowTextW(popup, text, 2048);
    return text;
}

std::wstring HelpFilePopupText(uint32_t id) {
    const hlp::File built(hlp::ReadWholeFile(ProgramFolder() + "Peerix.hlp"));
    const auto topics = built.Topics();
    const auto map = built.ContextMap();
    const hlp::File::Topic* topic = map.count(id) ? built.TopicAt(topics, map.at(id)) : nullptr;
    if (!topic) return L"(no topic for the id)";
    // The help file is written in Windows-1252.
    wchar_t text[2048] = {};
    MultiByteToWideChar(1252, 0, topic->text.c_str(), -1, text, 2048);
    return text;
}

}  // namespace e2e
