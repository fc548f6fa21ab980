#include "listing.h"

#include "decoys.h"

bool IsVisible(const FolderEntry& entry) { return !entry.hidden && (entry.folder || !entry.system); }

Listing ListingOf(const FolderEntry& entry, std::span<const FolderEntry> beside) {
    if (IsVisible(entry)) return Listing::Plain;
    return entry.hidden && ShowsHidden(entry, beside) ? Listing::Faded : Listing::Unlisted;
}

void FolderLister::Add(FolderEntry entry) {
    if (entry.hidden) hidden_.push_back(std::move(entry));
    else if (IsVisible(entry)) (entry.folder ? listed_.folders : listed_.files).push_back({std::move(entry.name)});
}

// Only a hidden entry depends on what stands beside it, and only on the
// visible programs and shortcuts there: those are picked out once, when a
// folder holds a hidden entry at all.
ListedEntries FolderLister::Done() {
    std::vector<FolderEntry> decoyNamed;
    if (!hidden_.empty())
        for (const Listed& file : listed_.files)
            if (!ImitatedName(file.name).empty()) decoyNamed.push_back({file.name});
    for (FolderEntry& entry : hidden_)
        if (ListingOf(entry, decoyNamed) == Listing::Faded)
            (entry.folder ? listed_.folders : listed_.files).push_back({std::move(entry.name), true});
    return std::move(listed_);
}
