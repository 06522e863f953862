// Peerix's own help popup: a short text in the system's tooltip colours beside what it explains.
#ifndef PEERIX_HELPPOPUP_H
#define PEERIX_HELPPOPUP_H

#include <windows.h>

// The popup's window class; its window text is the text it shows, for screen readers too.
#define PEERIX_HELP_POPUP_CLASS "PeerixHelpPopup"

// Shows text in a popup owned by the top-level window of `about`, below or above anchor (screen
// coordinates) and inside the work area of anchor's monitor, wrapped at a readable width in the
// status font at about's DPI. It takes the focus and closes on a click anywhere, any key or when
// it loses the focus; after a key or a click in Peerix the focus goes back where it was. False
// when the popup cannot be made.
bool ShowHelpPopup(HWND about, const RECT& anchor, const wchar_t* text);

#endif
