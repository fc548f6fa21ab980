#include <windows.h>
#include <commctrl.h>

#include "form1_window.h"
#include "hardening.h"
#include "runtime_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    HardenProcess();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Win32RunTime runTime;
    Form1Window window(instance, runTime);
    if (!window.Create()) return 1;
    LeaveTheDrive();  // the folder list has taken the folder it was started in
    window.Load();
    window.Show(show);  // as a shortcut set to "最大化" asks, say
    return window.RunMessageLoop();
}
