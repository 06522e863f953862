// The real string table, through ResString.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/globals.h"
#include "app/resstring.h"
#include "res/resource.h"

TEST(ResString, LoadsOnceAndKeepsExactlyTheTextsLength) {
    ResString s(IDS_ZOOM_LEVEL);
    ASSERT_NE(s.GetText(), nullptr);
    EXPECT_STREQ(s.GetText(), "Zoom Level x%d");
    EXPECT_EQ(s.GetLength(), 14);
    const char* first = s.GetText();
    EXPECT_EQ(s.GetText(), first);  // loaded once, then kept
    // The buffer was shrunk to the text and its terminator.
    EXPECT_EQ(HeapSize(heapHandle, 0, first), 15u);
    s.Release();
    EXPECT_EQ(s.GetLength(), 14);  // loads again
    EXPECT_STREQ(s.GetText(), "Zoom Level x%d");
}

TEST(ResString, MissingStringsGiveNullAndAreTriedAgain) {
    ResString noBlock(60000);  // no string in its block of 16
    EXPECT_EQ(noBlock.GetText(), nullptr);
    EXPECT_EQ(noBlock.GetLength(), 0);
    EXPECT_EQ(noBlock.GetText(), nullptr);
    ResString notInBlock(4007);  // the block of 4000..4015 exists, 4007 does not
    EXPECT_EQ(notInBlock.GetText(), nullptr);
    EXPECT_EQ(notInBlock.GetLength(), 0);
    notInBlock.Release();  // nothing to free
}

TEST(ResString, TheWholeStringTableIsExact) {
    const struct {
        UINT id;
        const char* text;
    } table[] = {
        {ID_ALWAYS_ON_TOP,
         "Toggle always on top state (Ctrl+T)\nChanges the position of Peerix in the z-order to be a topmost "
         "window."},
        {ID_FOLLOW_MOUSE, "Follow the mouse (Ctrl-M)\nCause the point of interest to follow the mouse."},
        {ID_ZOOM_2X, "\nSet the zoom factor to 2 times"},
        {ID_ZOOM_4X, "\nSet the zoom factor to 4 times"},
        {ID_WHATS_THIS, "\nDisplay context sensitive help"},
        {ID_HELP, "\nDisplay the main help topic"},
        {ID_TOGGLE_TOOLBAR, "\nToggle the toolbar on and off"},
        {ID_TOGGLE_STATUSBAR, "\nToggle the status bar on and off"},
        {ID_OPTIONS, "\nDisplay the options dialog."},
        {ID_SEL_COPY_ORIGINAL, "\nCopy the current screen selection to the clipboard"},
        {ID_SEL_SAVE, "\nSave the current selection to file"},
        {ID_SEL_COPY_ZOOMED, "\nCopy the current zoomed selection to the clipboard"},
        {ID_SEL_CANCEL, "\nCancel the current selection"},
        {ID_SEL_ZOOM_TO, "\nZoom to the selection"},
        {IDS_HIGHLIGHT_HELP, "\nHighlight the magnified area on screen"},
        {ID_COPY_ZOOMED, "Copy zoomed image to clipboard (Ctrl+C)"},
        {ID_COPY_SCREEN, "Copy screen image to clipboard (Ctrl+Shift+C)"},
        {ID_SAVE_AS, "Save Image As (Ctrl+S)"},
        {ID_ABOUT, "\nDisplay the about dialog."},
        {IDS_SAVE_FILTER, "PNG image (*.png)|*.png|Bitmap (*.bmp)|*.bmp||"},
        {IDS_AUTO_UPDATE, "Auto Update - %s"},
        {IDS_TITLE, "Peerix"},
        {IDS_WRITE_FAILED, "Failed to write the image to the file specified."},
        {IDS_CAPTURE_FAILED, "Failed to properly capture the screen image."},
        {IDS_ZOOM_LEVEL, "Zoom Level x%d"},
        {IDS_PRESS_F1, "Press F1 for help"},
        {IDS_WIDEST_COLOUR, " RGB:000,000,000 "},
        {IDS_RGB_FORMAT, " RGB:%03d,%03d,%03d "},
        {IDS_WIDEST_COORDS, u8" \u00BB -99999, -99999 "},  // the marked form over the view is the wider
        {IDS_COORDS_FORMAT, " %d, %d "},
        {IDS_INVALID_UPDATE, "Invalid update specified.\nA valid update should be between 1 and 50."},
        {IDS_HEX_FORMAT, "Colour: 0x%06x"},
        {IDS_SELECTED_SIZE, "Selected size %dx%d"},
        {IDS_SYS_ABOUT, "&About Peerix"},
    };
    for (const auto& row : table) {
        ResString s(row.id);
        ASSERT_NE(s.GetText(), nullptr) << row.id;
        // The table holds UTF-16; an ANSI load gives it in this process's code page.
        WCHAR wide[256] = {};
        char text[512] = {};
        MultiByteToWideChar(CP_UTF8, 0, row.text, -1, wide, 256);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        EXPECT_STREQ(s.GetText(), text) << row.id;
        EXPECT_EQ(s.GetLength(), lstrlenA(text)) << row.id;
    }
    // The two link targets: a mail link with its subject, and a web address.
    ResString mail(IDS_EMAIL_TARGET), web(IDS_WEB_TARGET);
    const std::string m = mail.GetText(), w = web.GetText();
    EXPECT_EQ(m.rfind("mailto:", 0), 0u);
    EXPECT_NE(m.find("?subject=I love Peerix because..."), std::string::npos);
    EXPECT_EQ(w.rfind("http", 0), 0u);
    // Commands without a string of their own.
    const UINT withoutString[] = {ID_HIGHLIGHT, ID_EXIT,    ID_CONTEXT_MENU, ID_ZOOM_IN,
                                  ID_ZOOM_OUT,  ID_RATE_UP, ID_RATE_DOWN,    IDM_SYS_ABOUT};
    for (UINT id : withoutString) {
        ResString none(id);
        EXPECT_EQ(none.GetText(), nullptr) << id;
    }
}

TEST(ResString, FormatsWithItsTextAndGivesNothingWithoutOne) {
    char buffer[64];
    ResString zoom(IDS_ZOOM_LEVEL);
    EXPECT_EQ(zoom.Format(buffer, 32), 14);
    EXPECT_STREQ(buffer, "Zoom Level x32");
    ResString rgb(IDS_RGB_FORMAT);
    rgb.Format(buffer, 7, 255, 40);
    EXPECT_STREQ(buffer, " RGB:007,255,040 ");
    // A string that cannot be loaded never becomes wsprintf's format: the text is empty.
    std::memset(buffer, '#', sizeof buffer);
    ResString missing(4007);
    EXPECT_EQ(missing.Format(buffer, 1, 2), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(buffer[1], '#');
}
