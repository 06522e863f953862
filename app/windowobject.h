// How a window and the object that handles its messages find each other; the one way for every
// window class of the program.
//
// The object has a public `HWND hwnd` and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`. Its
// class's window procedure finds the object and passes every message on through ForwardToObject:
// - attach: the object takes the window's handle at the first message it sees, so that every
//   member can use hwnd from then on, even while CreateWindowEx is still running;
// - detach: after WM_NCDESTROY, the last message any window receives, hwnd is null again, so
//   nothing later uses a dead handle, and the object can take a new window.
// How the procedure finds its object depends on how many there are. The main window has one,
// static object, which its procedure names, so the first message it attaches at is
// WM_GETMINMAXINFO (before WM_NCCREATE). Other windows pass their object as CreateWindowEx's last
// argument and find it with ObjectFromCreateParams, which keeps it in GWLP_USERDATA from
// WM_NCCREATE on; the messages before that find no object and get the default handling.
#ifndef PEERIX_WINDOWOBJECT_H
#define PEERIX_WINDOWOBJECT_H

#include <windows.h>

template <typename Object>
LRESULT ForwardToObject(Object* object, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    if (!object->hwnd) object->hwnd = window;
    const LRESULT result = object->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) object->hwnd = nullptr;
    return result;
}

template <typename Object>
Object* ObjectFromCreateParams(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<Object*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

#endif
