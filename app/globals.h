// The program's process-wide objects. They are defined together in globals.cpp, in the order
// in which they must be constructed, and destroyed in reverse order after WinMain returns.
#ifndef PEERIX_GLOBALS_H
#define PEERIX_GLOBALS_H

#include <windows.h>

#include "resstring.h"

class Settings;

extern ResString emailTarget;  // 32783, the About box's mail link
extern ResString webTarget;    // 32784, the About box's web link
extern UINT wheelMessage;      // "MSWHEEL_ROLLMSG" on systems without WM_MOUSEWHEEL, else 0
extern int screenWidth;        // re-read on WM_WININICHANGE
extern int screenHeight;
extern ResString zoomLevelFormat;   // 4006
extern ResString autoUpdateFormat;  // 4002
extern ResString pressF1Text;       // 32785
extern ResString widestColourText;  // 32786, measures status part 1
extern ResString widestCoordsText;  // 32788, measures status part 3
extern ResString rgbFormat;         // 32787
extern ResString hexFormat;         // 32791
extern ResString coordsFormat;      // 32789
extern ResString sourceCoordsFormat;  // 32800, the source pixel under the pointer over the view
extern Settings settings;
extern HMODULE moduleHandle;    // where ResString finds its strings
extern HANDLE heapHandle;       // where ResString keeps its texts
extern ResString errorCaption;  // 4003, caption of the Options dialog's error box
extern ResString titleText;     // 4003, window title and caption of the system error box

// The instance handle given to WinMain; every dialog, window and resource load other than
// ResString's uses it.
extern HINSTANCE programInstance;

#endif
