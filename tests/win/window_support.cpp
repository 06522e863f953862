#include "window_support.h"

#include <cstring>

#include "app/globals.h"
#include "app/settings.h"
#include "app/startup.h"
#include "tests/support/wait.h"
#include "view/mainwindow.h"

SavedGlobals::SavedGlobals()
    : point(mainWindow.point),
      bandHeight(mainWindow.bandHeight),
      statusHeight(mainWindow.statusHeight),
      lastColour(mainWindow.lastColour),
      selAnchor(mainWindow.selAnchor),
      selCurrent(mainWindow.selCurrent) {
    const SettingsEntry* table = settings.Table();
    for (int i = 0; i < Settings::kRowCount; ++i) {
        const BYTE* data = static_cast<const BYTE*>(table[i].data);
        rows.emplace_back(data, data + table[i].size);
    }
}

SavedGlobals::~SavedGlobals() {
    const SettingsEntry* table = settings.Table();
    for (int i = 0; i < Settings::kRowCount; ++i) std::memcpy(table[i].data, rows[i].data(), rows[i].size());
    mainWindow.point = point;
    mainWindow.bandHeight = bandHeight;
    mainWindow.statusHeight = statusHeight;
    mainWindow.lastColour = lastColour;
    mainWindow.selAnchor = selAnchor;
    mainWindow.selCurrent = selCurrent;
}

void OwnedDialogTest::SetUp() {
    owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE | WS_BORDER, ownerRect.left, ownerRect.top,
                            ownerRect.right - ownerRect.left, ownerRect.bottom - ownerRect.top, nullptr, nullptr,
                            nullptr, nullptr);
    waiting::PumpFor(20);
}

void OwnedDialogTest::TearDown() {
    DestroyWindow(owner);
    waiting::PumpFor(20);
}

void KeepHelpClosedAtStart() {
    settings.HelpFileTime = FILETIME{0xFFFFFFFFu, 0x7FFFFFFFu};
}

RealMainWindow::RealMainWindow(const RECT& r, bool toolbar, bool statusBar) {
    settings.SingleInstance = 0;
    settings.DisplayToolbar = toolbar;
    settings.DisplayStatusbar = statusBar;
    settings.MouseTracking = 0;
    hwnd = CreateMainWindow(programInstance, SW_SHOWNOACTIVATE);
    if (hwnd) {
        SetWindowPos(hwnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
        UpdateWindow(hwnd);
    }
    waiting::PumpFor(50);
}

RealMainWindow::~RealMainWindow() {
    if (hwnd) DestroyWindow(hwnd);
    UnregisterClassA(PEERIX_CLASS_NAME, programInstance);
    // WM_DESTROY posts the quit message; take it off the queue so it ends nothing here.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    waiting::PumpFor(20);
}
