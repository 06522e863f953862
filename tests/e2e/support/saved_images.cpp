#include "saved_images.h"

#include <dlgs.h>

#include "process_windows.h"
#include "res/resource.h"
#include "tests/support/screen.h"
#include "tests/support/wait.h"

namespace e2e {

std::string CompareWithPattern(const images::Image& image, int left, int top, const std::vector<int>& mapX,
                               const std::vector<int>& mapY) {
    if (image.width != static_cast<int>(mapX.size()) || image.height != static_cast<int>(mapY.size()))
        return "size " + std::to_string(image.width) + "x" + std::to_string(image.height) + ", want " +
               std::to_string(mapX.size()) + "x" + std::to_string(mapY.size());
    int bad = 0;
    std::string first;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const COLORREF want = pixels::PatternColour(left + mapX[x], top + mapY[y]);
            if (image.At(x, y) == want) continue;
            if (bad++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ") differs from source (" +
                        std::to_string(left + mapX[x]) + "," + std::to_string(top + mapY[y]) + ")";
        }
    return bad ? first + ", " + std::to_string(bad) + " pixels in all" : "";
}

std::vector<int> OneToOne(int n) {
    std::vector<int> map(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) map[static_cast<size_t>(i)] = i;
    return map;
}

std::vector<int> Blocks(int n, int zoom) {
    std::vector<int> map(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) map[static_cast<size_t>(i)] = i / zoom;
    return map;
}

SavedImage WaitForSavedImage(const std::string& path) {
    SavedImage saved;
    waiting::WaitFor(
        [&] {
            if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
            saved.image = images::LoadBmpFile(path.c_str());
            return !saved.image.Empty();
        },
        5000, 20);
    saved.bytes = images::ReadFileBytes(path.c_str());
    return saved;
}

HWND FindChild(HWND parent, const char* className, int id) {
    struct Search {
        const char* cls;
        int id;
        HWND found;
    } s{className, id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND w, LPARAM p) {
            auto* s = reinterpret_cast<Search*>(p);
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if ((s->cls && lstrcmpiA(cls, s->cls) != 0) || (s->id != -1 && GetDlgCtrlID(w) != s->id)) return TRUE;
            s->found = w;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND SaveDialogOf(DWORD pid) {
    for (HWND w : VisibleWindowsOfClass("#32770", pid))
        if (FindChild(w, nullptr, IDC_SAVE_ZOOMED)) return w;
    return nullptr;
}

HWND FileNameBox(HWND dialog) {
    HWND box = FindChild(dialog, nullptr, cmb13);
    if (box) box = FindChild(box, "Edit");
    return box ? box : FindChild(dialog, nullptr, edt1);
}

}  // namespace e2e
