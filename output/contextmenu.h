// The view's two context menus: the general one and the one for a finished selection.
#ifndef PEERIX_CONTEXTMENU_H
#define PEERIX_CONTEXTMENU_H

#include <windows.h>

// Shows the menu at a screen point, with its items checked or greyed from the settings, and
// returns the chosen command, or 0 when the menu was closed without one. The general menu's
// Copy Colour item shows colourItem, the colour it copies.
int TrackViewMenu(HWND owner, POINT screenPoint, bool forSelection, const char* colourItem);

#endif
