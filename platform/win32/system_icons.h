#pragma once
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <map>
#include <string>

#include "owned.h"

// Sent to the window given to SystemIcons::Start once the icons are loaded.
inline constexpr UINT kSystemIconsLoaded = WM_APP + 1;

// The system's small icons for folders and file types, as Explorer draws
// them. Building the system's icon list takes longer than all the rest of
// start-up, so it loads on a thread of its own once the window shows; until
// then no icon is drawn, and when it is ready the window gets
// kSystemIconsLoaded.
//
// The thread touches only the window handle it posts to and list_, which it
// sets once. Everything else, the caches included, belongs to the window's
// thread. The window owns this object and stops it when it closes: Stop
// waits for the thread, so the thread never outlives what it uses.
class SystemIcons {
public:
    SystemIcons() = default;
    SystemIcons(const SystemIcons&) = delete;
    SystemIcons& operator=(const SystemIcons&) = delete;
    ~SystemIcons() { Stop(); }

    void Start(HWND notify);
    void Stop();

    HIMAGELIST List() const { return list_; }  // null until loaded
    int ForFolder(bool open);                   // -1 until loaded
    int ForFileName(const std::wstring& name);  // by its extension alone; -1 until loaded

private:
    static DWORD WINAPI Load(void* self);

    HWND notify_ = nullptr;
    std::atomic<HIMAGELIST> list_ = nullptr;
    OwnedFile thread_;
    int folders_[2] = {-1, -1};  // closed, open
    std::map<std::wstring, int> byExtension_;
};
