// Popup menus as a user sees them. Wine keeps a menu's items in the process that made it, so the
// items of Peerix's menus cannot be read from here; instead the shown menu is compared, pixel for
// pixel, with the same menu resource shown by this process with the expected check marks and
// greyed items.
#ifndef PEERIX_E2E_MENU_CAPTURE_H
#define PEERIX_E2E_MENU_CAPTURE_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/screen.h"

namespace e2e {

// The screen under a window once two captures in a row agree (its drawing has reached the
// screen); the last capture when that does not happen within the timeout.
pixels::Capture SettledCapture(HWND window, int timeoutMs = 3000);

// Menu 141 of Peerix.exe, loaded by this process.
class PeerixMenu {
public:
    PeerixMenu();
    ~PeerixMenu();
    PeerixMenu(const PeerixMenu&) = delete;
    PeerixMenu& operator=(const PeerixMenu&) = delete;
    HMENU Popup(int index) const { return GetSubMenu(menu, index); }
    // The popup's item texts, with "-" for a separator.
    std::vector<std::string> Texts(int index) const;

private:
    HMODULE module = nullptr;
    HMENU menu = nullptr;
};

struct ItemState {
    UINT id;
    bool checked;
    bool greyed;
    std::string text = {};  // the item's text where the program changes it when it shows the menu
};

// Shows sub-menu `index` of menu 141 with the given states at the screen point `at` from this
// process, captures it once drawn and closes it.
pixels::Capture ReferenceMenu(int index, const std::vector<ItemState>& states, POINT at);

// Empty when both captures have the same size and pixels; else where they differ.
std::string CompareCaptures(const pixels::Capture& got, const pixels::Capture& want);

}  // namespace e2e

#endif
