#include "listing.h"

#include <algorithm>

#include "decoys.h"

bool IsVisible(const FolderEntry& entry) { return !entry.hidden && (entry.folder || !entry.system); }

Listing ListingOf(const FolderEntry& entry, std::span<const FolderEntry> beside) {
    if (IsVisible(entry)) return Listing::Plain;
    return entry.hidden && ShowsHidden(entry, beside) ? Listing::Faded : Listing::Unlisted;
}

// Only a hidden entry depends on what stands beside it, and only on the
// programs and shortcuts there: those are picked out once, when a folder
// holds a hidden entry at all.
ListedEntries ListEntries(std::vector<FolderEntry> entries) {
    std::vector<FolderEntry> decoyNamed;
    if (std::any_of(entries.begin(), entries.end(), [](const FolderEntry& entry) { return entry.hidden; }))
        for (const FolderEntry& entry : entries)
            if (IsVisible(entry) && !ImitatedName(entry.name).empty()) decoyNamed.push_back(entry);
    ListedEntries listed;
    for (FolderEntry& entry : entries) {
        const Listing listing = ListingOf(entry, decoyNamed);
        if (listing != Listing::Unlisted)
            (entry.folder ? listed.folders : listed.files).push_back({std::move(entry.name), listing == Listing::Faded});
    }
    return listed;
}
