// Showing and closing each dialog many times leaves no GDI or USER object behind.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/globals.h"
#include "app/settings.h"
#include "dialogs/dialogs.h"
#include "tests/support/handle_meter.h"
#include "tests/support/wait.h"
#include "tests/win/modal.h"
#include "tests/win/window_support.h"

namespace {

constexpr int kShowings = 200;

struct Counts {
    int gdi, user;
};

Counts Free() {
    return {meter::FreeGdiObjects(), meter::FreeUserObjects()};
}

}  // namespace

class DialogLeaks : public GlobalStateTest {};

TEST_F(DialogLeaks, EachDialogShownAndClosedTwoHundredTimesLeavesTheCountsWhereTheyWere) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 200, 150, 500, 400, nullptr, nullptr,
                                 nullptr, nullptr);
    const struct {
        const char* name;
        void (*show)(HWND);
    } dialogs[] = {
        {"Options", [](HWND o) { RunOptionsDialog(o); }},
        {"About", [](HWND o) { RunAboutDialog(o); }},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.name);
        // One showing first: what the system keeps for the first dialog of a kind (classes,
        // fonts, the shared cursor and icon) is not the dialog's to release.
        ASSERT_TRUE(modal::ShowAndEnd([&] { d.show(owner); }, IDCANCEL));
        waiting::PumpFor(20);
        const Counts before = Free();
        for (int i = 0; i < kShowings; ++i) {
            // OK and Cancel alternate: the Options dialog stores on OK, and both end the About box.
            ASSERT_TRUE(modal::ShowAndEnd([&] { d.show(owner); }, i % 2 ? IDCANCEL : IDOK)) << i;
        }
        waiting::PumpFor(20);
        const Counts after = Free();
        EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
        EXPECT_EQ(after.user, before.user) << "USER objects";
    }
    DestroyWindow(owner);
}
