// The main window's chrome: building the bars, their layout and visibility, and the
// notifications they send.
#include <windows.h>
#include <commctrl.h>

#include "../app/globals.h"
#include "../app/settings.h"
#include "../chrome/chrome.h"
#include "../res/resource.h"
#include "mainwindow.h"
#include "rules.h"

bool MainWindow::OnCreate() {
    tips.Create(programInstance, hwnd);
    band = CreateRebar(hwnd);
    hasRebar = band != nullptr;
    toolbar = CreateToolbar(hwnd, band, tips.window);
    if (!hasRebar) band = toolbar;
    bandHeight = WindowHeight(band) - 2;
    CreateTrackbars(hwnd, toolbar, hasRebar, settings.ZoomFactor, settings.Update, &zoomTrack, &rateTrack);
    statusBar = CreateStatusBar(hwnd, pressF1Text.GetText());
    statusHeight = WindowHeight(statusBar);
    LayoutStatusParts();
    AddTrackbarTips();
    CheckHelpFile();
    SetUpdateRate(settings.Update, true);
    SetTimer(hwnd, kHousekeepingTimer, 100, nullptr);
    ApplyAlwaysOnTop();
    ApplyToolbarVisibility();
    ApplyStatusBarVisibility();
    AddAboutToSystemMenu(hwnd);
    return true;
}

void MainWindow::LayoutStatusParts() {
    RECT view;
    GetViewRect(&view);
    SetStatusParts(statusBar, hwnd, view.right - view.left, statusHeight);
}

void MainWindow::AddTrackbarTips() {
    char text[128];
    zoomLevelFormat.Format(text, settings.ZoomFactor);
    tips.AddTool(zoomTrack, text);
    tips.Activate(true);
    autoUpdateFormat.Format(text, rules::RateName(settings.Update));
    tips.AddTool(rateTrack, text);
}

void MainWindow::ApplyToolbarVisibility() {
    ShowWindow(band, settings.DisplayToolbar ? SW_SHOW : SW_HIDE);
    Layout();
    PaintNow();
}

void MainWindow::ApplyStatusBarVisibility() {
    ShowWindow(statusBar, settings.DisplayStatusbar ? SW_SHOW : SW_HIDE);
    Layout();
    PaintNow();
}

void MainWindow::OnNotify(NMHDR* header) {
    FillToolTipText(header);
}

void MainWindow::OnMenuSelect(WORD item, WORD flags, HMENU menu) {
    ShowMenuHelp(statusBar, item, flags, menu);
}

void MainWindow::OnDrawItem(UINT control, const DRAWITEMSTRUCT* item) {
    if (control == IDC_STATUSBAR) DrawSwatch(item, lastColour);
}
