#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "folder_watch_win32.h"
#include "result.h"

enum class EntryKind { Folders, Files };

// True when name a comes before name b in the lists: the order a scan sorts
// names in, so that a name added later takes the place a scan would give it.
bool ComesBefore(const std::wstring& a, const std::wstring& b);

// Reads folders for the two lists. The visible entries of a folder, by name,
// in the lists' order (name_order.h): folders that are not hidden, or files
// that are neither hidden nor system files, and the hidden ones that a virus
// hid (decoys.h), whose names also go to hiddenNames. An empty drive is no
// failure; a folder that is missing, has vanished or cannot be read is.
//
// One pass over a folder finds its files and its subfolders alike, and the
// lists usually want both within moments: a folder click lists the files, a
// double-click then opens the same folder; start-up opens a folder and lists
// its files. So the scanner keeps the entries of the other kind and gives
// them to the next request for that folder, once, if it comes within two
// seconds, the folder still exists, and it was watched all along without a
// change; any other request drops them.
class FolderScanner {
public:
    explicit FolderScanner(const Win32FolderWatch& watch) : watch_(watch) {}
    Result Scan(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names,
                std::vector<std::wstring>* hiddenNames = nullptr);

private:
    bool TakeKept(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names,
                  std::vector<std::wstring>& hidden);

    struct Kept {
        std::wstring folder;
        EntryKind kind = EntryKind::Files;
        std::vector<std::wstring> names, hidden;
        ULONGLONG scannedAt = 0;
        uint64_t watchVersion = 0;
    };
    const Win32FolderWatch& watch_;
    Kept kept_;
};
