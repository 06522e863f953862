// The context-help id of every area of the real main window, with and without its bars.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/settings.h"
#include "res/resource.h"
#include "tests/e2e/support/dialogs.h"
#include "tests/support/wait.h"
#include "tests/win/window_support.h"
#include "view/mainwindow.h"

namespace {

struct Spot {
    std::string name;
    POINT screen;
    int id;  // expected with both bars shown
};

POINT Centre(HWND window, const RECT& client) {
    POINT p = {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

POINT ClientPoint(int x, int y) {
    POINT p = {x, y};
    ClientToScreen(mainWindow.hwnd, &p);
    return p;
}

bool Inside(HWND window, POINT p) {
    RECT r;
    return window && GetWindowRect(window, &r) && PtInRect(&r, p);
}

int IdAt(POINT p) {
    int id = -1;
    const bool known = mainWindow.HelpIdAt(p, &id);
    EXPECT_EQ(known, id != 0) << p.x << "," << p.y;
    return id;
}

// Every area of the window shown with its toolbar band and status bar.
std::vector<Spot> Areas() {
    std::vector<Spot> spots;
    HWND tb = mainWindow.toolbar;
    RECT view;
    mainWindow.GetViewRect(&view);
    spots.push_back({"view centre", Centre(mainWindow.hwnd, view), HID_VIEW});
    spots.push_back({"view's top-left pixel", ClientPoint(view.left, view.top), HID_VIEW});
    spots.push_back({"view's bottom-right pixel", ClientPoint(view.right - 1, view.bottom - 1), HID_VIEW});
    spots.push_back({"zoom trackbar", dialogs::Centre(mainWindow.zoomTrack), HID_ZOOM_TRACK});
    spots.push_back({"rate trackbar", dialogs::Centre(mainWindow.rateTrack), HID_RATE_TRACK});
    for (int command : {ID_ALWAYS_ON_TOP, ID_SAVE_AS, ID_COPY_ZOOMED, ID_COPY_SCREEN, ID_FOLLOW_MOUSE}) {
        RECT r = {};
        EXPECT_TRUE(SendMessageA(tb, TB_GETRECT, command, reinterpret_cast<LPARAM>(&r))) << command;
        spots.push_back({"button " + std::to_string(command), Centre(tb, r), command});
        // A button's own corner pixel still belongs to it.
        spots.push_back({"corner of button " + std::to_string(command),
                         Centre(tb, RECT{r.left, r.top, r.left + 1, r.top + 1}), command});
    }
    RECT separator = {};
    EXPECT_TRUE(SendMessageA(tb, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&separator)));
    spots.push_back({"separator after Always on Top", Centre(tb, separator), HID_TOOLBAR});
    // The empty band right of the rate trackbar, in its middle row and just above the view.
    RECT rate, band;
    GetWindowRect(mainWindow.rateTrack, &rate);
    GetWindowRect(mainWindow.band, &band);
    const int emptyX = (rate.right + band.right) / 2;
    spots.push_back({"empty band", POINT{emptyX, (rate.top + rate.bottom) / 2}, HID_TOOLBAR});
    spots.push_back({"band just above the view", POINT{emptyX, ClientPoint(0, view.top - 1).y}, HID_TOOLBAR});
    // The band's top row in the client area, above the toolbar.
    const POINT clientTop = ClientPoint(0, 0);
    EXPECT_FALSE(Inside(tb, clientTop));
    EXPECT_TRUE(Inside(mainWindow.band, clientTop));
    spots.push_back({"band above the toolbar", clientTop, HID_TOOLBAR});
    for (int part = 0; part < 4; ++part) {
        RECT r = {};
        EXPECT_TRUE(SendMessageA(mainWindow.statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r)));
        spots.push_back(
            {"status part " + std::to_string(part), Centre(mainWindow.statusBar, r), HID_STATUS_MENU_HELP + part});
        if (part == 3) {
            // The size grip right of the last part.
            RECT status;
            GetClientRect(mainWindow.statusBar, &status);
            EXPECT_GT(status.right - 3, r.right);
            spots.push_back({"size grip",
                             Centre(mainWindow.statusBar,
                                    RECT{status.right - 4, status.bottom - 4, status.right - 2, status.bottom - 2}),
                             HID_STATUS_MENU_HELP});
        }
    }
    spots.push_back({"status bar's top row below the view", ClientPoint(2, view.bottom), HID_STATUS_MENU_HELP});
    RECT frame, client;
    GetWindowRect(mainWindow.hwnd, &frame);
    GetClientRect(mainWindow.hwnd, &client);
    const int caption = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    spots.push_back({"title bar", POINT{(frame.left + frame.right) / 2, frame.top + caption}, 0});
    spots.push_back({"left frame", POINT{frame.left + 1, (frame.top + frame.bottom) / 2}, 0});
    spots.push_back({"bottom frame", POINT{(frame.left + frame.right) / 2, frame.bottom - 1}, 0});
    spots.push_back({"outside the window", POINT{frame.right + 5, frame.bottom + 5}, 0});
    // The rebar's border reaches over the frame, and a hidden status bar lies below the client
    // area: neither makes the frame a toolbar or a status bar.
    spots.push_back({"frame under the band's border", POINT{band.left, band.top}, 0});
    spots.push_back({"frame just below the client area", ClientPoint(2, client.bottom), 0});
    return spots;
}

RECT ClientOnScreen() {
    RECT r;
    GetClientRect(mainWindow.hwnd, &r);
    MapWindowPoints(mainWindow.hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

class HelpIds : public GlobalStateTest {};

TEST_F(HelpIds, EveryAreaOfTheWindowHasItsIdAndTheViewWinsWhereHiddenBarsWere) {
    RealMainWindow w(RECT{60, 60, 660, 420}, true, true);
    ASSERT_NE(w.Handle(), nullptr);
    ASSERT_TRUE(IsWindowVisible(mainWindow.band));
    ASSERT_TRUE(IsWindowVisible(mainWindow.statusBar));
    const std::vector<Spot> spots = Areas();
    for (const Spot& s : spots) EXPECT_EQ(IdAt(s.screen), s.id) << s.name;

    // Where the bars are seen while shown; hidden, the view takes their place.
    RECT band, status;
    GetWindowRect(mainWindow.band, &band);
    GetWindowRect(mainWindow.statusBar, &status);
    RECT client = ClientOnScreen();
    IntersectRect(&band, &band, &client);
    IntersectRect(&status, &status, &client);

    // The band hidden: everything that was in it is the view now; the status bar keeps its ids.
    settings.DisplayToolbar = 0;
    mainWindow.ApplyToolbarVisibility();
    ASSERT_FALSE(IsWindowVisible(mainWindow.band));
    for (const Spot& s : spots) {
        const bool inBand = PtInRect(&band, s.screen) != FALSE;
        EXPECT_EQ(IdAt(s.screen), inBand ? HID_VIEW : s.id) << s.name << " without the band";
    }

    // The status bar hidden as well: its place is the view too.
    settings.DisplayStatusbar = 0;
    mainWindow.ApplyStatusBarVisibility();
    for (const Spot& s : spots) {
        const bool inBars = PtInRect(&band, s.screen) || PtInRect(&status, s.screen);
        EXPECT_EQ(IdAt(s.screen), inBars ? HID_VIEW : s.id) << s.name << " without either bar";
    }

    // Only the status bar hidden.
    settings.DisplayToolbar = 1;
    mainWindow.ApplyToolbarVisibility();
    for (const Spot& s : spots) {
        const bool inStatus = PtInRect(&status, s.screen) != FALSE;
        EXPECT_EQ(IdAt(s.screen), inStatus ? HID_VIEW : s.id) << s.name << " without the status bar";
    }
    settings.DisplayStatusbar = 1;
    mainWindow.ApplyStatusBarVisibility();
}
