#include "rules.h"

namespace rules {

bool WantsWheelMessage(uint32_t version) {
    const bool family95 = (version & 0x80000000u) != 0;
    const uint32_t majorMinor = version & 0xFFFFu;
    if (family95) return majorMinor == 4;
    return majorMinor == 3;
}

bool HasArea(const Rect& r) {
    return r.right > r.left && r.bottom > r.top;
}

Rect WorkAreaToScreen(const Rect& r, int workLeft, int workTop) {
    return Rect{r.left + workLeft, r.top + workTop, r.right + workLeft, r.bottom + workTop};
}

void CentredOrigin(const Rect& reference, const Rect& window, int* x, int* y) {
    *x = reference.left + ((reference.right - reference.left) - (window.right - window.left)) / 2;
    *y = reference.top + ((reference.bottom - reference.top) - (window.bottom - window.top)) / 2;
}

void KeepDirectory(char* path, int length) {
    const int cut = LastBackslash(path, length);
    if (cut >= 1) path[cut + 1] = '\0';
}

}  // namespace rules
