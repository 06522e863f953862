#include "sync.h"

#include <commctrl.h>

#include <cstdio>

#include "res/resource.h"
#include "tests/e2e/support/input.h"
#include "tests/e2e/support/remote.h"
#include "tests/e2e/support/view.h"
#include "tests/support/wait.h"

namespace e2e {

namespace {

// Peerix's thread puts what it painted on the screen before it waits for its next message, so an
// answered message proves it is there.
bool Flushed(HWND peerix) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(peerix, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &result) != 0;
}

}  // namespace

bool InputHandled(HWND peerix) {
    const HWND toolbar = FindChrome(peerix).toolbar;
    if (!toolbar) return false;
    const int clear = remote::ButtonState(toolbar, ID_ALWAYS_ON_TOP) & ~TBSTATE_CHECKED;
    for (const int wanted : {clear | TBSTATE_CHECKED, clear}) {
        input::Press('T', {VK_CONTROL});
        if (!waiting::WaitFor([&] { return remote::ButtonState(toolbar, ID_ALWAYS_ON_TOP) == wanted; }, 3000))
            return false;
    }
    // A paint the keys asked for may still wait in the queue; this has it done now.
    UpdateWindow(peerix);
    return Flushed(peerix);
}

bool TickSeenAt(HWND peerix, POINT to) {
    const HWND status = FindChrome(peerix).statusBar;
    if (!status) return false;
    char text[32];
    std::snprintf(text, sizeof text, " %ld, %ld ", static_cast<long>(to.x), static_cast<long>(to.y));
    input::MoveTo(to.x, to.y);
    return waiting::WaitFor([&] { return remote::StatusText(status, 3) == text; }, 3000) && Flushed(peerix);
}

}  // namespace e2e
