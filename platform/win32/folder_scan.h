#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "folder_watch_win32.h"
#include "listing.h"
#include "result.h"

enum class EntryKind { Folders, Files };

// True when name a comes before name b in the lists: the order a scan sorts
// names in, so that a name added later takes the place a scan would give it.
bool ComesBefore(const std::wstring& a, const std::wstring& b);

// What a scan found of the kind it was not asked for, kept for the next
// request for that kind in that folder.
struct KeptScan {
    std::wstring folder;
    EntryKind kind = EntryKind::Files;
    std::vector<Listed> listed;
    ULONGLONG scannedAt = 0;
    uint64_t watchVersion = 0;  // the folder's watch when it was read (0: not watched)

    // Whether it still answers a request for kind in folder at now, when
    // the folder's watch is at watchVersion: the same kind and folder (in
    // any case), within two seconds, and watched all along without a change.
    bool StillGood(const std::wstring& folder, EntryKind kind, ULONGLONG now, uint64_t watchVersion) const;
};

// Reads folders for the two lists: what a list shows of a folder
// (listing.h), in the lists' order (name_order.h). An empty drive is no
// failure; a folder that is missing, has vanished or cannot be read is.
//
// One pass over a folder finds its files and its subfolders alike, and the
// lists usually want both within moments: a folder click lists the files, a
// double-click then opens the same folder; start-up opens a folder and lists
// its files. So the scanner keeps the entries of the other kind and gives
// them to the next request for that folder, once, while they are still good
// and the folder still exists; any other request drops them.
class FolderScanner {
public:
    explicit FolderScanner(const Win32FolderWatch& watch) : watch_(watch) {}
    Result Scan(const std::wstring& folder, EntryKind kind, std::vector<Listed>& listed);

private:
    bool TakeKept(const std::wstring& folder, EntryKind kind, std::vector<Listed>& listed);

    const Win32FolderWatch& watch_;
    KeptScan kept_;
};
