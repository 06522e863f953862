#include "menu_capture.h"

#include <cstdio>

#include "tests/e2e/support/peerix_process.h"
#include "tests/e2e/support/process_windows.h"
#include "tests/support/wait.h"

namespace e2e {

using pixels::Capture;

Capture SettledCapture(HWND window, int timeoutMs) {
    Capture last;
    waiting::WaitFor(
        [&] {
            RECT r = {};
            GetWindowRect(window, &r);
            Capture now = pixels::CaptureScreen(r);
            const bool same = now.pixels == last.pixels && EqualRect(&now.area, &last.area);
            last = now;
            return same;
        },
        timeoutMs, 60);
    return last;
}

PeerixMenu::PeerixMenu() {
    module = LoadLibraryExA((ProgramFolder() + "Peerix.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module) menu = LoadMenuA(module, MAKEINTRESOURCEA(141));
}

PeerixMenu::~PeerixMenu() {
    if (menu) DestroyMenu(menu);
    if (module) FreeLibrary(module);
}

std::vector<std::string> PeerixMenu::Texts(int index) const {
    std::vector<std::string> texts;
    HMENU popup = Popup(index);
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        char text[128] = {};
        if (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)
            lstrcpyA(text, "-");
        else
            GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

namespace {

struct Shot {
    Capture last;
    Capture settled;
    int same = 0;
    DWORD start = 0;
} shot;

// Runs inside the menu's own loop: captures the menu until two captures agree, then ends it.
void CALLBACK CaptureOwnMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = ShownPopupMenu(GetCurrentProcessId());
    const bool late = GetTickCount() - shot.start > 3000;
    if (!menu && !late) return;
    if (menu) {
        RECT r = {};
        GetWindowRect(menu, &r);
        Capture now = pixels::CaptureScreen(r);
        shot.same = now.pixels == shot.last.pixels ? shot.same + 1 : 0;
        shot.last = now;
    }
    if (shot.same < 2 && !late) return;
    shot.settled = shot.last;
    KillTimer(nullptr, timer);
    EndMenu();
}

}  // namespace

Capture ReferenceMenu(int index, const std::vector<ItemState>& states, POINT at) {
    PeerixMenu m;
    HMENU popup = m.Popup(index);
    for (const ItemState& s : states) {
        CheckMenuItem(popup, s.id, MF_BYCOMMAND | (s.checked ? MF_CHECKED : MF_UNCHECKED));
        EnableMenuItem(popup, s.id, MF_BYCOMMAND | (s.greyed ? MF_GRAYED : MF_ENABLED));
        if (!s.text.empty()) ModifyMenuA(popup, s.id, MF_BYCOMMAND | MF_STRING, s.id, s.text.c_str());
    }
    HWND owner = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, at.x, at.y, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    shot = Shot{};
    shot.start = GetTickCount();
    SetTimer(nullptr, 0, 40, CaptureOwnMenu);
    TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    DestroyWindow(owner);
    waiting::PumpFor(20);
    return shot.settled;
}

std::string CompareCaptures(const Capture& got, const Capture& want) {
    if (got.Width() != want.Width() || got.Height() != want.Height())
        return "size " + std::to_string(got.Width()) + "x" + std::to_string(got.Height()) + ", want " +
               std::to_string(want.Width()) + "x" + std::to_string(want.Height());
    std::string report;
    int mismatches = 0;
    for (int y = 0; y < got.Height(); ++y)
        for (int x = 0; x < got.Width(); ++x) {
            const COLORREF a = got.pixels[static_cast<size_t>(y) * got.Width() + x];
            const COLORREF b = want.pixels[static_cast<size_t>(y) * want.Width() + x];
            if (a == b) continue;
            if (++mismatches <= 3) {
                char line[96];
                std::snprintf(line, sizeof line, "(%d,%d): %06lx, want %06lx\n", x, y, static_cast<unsigned long>(a),
                              static_cast<unsigned long>(b));
                report += line;
            }
        }
    if (mismatches > 3) report += std::to_string(mismatches) + " pixels differ in all\n";
    return report;
}

}  // namespace e2e
