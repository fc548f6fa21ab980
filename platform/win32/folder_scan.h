#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "result.h"

enum class EntryKind { Folders, Files };

// Reads folders for the two lists. The visible entries of a folder, by name,
// in the lists' order (name_order.h): folders that are not hidden, or files
// that are neither hidden nor system files. An empty drive is no failure; a folder
// that is missing, has vanished or cannot be read is.
//
// One pass over a folder finds its files and its subfolders alike, and the
// lists usually want both within moments: a folder click lists the files, a
// double-click then opens the same folder; start-up opens a folder and lists
// its files. So the scanner keeps the entries of the other kind and gives
// them to the next request for that folder, once, if it comes within two
// seconds and the folder still exists; any other request drops them.
class FolderScanner {
public:
    Result Scan(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names);

private:
    bool TakeKept(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names);

    struct Kept {
        std::wstring folder;
        EntryKind kind = EntryKind::Files;
        std::vector<std::wstring> names;
        ULONGLONG scannedAt = 0;
    };
    Kept kept_;
};
