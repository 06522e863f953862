// What leaves the program: the captured bitmap, the clipboard, image files and colours as text,
// each with a note in the status bar of what happened.
#include "../app/globals.h"
#include "../app/resstring.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/utils.h"
#include "../output/bmpfile.h"
#include "../output/capture.h"
#include "../output/pngfile.h"
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

void MainWindow::ShowNote(const char* text) {
    if (!text) return;
    SendMessageA(statusBar, SB_SETTEXTA, SBT_NOBORDERS, reinterpret_cast<LPARAM>(text));
}

void MainWindow::NoteCopy(ClipboardResult result, const char* copied) {
    // A failure has beeped already, which not everyone hears.
    if (result == ClipboardResult::Copied)
        ShowNote(copied);
    else if (result == ClipboardResult::Busy)
        ShowNote(ResString(IDS_CLIPBOARD_BUSY).GetText());
}

void MainWindow::CopyImage(bool zoomed, bool useSelection) {
    HBITMAP bitmap = CaptureImage(zoomed, useSelection);
    BITMAP size = {};
    if (bitmap) GetObjectA(bitmap, sizeof size, &size);
    // The same pixels as PNG for the programs that read only that; made before the clipboard is
    // opened, which holds other programs up while it is.
    ScopedGlobal dib(bitmap ? BitmapToDib(bitmap, BI_RGB, palette) : nullptr);
    HGLOBAL png = dib ? EncodePng(dib) : nullptr;
    char note[256];
    ResString(IDS_COPIED_PIXELS).Format(note, size.bmWidth, size.bmHeight);
    NoteCopy(CopyBitmapToClipboard(hwnd, bitmap, png), note);
}

COLORREF MainWindow::ColourAt(POINT screenPoint) const {
    POINT pixel;
    SourcePixelUnder(screenPoint, &pixel);
    return ScreenPixel(pixel);
}

void MainWindow::ColourText(COLORREF colour, char* text, int size) const {
    rules::FormatColour(settings.ColourCopyFormat, GetRValue(colour), GetGValue(colour), GetBValue(colour), text,
                        static_cast<size_t>(size));
}

void MainWindow::CopyColour(COLORREF colour) {
    char text[64];
    ColourText(colour, text, sizeof text);
    char note[256];
    ResString(IDS_COPIED_COLOUR).Format(note, text);
    NoteCopy(CopyTextToClipboard(hwnd, text), note);
}

void MainWindow::SaveImageAs(bool useSelection) {
    char file[520] = {};
    SYSTEMTIME now;
    GetLocalTime(&now);
    int type = settings.SaveImageType;
    rules::ProposedImageName({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond}, type, file,
                             sizeof file);
    bool zoomed = settings.SaveZoomedImage != 0;
    settings.FillInitialDirectory();
    if (!AskSaveFileName(hwnd, settings.InitialDirectory, file, sizeof file, &zoomed, &type)) return;

    settings.SaveZoomedImage = zoomed ? 1 : 0;
    settings.SaveImageType = type;
    ScopedGdiObject<HBITMAP> bitmap(CaptureImage(zoomed, useSelection));
    rules::CopyDirectoryPart(file, settings.InitialDirectory, sizeof settings.InitialDirectory);
    ScopedGlobal dib(BitmapToDib(bitmap, BI_RGB, palette));
    if (!dib) {
        ShowMessage(IDS_CAPTURE_FAILED, MB_ICONERROR);
        return;
    }
    if (!(type == rules::kImagePng ? WritePngFile(file, dib) : WriteBmpFile(file, dib))) {
        ShowWriteFailure(hwnd, file, GetLastError());
        return;
    }
    char note[1100];
    ResString(IDS_SAVED).Format(note, file + rules::LastBackslash(file, lstrlenA(file)) + 1);
    ShowNote(note);
}
