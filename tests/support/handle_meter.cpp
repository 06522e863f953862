#include "handle_meter.h"

#include <windows.h>

#include <vector>

namespace meter {

int FreeGdiObjects() {
    std::vector<HBRUSH> made;
    made.reserve(70000);
    for (;;) {
        HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
        if (!b) break;
        made.push_back(b);
    }
    for (HBRUSH b : made) DeleteObject(b);
    return static_cast<int>(made.size());
}

int FreeUserObjects() {
    std::vector<HMENU> made;
    made.reserve(70000);
    for (;;) {
        HMENU m = CreatePopupMenu();
        if (!m) break;
        made.push_back(m);
    }
    for (HMENU m : made) DestroyMenu(m);
    return static_cast<int>(made.size());
}

}  // namespace meter
