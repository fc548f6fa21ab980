#include "system_dll.h"

#include <objbase.h>

#include <string>

FARPROC SystemFunction(const wchar_t* dll, const char* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder) + L"\\" + dll;
    HMODULE module = GetModuleHandleW(path.c_str());
    if (!module) module = LoadLibraryW(path.c_str());  // a full path: nothing is searched for
    return module ? GetProcAddress(module, name) : nullptr;
}

void JoinSingleThreadedApartment() {
    static const bool joined = [] {  // the window's thread is the only one that asks
        using Initialize = HRESULT(WINAPI*)(void*, DWORD);
        const auto initialize = SystemFunctionAs<Initialize>(L"ole32.dll", "CoInitializeEx");
        return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    static_cast<void>(joined);
}
