#include <windows.h>
#include <commctrl.h>

#include "form1_window.h"
#include "hardening.h"
#include "runtime_win32.h"

#include <cstdlib>

// What the C++ run time does with an exception nobody caught. Its own
// answer prints the exception's type, demangled, to a console this program
// does not have, and its demangler alone is a tenth of the exe. Every
// message is handled inside one exception boundary, so this is reached only
// if that fails too: the program ends at once, as it would anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

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
