#pragma once
#include <string>

// The paths the file functions and the shell take (path_parts.h splits them).

// The full, plain form of path: "/" read as "\", doubled backslashes, "."
// and ".." resolved; a drive root keeps its backslash, no other folder does.
// Every name is otherwise kept exactly, trailing dots and spaces included:
// Windows' own GetFullPathName drops those, and then names another folder.
std::wstring FullFolderPath(const std::wstring& path);

// The "\\?\" form of a full path, which the file functions take at any
// length and with every name exactly as it is. Other paths are returned as
// they are.
std::wstring ForFileApi(const std::wstring& path);

// True when a name in path ends in a dot or a space, which the shell and
// Explorer read without them (and so as another file or folder), or is one
// the shell may read as a device: CON, PRN, AUX, NUL, COM0 to COM9, LPT0 to
// LPT9 (also with a superscript digit), with any extension, in any case.
// Newer Windows reads fewer of them so; refusing them is safe on every one.
bool HasNameTheShellAlters(const std::wstring& path);
