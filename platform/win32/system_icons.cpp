#include "system_icons.h"

#include <objbase.h>
#include <shellapi.h>

#include "system_dll.h"

namespace {

// SHGetFileInfoW, looked up on first use (see system_dll.h).
DWORD_PTR FileInfo(const wchar_t* name, DWORD attributes, SHFILEINFOW& info, UINT flags) {
    using Function = DWORD_PTR(WINAPI*)(const wchar_t*, DWORD, SHFILEINFOW*, UINT, UINT);
    static const auto getFileInfo = SystemFunctionAs<Function>(L"shell32.dll", "SHGetFileInfoW");
    return getFileInfo ? getFileInfo(name, attributes, &info, sizeof info, flags) : 0;
}

constexpr UINT kSmallIconIndex = SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

}  // namespace

void SystemIcons::Start(HWND notify) {
    notify_ = notify;
    thread_.Reset(CreateThread(nullptr, 0, Load, this, 0, nullptr));
}

void SystemIcons::Stop() {
    if (thread_) WaitForSingleObject(thread_.Get(), INFINITE);
    thread_.Reset();
}

// The thread: the shell wants COM on the thread that builds the list.
DWORD WINAPI SystemIcons::Load(void* self) {
    auto& icons = *static_cast<SystemIcons*>(self);
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using Uninitialize = void(WINAPI*)();
    const auto initialize = SystemFunctionAs<Initialize>(L"ole32.dll", "CoInitializeEx");
    const auto uninitialize = SystemFunctionAs<Uninitialize>(L"ole32.dll", "CoUninitialize");
    const bool com = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    SHFILEINFOW info{};
    icons.list_ = reinterpret_cast<HIMAGELIST>(FileInfo(L"folder", FILE_ATTRIBUTE_DIRECTORY, info, kSmallIconIndex));
    PostMessageW(icons.notify_, kSystemIconsLoaded, 0, 0);
    if (com && uninitialize) uninitialize();
    return 0;
}

int SystemIcons::ForFolder(bool open) {
    if (!list_) return -1;
    JoinSingleThreadedApartment();
    int& icon = folders_[open];
    if (icon < 0) {
        SHFILEINFOW info{};
        FileInfo(L"folder", FILE_ATTRIBUTE_DIRECTORY, info, kSmallIconIndex | (open ? SHGFI_OPENICON : 0));
        icon = info.iIcon;
    }
    return icon;
}

// The icon of the file's type, from its name alone: no file is touched, so a
// slow or pulled drive never stalls drawing. Cached by extension.
int SystemIcons::ForFileName(const std::wstring& name) {
    if (!list_) return -1;
    const size_t dot = name.find_last_of(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    if (!extension.empty()) CharLowerBuffW(extension.data(), static_cast<DWORD>(extension.size()));
    if (const auto found = byExtension_.find(extension); found != byExtension_.end()) return found->second;

    JoinSingleThreadedApartment();
    SHFILEINFOW info{};
    const std::wstring typical = L"file" + extension;
    FileInfo(typical.c_str(), FILE_ATTRIBUTE_NORMAL, info, kSmallIconIndex);
    return byExtension_[extension] = info.iIcon;
}
