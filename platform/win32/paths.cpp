#include "platform/win32/paths.h"

#include <windows.h>

namespace {

// Length of the share root "\\server\share" at the start of a UNC path, or 0.
size_t UncRootLength(const std::wstring& path) {
    if (path.size() < 5 || path[0] != L'\\' || path[1] != L'\\' || path[2] == L'?') return 0;
    const size_t serverEnd = path.find(L'\\', 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2) return 0;
    const size_t shareEnd = path.find(L'\\', serverEnd + 1);
    return shareEnd == std::wstring::npos ? path.size() : shareEnd;
}

}  // namespace

bool IsDriveRoot(const std::wstring& path) {
    if (path.size() == 3 && path[1] == L':' && path[2] == L'\\') return true;
    const size_t shareRoot = UncRootLength(path);
    return shareRoot && (path.size() == shareRoot || path.size() == shareRoot + 1);
}

std::wstring FullFolderPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    size = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(size);
    while (full.size() > 1 && full.back() == L'\\' && !(full.size() == 3 && full[1] == L':')) full.pop_back();
    if (full.size() == 2 && full[1] == L':') full += L'\\';
    return full;
}

std::wstring ForFileApi(const std::wstring& path) {
    constexpr size_t kRoomForFileName = 12;  // folders must leave room for an 8.3 name
    if (path.size() + kRoomForFileName < MAX_PATH || path.starts_with(L"\\\\?\\")) return path;
    const std::wstring full = FullFolderPath(path);
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}
