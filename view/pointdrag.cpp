// The left-button drag of the point of interest, with its frame on the screen, and the end of
// both mouse modes.
#include "mainwindow.h"

void MainWindow::StartPointDrag() {
    SetCapture(hwnd);
    dragging = true;
    GetCursorPos(&point);  // from the cursor, not the message
    UpdateOutline();
    ToggleOutline();
}

void MainWindow::MovePointDrag() {
    ToggleOutline();
    GetCursorPos(&point);
    UpdateOutline();
    ToggleOutline();
    PaintNow();
}

void MainWindow::EndMouseModes() {
    if (dragging) {
        dragging = false;
        ReleaseCapture();
        ToggleOutline();
    }
    if (selecting) {
        sizeTip.Destroy();
        selecting = false;
        ReleaseCapture();
    }
}
