// showcase: shows a picture in a plain window at the screen's top-left corner, starts a program,
// lets it run for a number of seconds, then closes its main window the way a user would
// (WM_CLOSE) and waits for it to end. Used by `make run` on a private display, where nobody is
// there to look at a scene or to close the window.
//
//   showcase SECONDS PROGRAM.exe [SCENE.bmp]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam) {
    auto* s = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

LRESULT CALLBACK SceneProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        auto picture = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, picture);
        BITMAP info = {};
        GetObjectA(picture, sizeof info, &info);
        BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A borderless window showing the picture; null when it cannot be loaded.
HWND ShowScene(const char* path) {
    auto picture = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!picture) return nullptr;
    BITMAP info = {};
    GetObjectA(picture, sizeof info, &info);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SceneProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ShowcaseScene";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "ShowcaseScene", "scene", WS_POPUP, 0, 0, info.bmWidth, info.bmHeight,
                             nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture));
    ShowWindow(w, SW_SHOWNOACTIVATE);
    UpdateWindow(w);
    return w;
}

// Waits for the process while keeping the scene painted.
bool WaitPumping(HANDLE process, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return false;
        if (MsgWaitForMultipleObjects(1, &process, FALSE, ms - elapsed, QS_ALLINPUT) == WAIT_OBJECT_0) return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: showcase SECONDS PROGRAM.exe [SCENE.bmp]\n");
        return 2;
    }
    if (argc == 4 && !ShowScene(argv[3])) std::fprintf(stderr, "showcase: cannot show %s\n", argv[3]);
    const int seconds = std::atoi(argv[1]);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    char commandLine[MAX_PATH + 2];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\"", argv[2]);
    if (!CreateProcessA(argv[2], commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "showcase: cannot start %s (error %lu)\n", argv[2], GetLastError());
        return 1;
    }
    if (!WaitPumping(process.hProcess, static_cast<DWORD>(seconds) * 1000)) {
        Search s{process.dwProcessId, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
        if (s.found) PostMessageA(s.found, WM_CLOSE, 0, 0);
        if (!WaitPumping(process.hProcess, 10000)) {
            std::fprintf(stderr, "showcase: %s did not close\n", argv[2]);
            TerminateProcess(process.hProcess, 1);
        }
    }
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
