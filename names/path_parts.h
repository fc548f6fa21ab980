#pragma once
#include <string>

// The parts of a full path, as the lists name folders: a drive root keeps
// its backslash ("E:\"), a share root ("\\server\share") and every other
// folder have none. A long path ("\\?\E:\", "\\?\UNC\server\share") has its
// roots in the same places.

// folder + "\" + name, without doubling the backslash of a drive root (E:\).
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

// True for a drive root (E:\) or the root of a share (\\server\share, with
// or without its final backslash), long or not.
bool IsRootFolder(const std::wstring& folder);

// The folder that holds path ("E:\" for "E:\a.doc"), or empty for a root.
std::wstring ParentFolder(const std::wstring& path);

// The last name in path ("Week1" for E:\Lessons\Week1); a root is its own
// name, as the folder list shows it.
std::wstring LastName(const std::wstring& path);
