#include "rules.h"

#include <cstring>

#include "../res/helptexts.h"

namespace rules {

bool WantsRebar(unsigned major, unsigned minor) {
    return major > 4 || (major == 4 && minor >= 71);
}

int ImageFactor(int dpi) {
    const int factor = (dpi + kDesignDpi / 2) / kDesignDpi;
    return factor < 1 ? 1 : factor;
}

int BandChildHeight(int dpi, int buttonHeight) {
    constexpr int kDesigned = 21;
    if (dpi == kDesignDpi || dpi <= 0) return kDesigned;
    const int scaled = ScaleForDpi(kDesigned, dpi);
    return scaled > buttonHeight ? scaled : buttonHeight;
}

void StatusPartEdges(int w0, int w1, int w3, int viewWidth, int statusHeight, int edges[4], int swatch) {
    const int a = viewWidth - statusHeight;
    // Part 0 takes what is left, so that the four parts end exactly at a + 3.
    if (a + 3 > w0 + w1 + swatch + w3) w0 = a + 3 - w1 - swatch - w3;
    edges[0] = w0;
    edges[1] = w0 + w1;
    edges[2] = w0 + w1 + swatch;
    edges[3] = w0 + w1 + swatch + w3;
}

int StatusBarMinWidth(int w0, int w1, int w3, int statusHeight, int swatch) {
    return w0 + w1 + swatch + w3 + statusHeight - 3;
}

namespace {

void CopyCut(const char* from, size_t length, char* out, size_t capacity) {
    if (capacity == 0) return;
    if (length > capacity - 1) length = capacity - 1;
    std::memcpy(out, from, length);
    out[length] = '\0';
}

}  // namespace

void TooltipText(const char* s, char* out, size_t capacity) {
    const char* newline = std::strchr(s, '\n');
    CopyCut(s, newline ? static_cast<size_t>(newline - s) : std::strlen(s), out, capacity);
}

bool MenuHelpText(const char* s, char* out, size_t capacity) {
    const char* newline = std::strchr(s, '\n');
    if (!newline) return false;
    CopyCut(newline + 1, std::strlen(newline + 1), out, capacity);
    return true;
}

bool HelpRequestPath(const char* folder, bool underWine, char* out, size_t capacity) {
    static const char kFile[] = "Peerix.hlp";
    static const char kWindow[] = ">NormWin";
    const size_t length = std::strlen(folder) + sizeof kFile - 1 + (underWine ? 0 : sizeof kWindow - 1);
    if (capacity == 0) return false;
    out[0] = '\0';
    if (length >= capacity) return false;
    std::strcpy(out, folder);
    std::strcat(out, kFile);
    if (!underWine) std::strcat(out, kWindow);
    return true;
}

bool PagesAreTheRoute(unsigned majorVersion) {
    return majorVersion >= 6;
}

HelpAction FirstHelpAction(unsigned majorVersion, bool pageExists, bool fileExists) {
    const bool pages = PagesAreTheRoute(majorVersion);
    if (pages && pageExists) return HelpAction::OpenPage;
    if (fileExists) return HelpAction::WinHelp;
    return pages ? HelpAction::ReportMissingPage : HelpAction::ReportMissingFile;
}

HelpAction AfterPageOpen(intptr_t shellResult, bool fileExists) {
    if (shellResult > 32) return HelpAction::Done;
    return fileExists ? HelpAction::WinHelp : HelpAction::ReportMissingFile;
}

bool FindHelpText(const unsigned char* data, size_t size, uint32_t id, unsigned kind, size_t* at, size_t* length) {
    auto u16 = [&](size_t i) { return static_cast<uint32_t>(data[i] | (data[i + 1] << 8)); };
    for (size_t i = 0; size - i >= helptexts::kEntryHeader;) {
        const uint32_t entryId = u16(i) | (u16(i + 2) << 16);
        const size_t units = u16(i + 6), start = i + helptexts::kEntryHeader;
        if ((size - start) / 2 < units) return false;
        if (entryId == id && u16(i + 4) == kind) {
            *at = start;
            *length = units;
            return true;
        }
        i = start + units * 2;
    }
    return false;
}

Rect PlaceHelpPopup(Rect anchor, int width, int height, Rect work, int gap) {
    int left = anchor.left, top = anchor.bottom + gap;
    if (top + height > work.bottom) top = anchor.top - gap - height;
    // Back inside by the right and bottom edges first, then by the left and top edges, which win
    // for a popup larger than the work area.
    if (left + width > work.right) left = work.right - width;
    if (top + height > work.bottom) top = work.bottom - height;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
    return Rect{left, top, left + width, top + height};
}

}  // namespace rules
