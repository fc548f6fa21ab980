#include "paths.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

// Length of the root at the start of path: 2 for "E:" (the backslash after
// it, if any, is a separator), the length of "\\server\share" for a share,
// or 0 for a path that is not full.
size_t RootLength(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':' && iswalpha(path[0])) return 2;
    if (path.size() < 5 || path[0] != L'\\' || path[1] != L'\\') return 0;
    const size_t serverEnd = path.find(L'\\', 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2) return 0;
    const size_t shareEnd = path.find(L'\\', serverEnd + 1);
    if (shareEnd == serverEnd + 1) return 0;
    return shareEnd == std::wstring::npos ? path.size() : shareEnd;
}

// The names after the root, with "." and ".." resolved and empty ones dropped.
std::vector<std::wstring> NamesBelowRoot(const std::wstring& path, size_t rootLength) {
    std::vector<std::wstring> names;
    size_t start = rootLength;
    while (start <= path.size()) {
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        std::wstring name = path.substr(start, end - start);
        if (name == L"..") {
            if (!names.empty()) names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.push_back(std::move(name));
        }
        start = end + 1;
    }
    return names;
}

// CON, "nul.txt", "Com1 .doc", "LPT³": the part before the first dot,
// without trailing spaces, is a device's name.
bool IsDeviceName(const std::wstring& name) {
    std::wstring base = name.substr(0, name.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (wchar_t& c : base) c = static_cast<wchar_t>(towupper(c));
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") return true;
    if (base.size() != 4 || (!base.starts_with(L"COM") && !base.starts_with(L"LPT"))) return false;
    const wchar_t digit = base[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

std::wstring WindowsFullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(path.c_str(), size, full.data(), nullptr));
    return full;
}

}  // namespace

std::wstring FullFolderPath(const std::wstring& path) {
    std::wstring full = path;
    if (full.starts_with(kLongUncPrefix)) full = L"\\\\" + full.substr(kLongUncPrefix.size());
    else if (full.starts_with(kLongPrefix)) full.erase(0, kLongPrefix.size());
    std::replace(full.begin(), full.end(), L'/', L'\\');
    if (RootLength(full) == 0) full = WindowsFullPath(full);  // relative: only Windows knows to what
    const size_t rootLength = RootLength(full);
    if (rootLength == 0) return full;

    std::wstring result = full.substr(0, rootLength);
    if (rootLength == 2) result += L'\\';  // E:\ keeps its backslash
    for (const std::wstring& name : NamesBelowRoot(full, rootLength)) {
        if (result.back() != L'\\') result += L'\\';
        result += name;
    }
    return result;
}

std::wstring ForFileApi(const std::wstring& path) {
    if (path.starts_with(kLongPrefix)) return path;
    std::wstring full = FullFolderPath(path);
    if (RootLength(full) == 2) return std::wstring(kLongPrefix) + full;
    if (RootLength(full) > 2) return std::wstring(kLongUncPrefix) + full.substr(2);
    return full;
}

bool HasNameTheShellAlters(const std::wstring& path) {
    const std::wstring full = FullFolderPath(path);
    for (const std::wstring& name : NamesBelowRoot(full, RootLength(full)))
        if (name.back() == L'.' || name.back() == L' ' || IsDeviceName(name)) return true;
    return false;
}
