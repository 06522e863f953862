// Windows that Peerix opens besides its main window, found from outside: the size tip, its popup
// menus and the boxes of the help viewer.
#ifndef PEERIX_E2E_PROCESS_WINDOWS_H
#define PEERIX_E2E_PROCESS_WINDOWS_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The visible top-level windows of the given class; of one process when pid is not 0.
std::vector<HWND> VisibleWindowsOfClass(const char* className, DWORD pid = 0);
// The first of them, or null.
HWND VisibleWindowOfClass(const char* className, DWORD pid = 0);

// The popup menu window (class "#32768") that is shown, or null.
HWND ShownPopupMenu(DWORD pid);

// A message box of the help viewer: its title and its text (the static control's text).
struct HelpBox {
    HWND window = nullptr;
    std::string text;
};
// The visible dialog-class window titled `title` of any process, with the text of its static
// control; window null when there is none.
HelpBox FindBox(const char* title);

// The text of the help viewer's "Cannot find" box cut down to the path it names, or empty.
std::string PathInCannotFind(const std::string& text);

// A window of Wine's help viewer (class "MS_WINHELP", of another process than this one): its
// caption and the text of the topic it shows.
struct ViewerWindow {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};
std::vector<ViewerWindow> HelpViewerWindows();
// The start of a help file's main topic (context id 1), read from the file: the text by which a
// test recognises that topic in the viewer.
std::string MainTopicText(const std::string& helpFile);
// The first viewer window whose text holds `text`; window null when there is none.
ViewerWindow ViewerShowing(const std::string& text);
// The viewer windows' captions and the start of their texts, for a failure message.
std::string DescribeViewers();

}  // namespace e2e

#endif
