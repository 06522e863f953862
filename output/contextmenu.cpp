#include "contextmenu.h"

#include "../app/globals.h"
#include "../app/scoped.h"
#include "../app/settings.h"
#include "../app/types.h"
#include "../res/resource.h"

int TrackViewMenu(HWND owner, POINT p, bool forSelection, const char* colourItem) {
    ScopedMenu menu(LoadMenuA(programInstance, MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
    HMENU popup = GetSubMenu(menu, forSelection ? 1 : 0);
    if (forSelection) {
        EnableMenuItem(popup, ID_SEL_ZOOM_TO,
                       MF_BYCOMMAND | (settings.ZoomFactor == rules::kMaxZoom ? MF_GRAYED : MF_ENABLED));
    } else {
        const struct {
            UINT id;
            bool checked;
        } marks[] = {
            {ID_ALWAYS_ON_TOP, settings.AlwaysOnTop != 0},
            {ID_FOLLOW_MOUSE, settings.MouseTracking != 0},
            {ID_FOLLOW_KEYBOARD, settings.FollowKeyboard != 0},
            {ID_TOGGLE_TOOLBAR, settings.DisplayToolbar != 0},
            {ID_TOGGLE_STATUSBAR, settings.DisplayStatusbar != 0},
            {ID_ZOOM_2X, settings.ZoomFactor == 2},
            {ID_ZOOM_4X, settings.ZoomFactor == 4},
            {ID_PIXEL_GRID, settings.DisplayPixelGrid != 0},
        };
        for (const auto& m : marks) CheckMenuItem(popup, m.id, MF_BYCOMMAND | (m.checked ? MF_CHECKED : MF_UNCHECKED));
        if (colourItem) ModifyMenuA(popup, ID_COPY_COLOUR, MF_BYCOMMAND | MF_STRING, ID_COPY_COLOUR, colourItem);
    }
    return TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, owner, nullptr);
}
