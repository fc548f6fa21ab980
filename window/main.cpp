#include <windows.h>
#include <commctrl.h>

#include "platform/win32/hardening.h"
#include "platform/win32/runtime_win32.h"
#include "window/form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HardenProcess();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Win32RunTime app;
    Form1Window window(instance, app);
    if (!window.Create()) return 1;
    window.Load();
    window.Show();
    return window.RunMessageLoop();
}
