// The base of the end-to-end tests: a clean registry before each test and none left after it,
// the settings a test starts Peerix with, the Peerix it starts, and the screen's size.
#ifndef PEERIX_E2E_PEERIX_TEST_H
#define PEERIX_E2E_PEERIX_TEST_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "peerix_process.h"
#include "view.h"

namespace e2e {

// Writes the settings of a start: toolbar and status bar shown or not, the zoom, the point of
// interest and the window rectangle (WindowForClient gives one for a client size).
void WriteStartSettings(bool toolbar, bool statusBar, int zoom, POINT point, const RECT& window);

// Sets the screen's size as a user's display settings do (Wine's virtual desktop follows),
// through the display_mode helper built beside this program: a process of its own, so that every
// process's windows are told of the change. True once the screen has that size.
bool SetScreenSize(int width, int height);

// A colour as Peerix writes it: the status bar's " RGB:250,010,200 " and "Colour: 0xc80afa", and
// Copy Colour's "#FA0AC8".
std::string RgbText(COLORREF c);
std::string HexText(COLORREF c);
std::string HashText(COLORREF c);

// The fixture of the end-to-end tests: ResetSettings before each test; after it, the Peerix it
// started ended, DeletePeerixKey, and the screen's size put back if the test changed it.
class PeerixTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts peerix, fills in window and chrome, and gives the window the keyboard focus so that
    // keys pressed next reach it; false when any of that fails.
    bool Start();
    // Peerix's popup menu once it is shown; null when none appears within timeoutMs.
    HWND WaitForMenu(int timeoutMs = 5000) const;
    // Waits until Peerix shows no popup menu; false when one stays.
    bool WaitForNoMenu(int timeoutMs = 3000) const;
    // Opens the view's context menu with Shift+F10 and picks an item by its mnemonic; false when
    // the menu did not open or did not close.
    bool PickFromMenu(WORD mnemonic);

    PeerixProcess peerix;
    HWND window = nullptr;
    Chrome chrome;

private:
    const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
};

// The base of the tests that read the clipboard: empty before and after each test.
class ClipboardTest : public PeerixTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace e2e

#endif
