// Peerix's own help popup as a user meets it, in this process or in Peerix's: the popup shown,
// its text, and the text the built help file gives the same id, since both come from one source.
#ifndef PEERIX_E2E_HELP_POPUP_H
#define PEERIX_E2E_HELP_POPUP_H

#include <windows.h>

#include <cstdint>
#include <string>

namespace e2e {

// The visible help popup of process pid, or null.
HWND ShownHelpPopup(DWORD pid);
// Waits for one; null when none came.
HWND WaitForHelpPopup(DWORD pid, int timeoutMs = 10000);
// Its window text, which is its text (WM_GETTEXT is carried between processes).
std::wstring PopupText(HWND popup);
// The text of the popup topic of id in Peerix.hlp beside the test program.
std::wstring HelpFilePopupText(uint32_t id);

}  // namespace e2e

#endif
