// The program's real main window, created in the test process by the program's own code.
#ifndef PEERIX_TEST_WINDOW_SUPPORT_H
#define PEERIX_TEST_WINDOW_SUPPORT_H

#include <windows.h>

// The window rectangle at (x, y) whose client area is width x height, for the main window's
// style; without the bars that is the view.
RECT FrameForClient(int x, int y, int width, int height);

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

#endif
