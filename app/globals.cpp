// Definitions of the process-wide objects. Within one translation unit C++ constructs them in
// the order written here and destroys them in reverse, which the start-up relies on: the
// settings are loaded before the main window copies its point of interest from them, no string
// is loaded before the module and heap handles exist, and the settings are written back after
// the main window is gone.
#include "globals.h"

#include "../res/resource.h"
#include "../view/mainwindow.h"
#include "rules.h"
#include "settings.h"

ResString emailTarget(IDS_EMAIL_TARGET);
ResString webTarget(IDS_WEB_TARGET);
UINT wheelMessage = rules::WantsWheelMessage(GetVersion()) ? RegisterWindowMessageA("MSWHEEL_ROLLMSG") : 0;
int screenWidth = GetSystemMetrics(SM_CXSCREEN);
int screenHeight = GetSystemMetrics(SM_CYSCREEN);
ResString zoomLevelFormat(IDS_ZOOM_LEVEL);
ResString autoUpdateFormat(IDS_AUTO_UPDATE);
ResString pressF1Text(IDS_PRESS_F1);
ResString widestColourText(IDS_WIDEST_COLOUR);
ResString widestCoordsText(IDS_WIDEST_COORDS);
ResString rgbFormat(IDS_RGB_FORMAT);
ResString hexFormat(IDS_HEX_FORMAT);
ResString coordsFormat(IDS_COORDS_FORMAT);
ResString sourceCoordsFormat(IDS_SOURCE_COORDS_FORMAT);
Settings settings;
HMODULE moduleHandle = GetModuleHandleA(nullptr);
HANDLE heapHandle = GetProcessHeap();
ResString errorCaption(IDS_TITLE);
MainWindow mainWindow;
ResString titleText(IDS_TITLE);

HINSTANCE programInstance = nullptr;
