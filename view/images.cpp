// The images that leave the program: the captured bitmap, the clipboard and .bmp files.
#include "../app/globals.h"
#include "../app/resstring.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../output/bmpfile.h"
#include "../output/capture.h"
#include "../output/rules.h"
#include "../output/savedialog.h"
#include "../res/resource.h"
#include "mainwindow.h"

HBITMAP MainWindow::CaptureImage(bool zoomed, bool useSelection) {
    RECT view;
    GetViewRect(&view);
    const RECT s = useSelection ? GetSelectionRect() : RECT{0, 0, 0, 0};
    const rules::CaptureArea a =
        rules::CaptureRect(zoomed, useSelection, ToRules(SourceRect()), ToRules(view), ToRules(s), settings.ZoomFactor);
    return CaptureScreen(a, ToRules(SourceBounds()));
}

namespace {

// The write failure's own text, then the file and the system's reason for it, in an error box.
void ShowWriteFailure(HWND owner, const char* file, DWORD error) {
    ResString text(IDS_WRITE_FAILED);
    ResString caption(IDS_TITLE);
    char reason[512];
    SystemErrorText(error, reason, sizeof reason);
    const char* const lines[] = {text.GetText(), "", file, reason};
    char message[sizeof reason + 1024];
    rules::JoinLines(message, sizeof message, lines, reason[0] ? 4 : 3);
    MessageBoxA(owner, message, caption.GetText(), MB_ICONERROR);
}

}  // namespace

int MainWindow::ShowMessage(UINT id, UINT style) {
    ResString text(id);
    ResString caption(IDS_TITLE);
    return MessageBoxA(hwnd, text.GetText(), caption.GetText(), style);
}

void MainWindow::SaveImageAs(bool useSelection) {
    char file[520] = {};
    bool zoomed = settings.SaveZoomedImage != 0;
    if (!AskSaveFileName(hwnd, settings.InitialDirectory, file, sizeof file, &zoomed)) return;

    settings.SaveZoomedImage = zoomed ? 1 : 0;
    ScopedGdiObject<HBITMAP> bitmap(CaptureImage(zoomed, useSelection));
    rules::CopyDirectoryPart(file, settings.InitialDirectory, sizeof settings.InitialDirectory);
    ScopedGlobal dib(BitmapToDib(bitmap, BI_RGB, palette));
    if (!dib)
        ShowMessage(IDS_CAPTURE_FAILED, MB_ICONERROR);
    else if (!WriteBmpFile(file, dib))
        ShowWriteFailure(hwnd, file, GetLastError());
}
