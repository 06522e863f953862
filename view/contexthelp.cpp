// Context help for the main window: which area a point lies on, and the help shown at start-up
// when the help file is new.
#include "../app/globals.h"
#include "../app/settings.h"
#include "../chrome/help.h"
#include "../chrome/hittest.h"
#include "../res/resource.h"
#include "mainwindow.h"

bool MainWindow::HelpIdAt(POINT p, int* id) const {
    *id = 0;
    POINT client = p;
    ScreenToClient(hwnd, &client);
    // The frame and the title bar have no help. The bars' window rectangles reach past the client
    // area: the rebar by its border, and a hidden status bar lies wholly below it.
    RECT inside;
    if (!GetClientRect(hwnd, &inside) || !PtInRect(&inside, client)) return false;
    if (viewRegion && PtInRegion(viewRegion, client.x, client.y))
        *id = HID_VIEW;
    else
        *id = BarHelpIdAt(p, BarWindows{band, toolbar, zoomTrack, rateTrack, statusBar});
    return *id != 0;
}

void MainWindow::CheckHelpFile() {
    if (HelpFileChanged(&settings.HelpFileTime)) HandleMessage(WM_HELP, 0, 0);
}
