#include "wait.h"

#include <windows.h>

namespace waiting {

namespace {

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, int timeoutMs, int pollMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (condition()) return true;
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(pollMs), QS_ALLINPUT);
    }
}

void PumpFor(int ms) {
    const DWORD start = GetTickCount();
    while (static_cast<int>(GetTickCount() - start) < ms) {
        PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace waiting
