// The main window's chrome: building the bars, their layout and visibility, and the
// notifications they send.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "../app/globals.h"
#include "../app/settings.h"
#include "../chrome/chrome.h"
#include "../chrome/dpi.h"
#include "../chrome/rules.h"
#include "../res/resource.h"
#include "mainwindow.h"
#include "rules.h"

bool MainWindow::OnCreate() {
    // A window made before in this process (the tests make many) may have left another DPI's
    // images and font behind.
    dpi = rules::kDesignDpi;
    largeImages.reset();
    guiFont.reset();
    sizeTip.SetLook(nullptr, dpi);
    tips.Create(programInstance, hwnd);
    band = CreateRebar(hwnd);
    hasRebar = band != nullptr;
    toolbar = CreateToolbar(hwnd, band, tips.window);
    if (!hasRebar) band = toolbar;
    bandHeight = WindowHeight(band) - 2;
    CreateTrackbars(hwnd, toolbar, hasRebar, settings.ZoomFactor, settings.Update, &zoomTrack, &rateTrack);
    statusBar = CreateStatusBar(hwnd, pressF1Text.GetText());
    statusHeight = WindowHeight(statusBar);
    // What the chrome was built with is its look at 96 DPI; other DPIs are scaled from it.
    stockImages = reinterpret_cast<HIMAGELIST>(SendMessageA(toolbar, TB_GETIMAGELIST, 0, 0));
    stockButtonSize = static_cast<DWORD>(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    stockThumbLength = static_cast<int>(SendMessageA(zoomTrack, TBM_GETTHUMBLENGTH, 0, 0));
    const int windowDpi = WindowDpi(hwnd);
    if (windowDpi != dpi) ApplyDpi(windowDpi);
    LayoutStatusParts();
    AddTrackbarTips();
    CheckHelpFile();
    housekeeping = false;  // the timer of a window made before in this process died with it
    SetUpdateRate(settings.Update, true);
    ApplyFollowKeyboard();
    ApplyAlwaysOnTop();
    ApplyToolbarVisibility();
    ApplyStatusBarVisibility();
    AddAboutToSystemMenu(hwnd);
    return true;
}

void MainWindow::LayoutStatusParts() {
    RECT view;
    GetViewRect(&view);
    SetStatusParts(statusBar, hwnd, view.right - view.left, statusHeight, dpi);
}

HFONT MainWindow::GuiFont() const {
    return guiFont ? guiFont.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void MainWindow::ApplyDpi(int newDpi) {
    dpi = newDpi;
    const int factor = rules::ImageFactor(dpi);
    // The new images and font are in place before the old ones go.
    HIMAGELIST images = stockImages;
    UniqueHandle<HIMAGELIST, ImageList_Destroy> large;
    if (factor > 1) {
        large.reset(CreateEnlargedImages(programInstance, IDB_TOOLBAR, kToolbarImageWidth, kToolbarImageHeight,
                                         kToolbarImageCount, factor));
        if (large) images = large;
    }
    const int grow = images == stockImages ? 0 : factor - 1;
    const DWORD buttons = MAKELONG(LOWORD(stockButtonSize) + kToolbarImageWidth * grow,
                                   HIWORD(stockButtonSize) + kToolbarImageHeight * grow);
    ScaleToolbar(toolbar, images, buttons, rules::ScaleForDpi(4, dpi));
    largeImages = std::move(large);
    if (hasRebar) SetBandChildHeight(band, rules::BandChildHeight(dpi, HIWORD(buttons)));
    bandHeight = WindowHeight(band) - 2;
    PlaceTrackbars(toolbar, zoomTrack, rateTrack, dpi, stockThumbLength);

    const ScopedGdiObject<HFONT> oldFont = std::move(guiFont);
    guiFont.reset(CreateGuiFont(dpi));
    statusHeight = SetStatusFont(statusBar, GuiFont());
    sizeTip.SetLook(guiFont.get(), dpi);
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
    // Hidden, the bar's texts were not kept up to date; they are right before it first paints.
    if (settings.DisplayStatusbar) {
        POINT p;
        if (GetCursorPos(&p)) ShowPointer(p);
    }
    ApplyHousekeeping();
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
