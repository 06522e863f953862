// Sets the screen to WIDTH x HEIGHT for as long as the session lasts (not stored), as a user's
// display settings do; the end-to-end tests start it as a process of its own, since the change is
// announced to the other processes' windows. Exits 0 when the system took the mode.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(std::atoi(argv[1]));
    mode.dmPelsHeight = static_cast<DWORD>(std::atoi(argv[2]));
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, 0) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
}
