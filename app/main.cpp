// Entry point: the common controls, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "../res/resource.h"
#include "globals.h"
#include "startup.h"
#include "utils.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    programInstance = instance;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    if (!InitCommonControlsEx(&controls)) {
        ShowSystemError(nullptr, titleText.GetText());
        return 0;
    }
    if (!CreateMainWindow(instance, showCommand)) return 0;

    HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    MSG msg = {};
    // GetMessage returns -1 on failure; that ends the loop like WM_QUIT.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // The main window keeps the focus, so accelerators aimed at the message's own window
        // reach it.
        if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
