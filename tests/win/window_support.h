// The program's real main window, created in the test process by the program's own code.
#ifndef PEERIX_TEST_WINDOW_SUPPORT_H
#define PEERIX_TEST_WINDOW_SUPPORT_H

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

// The built help file lies beside the test programs too: makes a main window created in this
// process skip opening the help viewer at creation (the help file time lies in the future).
void KeepHelpClosedAtStart();

class RealMainWindow {
public:
    // Creates and shows the main window, then places it at the given window rectangle.
    explicit RealMainWindow(const RECT& windowRect, bool toolbar = false, bool statusBar = false);
    // Destroys it and unregisters its class so that the next test can create it again.
    ~RealMainWindow();
    RealMainWindow(const RealMainWindow&) = delete;
    RealMainWindow& operator=(const RealMainWindow&) = delete;
    HWND Handle() const { return hwnd; }

private:
    HWND hwnd;
};

// Everything a component test may change in the process's global objects: every setting (taken
// row by row through the settings table, so a new setting is covered without a line here) and the
// main window's plain fields. Put back when it goes out of scope, whatever the test asserted.
class SavedGlobals {
public:
    SavedGlobals();
    ~SavedGlobals();
    SavedGlobals(const SavedGlobals&) = delete;
    SavedGlobals& operator=(const SavedGlobals&) = delete;

private:
    std::vector<std::vector<BYTE>> rows;
    POINT point;
    int bandHeight, statusHeight;
    COLORREF lastColour;
    POINT selAnchor, selCurrent;
};

// The base of every component test that changes settings or the main window's fields.
class GlobalStateTest : public testing::Test {
private:
    SavedGlobals saved;
};

// The base of the component tests of the program's modal dialogs: their owner, a plain popup
// window at ownerRect, made for each test and destroyed after it.
class OwnedDialogTest : public GlobalStateTest {
protected:
    void SetUp() override;
    void TearDown() override;

    const RECT ownerRect = {212, 141, 212 + 517, 141 + 403};
    HWND owner = nullptr;
};

#endif
