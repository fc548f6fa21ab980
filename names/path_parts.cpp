#include "path_parts.h"

#include <algorithm>
#include <string_view>

namespace {

// Where "E:\" ends when path holds it at from; 0 when it does not.
size_t DriveRootEnd(std::wstring_view path, size_t from) {
    const bool letter = path.size() > from && ((path[from] | 0x20) >= L'a' && (path[from] | 0x20) <= L'z');
    return letter && path.substr(from + 1, 2) == L":\\" ? from + 3 : 0;
}

// Where "server\share" ends when path holds it at from (before any
// backslash after it); 0 when it does not.
size_t ShareRootEnd(std::wstring_view path, size_t from) {
    const size_t server = path.find(L'\\', from);
    if (server == std::wstring_view::npos || server == from) return 0;
    const size_t share = std::min(path.find(L'\\', server + 1), path.size());
    return share > server + 1 ? share : 0;
}

// Where the root at the start of path ends; 0 for a path without one.
size_t RootEnd(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) return ShareRootEnd(path, 8);
    if (path.starts_with(L"\\\\?\\")) return DriveRootEnd(path, 4);
    if (path.starts_with(L"\\\\")) return ShareRootEnd(path, 2);
    return DriveRootEnd(path, 0);
}

}  // namespace

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    return folder.ends_with(L'\\') ? folder + name : folder + L'\\' + name;
}

bool IsRootFolder(const std::wstring& folder) {
    const size_t end = RootEnd(folder);
    return end != 0 && (folder.size() == end || (folder.size() == end + 1 && folder.back() == L'\\'));
}

std::wstring ParentFolder(const std::wstring& path) {
    if (IsRootFolder(path)) return {};
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0) return {};
    const size_t root = RootEnd(path);
    return path.substr(0, slash < root ? root : slash);  // E:\ keeps its backslash
}

std::wstring LastName(const std::wstring& path) {
    if (IsRootFolder(path)) return path;
    return path.substr(path.find_last_of(L'\\') + 1);
}
