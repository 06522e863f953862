// Pure rules of the window chrome: the rebar decision, the status-bar parts, the texts that
// tooltips and menu help take from a command string, and the help's routes, texts and popups.
#ifndef PEERIX_CHROME_RULES_H
#define PEERIX_CHROME_RULES_H

#include <cstddef>
#include <cstdint>

#include "../app/types.h"

namespace rules {

// The toolbar goes into a rebar from common-controls version 4.71 on, compared as a version.
bool WantsRebar(unsigned major, unsigned minor);

constexpr int kSwatchWidth = 31;  // the colour swatch in the status bar, at 96 DPI

// Toolbar images are enlarged by a whole factor, so that every image pixel stays a sharp square:
// the nearest to dpi / 96 (halves up: 144 DPI gives 2), never below 1.
int ImageFactor(int dpi);

// The height the rebar band asks for its toolbar: 21 at 96 DPI, as designed; at other DPIs that
// height scaled, and never less than the buttons' height, which grows with their images.
int BandChildHeight(int dpi, int buttonHeight);

// The right edges of the four status-bar parts: menu help, colour text, swatch, coordinates.
// w0, w1 and w3 are the measured widths (text and padding); the swatch is `swatch` wide. When the
// view is wider than the parts need, part 0 takes the rest, up to three pixels before the size
// grip.
void StatusPartEdges(int w0, int w1, int w3, int viewWidth, int statusHeight, int edges[4], int swatch = kSwatchWidth);

// The narrowest view (and status bar) that holds the four parts as measured and ends them where
// StatusPartEdges does, three pixels into the size grip: the width at which part 0 starts to
// widen.
int StatusBarMinWidth(int w0, int w1, int w3, int statusHeight, int swatch = kSwatchWidth);

// The tooltip of a command string: the text before the first "\n", cut to fit a buffer of
// `capacity` characters with its terminator.
void TooltipText(const char* commandString, char* out, size_t capacity);

// The status help of a command string: the text after the first "\n"; false when the string has
// no "\n" (the caller then shows its default text). Cut to fit `capacity` with the terminator.
bool MenuHelpText(const char* commandString, char* out, size_t capacity);

// The path WinHelp is asked for: the program's folder (ending in a backslash), the help file's
// name and, except under Wine, ">NormWin", the help file's window for its topics. Wine's viewer
// takes that suffix as part of the file name and cannot find the file. False, with an empty
// out, when the path does not fit `capacity` characters with its terminator.
bool HelpRequestPath(const char* folder, bool underWine, char* out, size_t capacity);

// What a request for a help topic does next. From Windows 6.0 (Vista) on, which has no WinHelp
// engine, the topic's page opens in the user's browser; before, and when the page cannot be
// opened (no program for .html), the help file opens in WinHelp. A missing file is reported by
// its name: the page where pages are the route and it is missing, else the help file.
enum class HelpAction { OpenPage, Done, WinHelp, ReportMissingPage, ReportMissingFile };
bool PagesAreTheRoute(unsigned majorVersion);
HelpAction FirstHelpAction(unsigned majorVersion, bool pageExists, bool fileExists);
// After the page was handed to the shell, with the shell's result (above 32 when it opened).
HelpAction AfterPageOpen(intptr_t shellResult, bool fileExists);

// Finds the entry of `kind` for `id` in the help texts resource (res/helptexts.h): where its
// UTF-16 units start in data and how many there are. False when there is none or the data ends
// inside an entry.
bool FindHelpText(const unsigned char* data, size_t size, uint32_t id, unsigned kind, size_t* at, size_t* length);

// Where a help popup of width x height goes for the rectangle it explains (a control, or a point
// as a small square): its left edge at the anchor's, `gap` below it, or above it when it does not
// fit below; then moved the least distance into the work area. A popup larger than the work area
// keeps its top-left corner there.
Rect PlaceHelpPopup(Rect anchor, int width, int height, Rect work, int gap);

}  // namespace rules

#endif
