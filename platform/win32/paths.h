#pragma once
#include <string>

// Path helpers shared by the Win32 services and lists.

// True for "E:\" and for the root of a network share ("\\server\share\" or
// without the final backslash).
bool IsDriveRoot(const std::wstring& path);

// The full, normalised form of path ("..", "." and doubled backslashes
// resolved); a drive root keeps its backslash, no other folder does.
std::wstring FullFolderPath(const std::wstring& path);

// path in a form the Win32 file functions accept at any length: long full
// paths get the "\\?\" prefix, others are returned as they are.
std::wstring ForFileApi(const std::wstring& path);
