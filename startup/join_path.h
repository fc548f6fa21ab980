#pragma once
#include <string>

// folder + "\" + name, without doubling the backslash of a drive root (E:\).
inline std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L'\\' + name;
}

// True for a drive root (E:\) or the root of a share (\\server\share).
inline bool IsRootFolder(const std::wstring& folder) {
    if (folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\') return true;
    if (!folder.starts_with(L"\\\\")) return false;
    const size_t server = folder.find(L'\\', 2);
    const size_t share = server == std::wstring::npos ? server : folder.find(L'\\', server + 1);
    return server != std::wstring::npos && (share == std::wstring::npos || share + 1 == folder.size());
}

// The folder that holds folder, or empty for a root. Folders are full paths
// as the lists give them: a root may end with "\", no other folder does.
inline std::wstring ParentFolder(const std::wstring& folder) {
    if (IsRootFolder(folder)) return {};
    const size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0) return {};
    if (slash == 2 && folder[1] == L':') return folder.substr(0, 3);  // E:\ keeps its backslash
    return folder.substr(0, slash);
}

// The last name in folder ("Week1" for E:\Lessons\Week1).
inline std::wstring LastName(const std::wstring& folder) {
    return folder.substr(folder.find_last_of(L'\\') + 1);
}
