#include "hardening.h"

#include <windows.h>

void HardenProcess() {
    // DLLs named bare load from the system folder only. Windows 7 has
    // SetDefaultDllDirectories only with update KB2533623, so look it up;
    // SetDllDirectory("") then at least takes the current folder out.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");

    // On this thread only: the process error mode would be inherited by
    // every program the user opens.
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
    HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
}

void LeaveTheDrive() {
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) SetCurrentDirectoryW(system);
}
