#pragma once
#include <span>
#include <string>
#include <vector>

// What the two lists show of a folder's entries, and which they draw faded.

// An entry of a folder as the disk reports it: its name and attributes.
struct FolderEntry {
    std::wstring name;
    bool folder = false;
    bool hidden = false;
    bool system = false;
};

// Whether entry is listed whatever stands beside it: a folder that is not
// hidden, or a file that is neither hidden nor a system file.
bool IsVisible(const FolderEntry& entry);

// How the lists show an entry: not at all, plainly, or faded, as Explorer
// draws hidden items: a hidden entry is listed, faded, only where a virus
// hid it (decoys.h).
enum class Listing { Unlisted, Plain, Faded };

// How the lists show entry, one of a folder's entries; beside holds the
// others, of which only the visible programs and shortcuts count.
Listing ListingOf(const FolderEntry& entry, std::span<const FolderEntry> beside);

// A row of a list: a name, and whether it is drawn faded.
struct Listed {
    std::wstring name;
    bool faded = false;
};

// What each list shows of a folder's entries.
struct ListedEntries {
    std::vector<Listed> folders, files;
};

// Tells what each list shows of a folder, one entry at a time as the folder
// is read: a visible entry is listed at once, a hidden one once every entry
// is known, as what shows it may come after it. Done gives the visible
// entries in the order added, then the hidden ones shown.
class FolderLister {
public:
    void Add(FolderEntry entry);
    ListedEntries Done();

private:
    ListedEntries listed_;
    std::vector<FolderEntry> hidden_;
};
