#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "decoys.h"

// The disk's side of what decoys.h decides: entries as the file functions
// find them, and the programs and shortcuts beside a hidden one.

// "." and "..", which every folder but a root holds.
bool IsDotEntry(const WIN32_FIND_DATAW& found);

// A found entry as decoys.h takes it.
FolderEntry EntryFrom(const WIN32_FIND_DATAW& found);

// Whether the lists show hidden, a hidden entry of folder: the disk is
// asked for the programs and shortcuts of its name beside it.
bool ShowsHiddenOnDisk(const std::wstring& folder, const FolderEntry& hidden);

// Every entry of folder but "." and "..", hidden ones included; none when
// it cannot be read.
std::vector<FolderEntry> ReadEntries(const std::wstring& folder);

// True when path names an entry with the hidden attribute.
bool IsHiddenOnDisk(const std::wstring& path);
