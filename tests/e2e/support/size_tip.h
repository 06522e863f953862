// The selection's size tip of a running Peerix, and how it should look.
#ifndef PEERIX_E2E_SIZE_TIP_H
#define PEERIX_E2E_SIZE_TIP_H

#include <windows.h>

#include <string>

#include "tests/support/screen.h"

namespace e2e {

// Peerix's shown size tip (class "hbx_TrackingToolTip"), or null.
HWND ShownSizeTip(DWORD pid);

// The tip's window size for a text: the text's extent in the default GUI font plus 8 x 2.
SIZE TipSizeFor(const std::string& text);

// The tip's client area as the program paints it: the text centred in one line, in the tooltip
// colours and the default GUI font.
pixels::Capture RenderTip(const std::string& text, SIZE client);

// Checks that the tip shows `text` with its bottom-left corner at the screen point `corner`;
// empty when it does, else what differs. Waits for the tip's drawing to reach the screen.
std::string CheckTip(DWORD pid, POINT corner, const std::string& text, int timeoutMs = 3000);

}  // namespace e2e

#endif
