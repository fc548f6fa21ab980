#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "listing.h"
#include "result.h"

// A folder's entries as the file functions find them: the facts the lists'
// rule (listing.h) decides on.

// An entry named name with the given attributes, as listing.h takes it.
FolderEntry EntryFrom(std::wstring name, DWORD attributes);

// Hands take every entry of folder but "." and "..", hidden ones included,
// in the order found. An empty drive is no failure; a folder that is
// missing, has vanished or cannot be read is, and what take was handed
// then is no answer. A slow stick or a folder of 100,000 files takes a
// while: once that is more than a moment, the pointer shows it, until the
// reading is done.
Result ReadEntries(const std::wstring& folder, const std::function<void(FolderEntry)>& take);

// How the lists show entry, one of folder's entries: for a hidden one, the
// disk is asked for the programs and shortcuts of its name beside it.
Listing ListingOnDisk(const std::wstring& folder, const FolderEntry& entry);

// True when path names an entry with the hidden attribute.
bool IsHiddenOnDisk(const std::wstring& path);
