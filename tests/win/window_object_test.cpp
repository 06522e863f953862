// The one way a window and its object find each other: the handle from the first message the
// object sees, and no handle after the window is gone.
#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "app/windowobject.h"
#include "output/selectiontip.h"

namespace {

// Records, for every message, whether the object already knew its window.
struct Recorder {
    HWND hwnd = nullptr;
    std::vector<UINT> messages;
    std::vector<HWND> seen;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        messages.push_back(message);
        seen.push_back(hwnd);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ForwardToObject(ObjectFromCreateParams<Recorder>(window, message, lParam), window, message, wParam, lParam);
}

}  // namespace

TEST(WindowObject, AttachesAtItsFirstMessageAndLetsGoAfterTheLast) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = programInstance;
    wc.lpszClassName = "PeerixTestRecorder";
    ASSERT_NE(RegisterClassA(&wc), 0);
    Recorder object;
    HWND window = CreateWindowExA(0, wc.lpszClassName, nullptr, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  programInstance, &object);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(object.hwnd, window);
    ASSERT_FALSE(object.messages.empty());
    // The object's first message is WM_NCCREATE; every message it handles sees its window.
    EXPECT_EQ(object.messages.front(), static_cast<UINT>(WM_NCCREATE));
    for (size_t i = 0; i < object.seen.size(); ++i) EXPECT_EQ(object.seen[i], window) << object.messages[i];
    DestroyWindow(window);
    EXPECT_EQ(object.messages.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(object.seen.back(), window) << "WM_NCDESTROY itself still has the window";
    EXPECT_EQ(object.hwnd, nullptr);
    UnregisterClassA(wc.lpszClassName, programInstance);
}

TEST(WindowObject, SizeTipForgetsItsWindowWhenTheOwnerTakesItDown) {
    HWND owner =
        CreateWindowExA(0, "STATIC", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, programInstance, nullptr);
    ASSERT_NE(owner, nullptr);
    {
        SelectionTip tip;
        tip.Show(owner, 50, 80, "Selected size 3x4");
        ASSERT_NE(tip.hwnd, nullptr);
        EXPECT_TRUE(IsWindow(tip.hwnd));
        const HWND shown = tip.hwnd;
        // Destroying the owner destroys its owned popups, without a call to the tip.
        DestroyWindow(owner);
        EXPECT_FALSE(IsWindow(shown));
        EXPECT_EQ(tip.hwnd, nullptr);
        tip.Destroy();  // nothing left to destroy, and no dead handle used
        EXPECT_EQ(tip.hwnd, nullptr);
    }
}
