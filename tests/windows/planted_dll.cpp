// planted.dll: a DLL that does nothing, put beside platform_tests.exe as
// one planted on the drive beside Verondel.exe would be. After
// HardenProcess it must not load by its bare name.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
