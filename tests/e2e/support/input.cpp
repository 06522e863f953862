#include "input.h"

#include "tests/support/wait.h"

namespace input {

namespace {

void Send(INPUT& in) {
    SendInput(1, &in, sizeof in);
    // Let the target see the event before the next one; input is asynchronous.
    waiting::PumpFor(15);
}

void Mouse(DWORD flags, LONG dx = 0, LONG dy = 0, DWORD data = 0) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.mouseData = data;
    in.mi.dwFlags = flags;
    Send(in);
}

void Key(WORD key, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    // The navigation keys and the numeric keypad's divide need the extended flag.
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    case VK_INSERT:
    case VK_DELETE:
    case VK_APPS:
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    Send(in);
}

}  // namespace

namespace {

void MoveWithin(int x, int y) {
    // Absolute coordinates are normalised to 0..65535 over the whole virtual screen, so that every
    // monitor is reached (with one monitor that is the primary screen). The system maps them back
    // by truncating, so rounding up lands on the pixel itself (rounding to nearest gave y - 1 for
    // some rows of a 768-pixel screen, corrected only afterwards by SetCursorPos, which a program
    // polling the cursor could see in between).
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const LONG nx = static_cast<LONG>(((x - left) * 65536LL + w - 1) / w);
    const LONG ny = static_cast<LONG>(((y - top) * 65536LL + h - 1) / h);
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK, nx, ny);
    // Some systems round the normalised position; the cursor must be exactly there.
    POINT p;
    GetCursorPos(&p);
    if (p.x != x || p.y != y) {
        SetCursorPos(x, y);
        waiting::WaitFor([&] { return GetCursorPos(&p) && p.x == x && p.y == y; }, 1000, 5);
    }
}

}  // namespace

void MoveTo(int x, int y) {
    // Xephyr with two screens puts a pointer that goes from its second screen to its first at a
    // column past the second's width on that width's last column. Entering another monitor at its
    // top-left corner first, and moving within it then, always lands.
    POINT before;
    GetCursorPos(&before);
    HMONITOR target = MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (MonitorFromPoint(before, MONITOR_DEFAULTTONEAREST) != target && GetMonitorInfoA(target, &info))
        MoveWithin(info.rcMonitor.left + 1, info.rcMonitor.top + 1);
    MoveWithin(x, y);
}

void LeftDown() {
    Mouse(MOUSEEVENTF_LEFTDOWN);
}
void LeftUp() {
    Mouse(MOUSEEVENTF_LEFTUP);
}
void RightDown() {
    Mouse(MOUSEEVENTF_RIGHTDOWN);
}
void RightUp() {
    Mouse(MOUSEEVENTF_RIGHTUP);
}

void MiddleClick() {
    Mouse(MOUSEEVENTF_MIDDLEDOWN);
    Mouse(MOUSEEVENTF_MIDDLEUP);
}

void LeftClick(int x, int y) {
    MoveTo(x, y);
    LeftDown();
    LeftUp();
}

void RightClick(int x, int y) {
    MoveTo(x, y);
    RightDown();
    RightUp();
}

namespace {

void Drag(POINT from, POINT to, int steps, void (*down)(), void (*up)()) {
    MoveTo(from.x, from.y);
    down();
    for (int i = 1; i <= steps; ++i) MoveTo(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
    up();
}

}  // namespace

void LeftDrag(POINT from, POINT to, int steps) {
    Drag(from, to, steps, LeftDown, LeftUp);
}
void RightDrag(POINT from, POINT to, int steps) {
    Drag(from, to, steps, RightDown, RightUp);
}

void Wheel(int delta) {
    Mouse(MOUSEEVENTF_WHEEL, 0, 0, static_cast<DWORD>(delta));
}

void KeyDown(WORD key) {
    Key(key, false);
}
void KeyUp(WORD key) {
    Key(key, true);
}

void Press(WORD key, std::initializer_list<WORD> modifiers) {
    for (WORD m : modifiers) KeyDown(m);
    KeyDown(key);
    KeyUp(key);
    for (auto it = modifiers.end(); it != modifiers.begin();) KeyUp(*--it);
}

void Type(const char* text) {
    for (; *text; ++text) {
        const char c = *text;
        if (c >= 'a' && c <= 'z')
            Press(static_cast<WORD>('A' + (c - 'a')));
        else if (c >= 'A' && c <= 'Z')
            Press(static_cast<WORD>(c), {VK_SHIFT});
        else if (c >= '0' && c <= '9')
            Press(static_cast<WORD>(c));
        else if (c == '-')
            Press(VK_OEM_MINUS);
        else if (c == '.')
            Press(VK_OEM_PERIOD);
        else if (c == ' ')
            Press(VK_SPACE);
        else if (const SHORT k = VkKeyScanA(c); k != -1) {
            // Other characters (a path's backslash and colon) where the keyboard layout has them.
            if (HIBYTE(k) & 1)
                Press(LOBYTE(k), {VK_SHIFT});
            else
                Press(LOBYTE(k));
        }
    }
}

bool Focus(HWND window) {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    if (waiting::WaitFor([&] { return GetForegroundWindow() == window; }, 1000)) return true;
    // Clicking the caption activates it as a user would.
    RECT r;
    GetWindowRect(window, &r);
    LeftClick(r.left + 40, r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2);
    return waiting::WaitFor([&] { return GetForegroundWindow() == window; }, 2000);
}

bool FocusForKeys(HWND window) {
    if (!Focus(window)) return false;
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &pid);
    if (!waiting::WaitFor([&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && info.hwndActive == window &&
                   (info.hwndFocus == window || IsChild(window, info.hwndFocus));
        }))
        return false;
    // Wine's X11 driver sets the key state from the X server's when the window's focus event
    // arrives, which clears a modifier pressed by SendInput just before. The window's thread
    // handles that event once it waits for input again; wait until it has.
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        WaitForInputIdle(process, 3000);
        CloseHandle(process);
    }
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &result) != 0;
}

}  // namespace input
