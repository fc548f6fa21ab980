#pragma once
#include <string>
#include <vector>

#include "platform/result.h"

enum class EntryKind { Folders, Files };

// The visible entries of folder, by name, in Explorer's order: folders that
// are not hidden, or files that are neither hidden nor system files. An
// empty folder (or empty drive) is no failure; a missing or unreadable one is.
// Entries of the other kind are kept from the same pass and answer the next
// call for that folder, if it comes within two seconds.
Result ScanFolder(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names);
