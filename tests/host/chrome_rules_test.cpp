// The pure rules behind the trackbars, the keys, the rebar decision, the status-bar parts and the
// tooltip and menu-help texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "chrome/rules.h"
#include "view/rules.h"

using rules::KeyStep;
using rules::StatusPartEdges;
using rules::TrackbarValue;

TEST(TrackbarRule, EachNotificationCodeMovesFromTheCurrentValue) {
    // Line steps by one, page steps by two, thumb codes take the thumb position as it is (the
    // caller clamps), anything else keeps the current value.
    EXPECT_EQ(TrackbarValue(0, 99, 7), 6);   // TB_LINEUP
    EXPECT_EQ(TrackbarValue(1, 99, 7), 8);   // TB_LINEDOWN
    EXPECT_EQ(TrackbarValue(2, 99, 7), 5);   // TB_PAGEUP
    EXPECT_EQ(TrackbarValue(3, 99, 7), 9);   // TB_PAGEDOWN
    EXPECT_EQ(TrackbarValue(4, 12, 7), 12);  // TB_THUMBPOSITION
    EXPECT_EQ(TrackbarValue(5, 31, 7), 31);  // TB_THUMBTRACK
    EXPECT_EQ(TrackbarValue(6, 99, 7), 7);   // TB_TOP
    EXPECT_EQ(TrackbarValue(7, 99, 7), 7);   // TB_BOTTOM
    EXPECT_EQ(TrackbarValue(8, 99, 7), 7);   // TB_ENDTRACK
    EXPECT_EQ(TrackbarValue(-1, 99, 7), 7);
    // At the ends the raw value leaves the range; clamping is SetZoom's job, not this rule's.
    EXPECT_EQ(TrackbarValue(0, 0, 1), 0);
    EXPECT_EQ(TrackbarValue(3, 0, 31), 33);
    EXPECT_EQ(TrackbarValue(4, 0, 5), 0);
}

TEST(KeyRule, ArrowsStepOneOrSixteenAndPagesAScreenfulLessOne) {
    struct Case {
        int key;
        bool ctrl;
        int dx, dy;
    } const cases[] = {
        {0x25, false, -1, 0},  {0x27, false, 1, 0},  {0x26, false, 0, -1}, {0x28, false, 0, 1},
        {0x25, true, -16, 0},  {0x27, true, 16, 0},  {0x26, true, 0, -16}, {0x28, true, 0, 16},
        {0x21, false, 0, -66}, {0x22, false, 0, 66},                       // Page Up/Down: rows, srcHeight - 1
        {0x21, true, -100, 0}, {0x22, true, 100, 0},                       // Ctrl: columns, srcWidth - 1
        {0x24, false, 0, 0},   {0x23, true, 0, 0},                         // Home, End
        {0x1B, false, 0, 0},   {'A', true, 0, 0},    {0x6B, false, 0, 0},  // Esc, A, keypad +
    };
    for (const Case& c : cases) {
        const rules::Step s = KeyStep(c.key, c.ctrl, 101, 67);
        EXPECT_EQ(s.dx, c.dx) << "key " << c.key << (c.ctrl ? " with Ctrl" : "");
        EXPECT_EQ(s.dy, c.dy) << "key " << c.key << (c.ctrl ? " with Ctrl" : "");
    }
    // A one-pixel source pages by nothing; the point then does not move.
    EXPECT_EQ(KeyStep(0x22, false, 1, 1).dy, 0);
    EXPECT_EQ(KeyStep(0x21, true, 1, 1).dx, 0);
    // A tall, narrow view: the vertical page follows the height, not the width.
    EXPECT_EQ(KeyStep(0x22, false, 11, 241).dy, 240);
    EXPECT_EQ(KeyStep(0x22, true, 11, 241).dx, 10);
}

TEST(RateRule, NamesForEachRateAndNothingOutside) {
    EXPECT_STREQ(rules::RateName(1), "None");
    EXPECT_STREQ(rules::RateName(2), "Slow");
    EXPECT_STREQ(rules::RateName(3), "Medium");
    EXPECT_STREQ(rules::RateName(4), "Fast");
    EXPECT_STREQ(rules::RateName(0), "");
    EXPECT_STREQ(rules::RateName(5), "");
    EXPECT_STREQ(rules::RateName(-1), "");
}

TEST(RebarRule, VersionsFrom471OnComparedAsVersions) {
    EXPECT_FALSE(rules::WantsRebar(4, 0));  // no DllGetVersion counts as 4.0
    EXPECT_FALSE(rules::WantsRebar(4, 70));
    EXPECT_TRUE(rules::WantsRebar(4, 71));
    EXPECT_TRUE(rules::WantsRebar(4, 72));
    EXPECT_TRUE(rules::WantsRebar(5, 0));
    EXPECT_TRUE(rules::WantsRebar(5, 80));
    EXPECT_TRUE(rules::WantsRebar(5, 81));
    EXPECT_TRUE(rules::WantsRebar(6, 0));  // a minor number below 71 still qualifies
    EXPECT_TRUE(rules::WantsRebar(6, 10));
    EXPECT_FALSE(rules::WantsRebar(3, 95));  // a large minor of an older major does not
    EXPECT_FALSE(rules::WantsRebar(0, 0));
    EXPECT_TRUE(rules::WantsRebar(0xFFFFFFFFu, 0));  // unsigned: no wrap to negative
    EXPECT_TRUE(rules::WantsRebar(4, 0xFFFFFFFFu));
}

TEST(StatusPartsRule, PartZeroTakesTheRestOnlyWhenThereIsMoreThanEnough) {
    int e[4];
    // View 500 wide, status bar 20 high: a = 480, and the parts end at a + 3.
    StatusPartEdges(96, 106, 76, 500, 20, e);
    EXPECT_EQ(e[0], 270);
    EXPECT_EQ(e[1], 376);
    EXPECT_EQ(e[2], 407);
    EXPECT_EQ(e[3], 483);
    // View 300 wide: 283 is not more than 309; the measured widths stay.
    StatusPartEdges(96, 106, 76, 300, 20, e);
    EXPECT_EQ(e[0], 96);
    EXPECT_EQ(e[1], 202);
    EXPECT_EQ(e[2], 233);
    EXPECT_EQ(e[3], 309);
    // Exactly enough (a + 3 == 309, a = 306): part 0 keeps its measured width.
    StatusPartEdges(96, 106, 76, 326, 20, e);
    EXPECT_EQ(e[0], 96);
    EXPECT_EQ(e[3], 309);
    // One pixel more widens part 0 by one pixel, and the parts end at a + 3 again.
    StatusPartEdges(96, 106, 76, 327, 20, e);
    EXPECT_EQ(e[0], 97);
    EXPECT_EQ(e[3], 310);
    // The narrowest bar that holds the four parts: where part 0 starts to widen, for any height.
    const int w = rules::StatusBarMinWidth(96, 106, 76, 28, 47);
    StatusPartEdges(96, 106, 76, w, 28, e, 47);
    EXPECT_TRUE(e[0] == 96 && e[3] == w - 28 + 3);
    StatusPartEdges(96, 106, 76, w + 1, 28, e, 47);
    EXPECT_EQ(e[0], 97);
    // A view narrower than the status bar is high never narrows part 0.
    StatusPartEdges(96, 106, 76, 10, 20, e);
    EXPECT_EQ(e[0], 96);
    EXPECT_EQ(e[3], 309);
}

TEST(StatusPartsRule, AScaledSwatchKeepsThePartsEndingAtTheSameEdge) {
    int e[4];
    // At 144 DPI the swatch is 47 wide; with room to spare the parts still end at a + 3.
    StatusPartEdges(140, 160, 115, 700, 29, e, 47);
    EXPECT_EQ(e[3], 700 - 29 + 3);
    EXPECT_EQ(e[2] - e[1], 47);
    EXPECT_EQ(e[1] - e[0], 160);
    EXPECT_EQ(e[3] - e[2], 115);
    // Without room the swatch width counts in the sum: 140 + 160 + 47 + 115 = 462 needs a > 459.
    StatusPartEdges(140, 160, 115, 459 + 29, 29, e, 47);
    EXPECT_EQ(e[0], 140);
    StatusPartEdges(140, 160, 115, 460 + 29, 29, e, 47);
    EXPECT_EQ(e[0], 141);
}

TEST(DpiRule, LengthsScaleToTheNearestPixelFromTheDesignOrAnotherDpi) {
    using rules::ScaleForDpi;
    EXPECT_EQ(ScaleForDpi(31, 96), 31);
    EXPECT_EQ(ScaleForDpi(31, 144), 47);  // 46.5 rounds up
    EXPECT_EQ(ScaleForDpi(31, 192), 62);
    EXPECT_EQ(ScaleForDpi(2, 144), 3);
    EXPECT_EQ(ScaleForDpi(4, 120), 5);
    EXPECT_EQ(ScaleForDpi(21, 120), 26);  // 26.25 rounds down
    EXPECT_EQ(ScaleForDpi(-3, 144), -5);  // halves away from zero on both sides
    EXPECT_EQ(ScaleForDpi(0, 192), 0);
    // An unknown DPI (0 or less) is the design's: nothing changes.
    EXPECT_EQ(ScaleForDpi(31, 0), 31);
    EXPECT_EQ(ScaleForDpi(31, -96), 31);
    // From another DPI: a thumb the system made 32 long at 144 DPI is 21 at 96 and 43 at 192.
    EXPECT_EQ(ScaleForDpi(32, 96, 144), 21);
    EXPECT_EQ(ScaleForDpi(32, 192, 144), 43);
    EXPECT_EQ(ScaleForDpi(32, 144, 144), 32);
    // No overflow for large lengths at large DPIs.
    EXPECT_EQ(ScaleForDpi(30000000, 480), 150000000);
}

TEST(DpiRule, ImagesGrowByTheNearestWholeFactorAndTheBandFitsTheButtons) {
    struct Case {
        int dpi, factor;
    } const cases[] = {{96, 1},  {0, 1},   {72, 1},  {120, 1}, {143, 1}, {144, 2},
                       {168, 2}, {192, 2}, {239, 2}, {240, 3}, {288, 3}, {480, 5}};
    for (const Case& c : cases) EXPECT_EQ(rules::ImageFactor(c.dpi), c.factor) << c.dpi << " DPI";
    // 21 at 96 DPI whatever the buttons say, so that nothing changes there.
    EXPECT_EQ(rules::BandChildHeight(96, 21), 21);
    EXPECT_EQ(rules::BandChildHeight(96, 40), 21);
    // Elsewhere the scaled 21 or the buttons' height, whichever is more.
    EXPECT_EQ(rules::BandChildHeight(120, 21), 26);
    EXPECT_EQ(rules::BandChildHeight(144, 36), 36);
    EXPECT_EQ(rules::BandChildHeight(144, 20), 32);
    EXPECT_EQ(rules::BandChildHeight(192, 36), 42);
}

TEST(TooltipRule, TextBeforeTheFirstNewlineCutTo79Characters) {
    char out[80];
    rules::TooltipText("Toggle always on top state (Ctrl+T)\nChanges the position\nmore", out, sizeof out);
    EXPECT_STREQ(out, "Toggle always on top state (Ctrl+T)");
    rules::TooltipText("Copy zoomed image to clipboard (Ctrl+C)", out, sizeof out);
    EXPECT_STREQ(out, "Copy zoomed image to clipboard (Ctrl+C)");
    rules::TooltipText("\nstatus help only", out, sizeof out);
    EXPECT_STREQ(out, "");

    const std::string exact79(79, 'x'), long80(80, 'y'), long200(200, 'z');
    rules::TooltipText(exact79.c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), exact79);
    rules::TooltipText(long80.c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), std::string(79, 'y'));
    rules::TooltipText((long200 + "\nhelp").c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), std::string(79, 'z'));
    // A newline just past the cut does not matter; one just before it ends the text there.
    rules::TooltipText((std::string(79, 'a') + "\nb").c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), std::string(79, 'a'));
    rules::TooltipText((std::string(78, 'c') + "\nddd").c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), std::string(78, 'c'));

    // Nothing is written past the buffer, and a buffer of one holds only the terminator.
    char small[5] = {'#', '#', '#', '#', '#'};
    rules::TooltipText("abcdefgh", small, 4);
    EXPECT_STREQ(small, "abc");
    EXPECT_EQ(small[4], '#');
    rules::TooltipText("abcdefgh", small, 1);
    EXPECT_EQ(small[0], '\0');
    EXPECT_EQ(small[1], 'b');  // left from before
}

TEST(MenuHelpRule, TextAfterTheFirstNewlineOrNothing) {
    char out[256];
    EXPECT_TRUE(rules::MenuHelpText("\nToggle the toolbar on and off", out, sizeof out));
    EXPECT_STREQ(out, "Toggle the toolbar on and off");
    EXPECT_TRUE(rules::MenuHelpText(
        "Toggle always on top state (Ctrl+T)\nChanges the position of Peerix in the z-order to be a topmost window.",
        out, sizeof out));
    EXPECT_STREQ(out, "Changes the position of Peerix in the z-order to be a topmost window.");
    // Everything after the first newline, later newlines included.
    EXPECT_TRUE(rules::MenuHelpText("tip\nfirst\nsecond", out, sizeof out));
    EXPECT_STREQ(out, "first\nsecond");
    EXPECT_TRUE(rules::MenuHelpText("tip\n", out, sizeof out));
    EXPECT_STREQ(out, "");

    std::strcpy(out, "untouched");
    EXPECT_FALSE(rules::MenuHelpText("Display the about dialog.", out, sizeof out));
    EXPECT_STREQ(out, "untouched");
    EXPECT_FALSE(rules::MenuHelpText("", out, sizeof out));

    // A help text longer than the buffer is cut, terminated, and nothing beyond is written.
    char small[8];
    std::memset(small, '#', sizeof small);
    EXPECT_TRUE(rules::MenuHelpText("t\n0123456789", small, 6));
    EXPECT_STREQ(small, "01234");
    EXPECT_EQ(small[6], '#');
}

TEST(HelpPathRule, WindowsGetsTheNormWinWindowAndWineTheBareFile) {
    char out[64];
    EXPECT_TRUE(rules::HelpRequestPath("C:\\Apps\\", false, out, sizeof out));
    EXPECT_STREQ(out, "C:\\Apps\\Peerix.hlp>NormWin");
    EXPECT_TRUE(rules::HelpRequestPath("C:\\Apps\\", true, out, sizeof out));
    EXPECT_STREQ(out, "C:\\Apps\\Peerix.hlp");
    // Exactly filling the buffer with the terminator fits; one character more does not, and
    // leaves an empty path rather than a cut one.
    const std::string folder(sizeof out - 1 - std::strlen("Peerix.hlp>NormWin"), 'd');
    EXPECT_TRUE(rules::HelpRequestPath(folder.c_str(), false, out, sizeof out));
    EXPECT_EQ(std::strlen(out), sizeof out - 1);
    EXPECT_FALSE(rules::HelpRequestPath((folder + "d").c_str(), false, out, sizeof out));
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(rules::HelpRequestPath((folder + "d").c_str(), true, out, sizeof out));
}
