// The program's one main window: the magnified view, its chrome and the selection on it.
//
// Every member is defined in view/, one file for each group below; the drawing, the bars, the
// files and the help they use are free functions and small classes of output/ and chrome/, which
// never include this header.
//   mainwindow.cpp   construction, view geometry and painting
//   messages.cpp     the message table and the handlers of its messages
//   timers.cpp       the refresh and housekeeping timers
//   pointdrag.cpp    the left-button drag of the point, and the end of both mouse modes
//   follow.cpp       following the mouse and the keyboard
//   commands.cpp     commands, keys, zoom, update rate and the standing options
//   selection.cpp    the right-button selection, its frame and tip, Zoom To and the context menus
//   images.cpp       capture, the clipboard, saving files and the message box
//   bars.cpp         building the bars, their layout, visibility and notifications
//   contexthelp.cpp  the help hit test and the start-up help check
#ifndef PEERIX_MAINWINDOW_H
#define PEERIX_MAINWINDOW_H

#include <windows.h>
#include <commctrl.h>

#include "../app/scoped.h"
#include "../chrome/tipcontrol.h"
#include "../output/capture.h"
#include "../output/marchingants.h"
#include "../output/selectiontip.h"
#include "geometry.h"

class MainWindow {
public:
    static constexpr UINT_PTR kRefreshTimer = 1;       // repaints the view at the update rate
    static constexpr UINT_PTR kHousekeepingTimer = 2;  // ants, following, status bar; 100 ms

    MainWindow();
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // View geometry and painting.
    void GetViewRect(RECT* r) const;
    void Layout();
    void Paint(HDC dc);
    void PaintNow();
    POINT ClampPoint() const;
    RECT SourceRect() const;  // the screen pixels the view shows at least partly
    // The screen pixel a screen point stands for: over the view (and nothing over it), the source
    // pixel magnified under it, and true; elsewhere the point itself.
    bool SourcePixelUnder(POINT screenPoint, POINT* pixel) const;
    void UpdateOutline();
    void ToggleOutline();
    static void InvertFrame(HDC dc, const RECT& r);

    // Messages, commands, keys and timers.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCommand(WORD id);
    void OnKeyDown(WPARAM key);
    void EndMouseModes();
    void Pan(int dx, int dy);
    void SetZoom(int zoom);
    void SetUpdateRate(int rate, bool force);
    void ApplyAlwaysOnTop();
    void ApplyFollowMouse();
    void ApplyFollowKeyboard();
    // One tick of following: the point goes to the pointer or to another program's text cursor
    // or keyboard focus, whichever moved last.
    void Follow(POINT pointer);
    // The status bar's coordinates and colour for the pointer at a screen point.
    void ShowPointer(POINT pointer);
    // Starts the housekeeping timer when it has work and is stopped. A tick costs the window
    // system even when it does nothing, so the timer stops at the first tick that finds no ants,
    // no following and no status bar; what gives it work again calls this.
    void ApplyHousekeeping();
    bool HousekeepingNeeded() const;

    // Selection and context menus.
    RECT GetSelectionRect() const;
    void ToggleSelectionFrame();
    void CancelSelection();
    void ZoomToSelection();
    bool ShowContextMenu(POINT screenPoint);

    // Capture, clipboard and files.
    HBITMAP CaptureImage(bool zoomed, bool useSelection);
    // Copies the capture to the clipboard as a bitmap and as PNG, and says so in the status bar.
    void CopyImage(bool zoomed, bool useSelection);
    void SaveImageAs(bool useSelection);
    int ShowMessage(UINT id, UINT style);
    // The colour of the pixel a screen point stands for (see SourcePixelUnder), from the screen.
    COLORREF ColourAt(POINT screenPoint) const;
    // A colour as text in the format chosen in the Options dialog.
    void ColourText(COLORREF colour, char* text, int size) const;
    void CopyColour(COLORREF colour);
    // A note in the status bar's first part of what a command did; the next menu help replaces it.
    void ShowNote(const char* text);

    // Chrome.
    bool OnCreate();
    void LayoutStatusParts();
    void AddTrackbarTips();
    void ApplyToolbarVisibility();
    void ApplyStatusBarVisibility();
    // Lays the chrome out for the window's DPI: toolbar images, buttons, band, trackbars, the
    // status bar's font and parts, the size tip. Nothing changes at 96 DPI.
    void ApplyDpi(int newDpi);
    HFONT GuiFont() const;

    // Context help.
    bool HelpIdAt(POINT screenPoint, int* id) const;

    HWND hwnd;  // from the window's first message until WM_NCDESTROY (app/windowobject.h)
    // The screen pixels the view shows, computed by the last Layout: the source's sizes and the
    // limits of the point on the monitor it showed then; Geometry() has the point's own limits.
    rules::Source source;
    RECT outline;   // the frame around the magnified area on the screen
    bool dragging;  // a left-button drag of the point is in progress
    POINT point;    // the point of interest; clamped where it is used, not where it is stored
    SelectionTip sizeTip;
    COLORREF lastColour;  // colour under the cursor as last shown in the status bar
    bool hasSelection;
    bool selecting;
    POINT selAnchor;   // client coordinates of the selection drag's start
    POINT selCurrent;  // and of its other corner
    MarchingAnts ants;
    TipControl tips;
    ScopedGdiObject<HPALETTE> palette;  // identity palette; null when it could not be made
    ScopedGdiObject<HRGN> viewRegion;   // clip region of the view, rebuilt by Layout
    bool hasRebar;
    int bandHeight;
    HWND toolbar;
    HWND band;  // the rebar, or the toolbar itself without one
    HWND zoomTrack;
    HWND rateTrack;
    int statusHeight;
    HWND statusBar;
    bool viewEmpty;                  // the last Layout found no room for the view; painting is skipped
    rules::Monitors monitors;        // the monitors' rectangles, read at start and on display changes
    int dpi;                         // the DPI the chrome is laid out for
    ScopedGdiObject<HFONT> guiFont;  // the GUI font made for dpi; null while the stock one fits
    UniqueHandle<HIMAGELIST, ImageList_Destroy> largeImages;  // enlarged toolbar images; null at 1x
    HIMAGELIST stockImages;                                   // the toolbar's own images, from its bitmap
    DWORD stockButtonSize;   // the toolbar's buttons as created: width in the low, height in the high word
    int stockThumbLength;    // the trackbars' thumbs as created
    POINT lastPointer;       // the pointer at the last tick, to tell which one moved last
    POINT lastKeyboardSpot;  // where the keyboard was last followed to
    HWND lastFocus;          // the focus window seen at the last tick
    bool housekeeping;       // the housekeeping timer runs

    // The monitor nearest to the point: the area the view may show.
    RECT SourceBounds() const;
    // The geometry of the last Layout with the limits of the monitor the point is on now: a drag
    // or Follow Mouse may have taken it to another monitor since.
    rules::Source Geometry() const;
    void ReadMonitors();

private:
    POINT ViewCornerOnScreen() const;
    void OnDestroy();
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    void OnTimer(UINT_PTR id);
    void OnHScroll(WORD code, WORD position, HWND trackbar);
    void OnNotify(NMHDR* header);
    void OnMenuSelect(WORD item, WORD flags, HMENU menu);
    void OnDrawItem(UINT control, const DRAWITEMSTRUCT* item);
    void OnDpiChanged(int newDpi, const RECT& suggested);
    void OnDisplayChange();
    void OnMouseWheel(WPARAM wParam);
    void StartPointDrag();
    void MovePointDrag();
    void StartSelection(POINT client);
    void MoveSelection(int x, int y);
    void FinishSelection(POINT client);
    void Highlight();
    void CheckHelpFile();
    void RunAbout();
    // Where another program's text cursor, or else its newly focused window, now is, when that
    // changed since the last look; false when there is nothing new to follow.
    bool KeyboardMoved(POINT* spot);
    void NoteCopy(ClipboardResult result, const char* copied);
};

// The one main window; constructed after the settings, from which it takes its point.
extern MainWindow mainWindow;

// Passes the registered wheel message of older mouse drivers on as WM_MOUSEWHEEL: to target when
// nothing has the focus, else to the focus window and up its parents until one handles it.
LRESULT ForwardWheelMessage(HWND target, WPARAM wParam, LPARAM lParam);

// The colour of one screen pixel, read from the screen.
COLORREF ScreenPixel(POINT p);

// Builds the 256-entry identity palette whose entry i names hardware palette index i.
HPALETTE CreateIdentityPalette();

#endif
