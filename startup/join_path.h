#pragma once
#include <string>

// folder + "\" + name, without doubling the backslash of a drive root (E:\).
inline std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L'\\' + name;
}
