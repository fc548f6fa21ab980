// window_probe.dll: a WH_CALLWNDPROC hook the window tests set on the
// program's thread, which makes Windows load this DLL into Verondel.exe. It
// reads what only the program's own process can read: the font a control
// draws with (a font handle means nothing in another process); and changes
// a system colour where the program sees it.
#include <windows.h>

#include "window_probe.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == RegisterWindowMessageW(kProbeMessage)) {
        HANDLE memory = OpenFileMappingW(FILE_MAP_WRITE, FALSE, kProbeMemory);
        if (auto* font = static_cast<LOGFONTW*>(MapViewOfFile(memory, FILE_MAP_WRITE, 0, 0, sizeof(LOGFONTW)))) {
            const auto handle = reinterpret_cast<HFONT>(SendMessageW(sent->hwnd, WM_GETFONT, 0, 0));
            if (!GetObjectW(handle, sizeof *font, font)) *font = LOGFONTW{};
            UnmapViewOfFile(font);
        }
        if (memory) CloseHandle(memory);
    }
    if (code == HC_ACTION && sent->message == RegisterWindowMessageW(kProbeSysColor)) {
        const INT element = static_cast<INT>(sent->wParam);
        const auto colour = static_cast<COLORREF>(sent->lParam);
        SetSysColors(1, &element, &colour);  // tells every window, as Windows' settings do
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
