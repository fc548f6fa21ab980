#include "folder_scan.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "folder_entries.h"
#include "name_order.h"
#include "paths.h"
#include "remembered_keys.h"
#include "system_collation.h"

namespace {

// Compares two keys as memcmp would, then the shorter first. The names of
// one folder share long beginnings, and the msvcrt memcmp of Wine goes byte
// by byte: four at a time, this is what keeps the sort of 100,000 names quick.
int CompareKeys(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    size_t i = 0;
    for (uint32_t x, y; i + 4 <= common; i += 4) {
        std::memcpy(&x, a.data() + i, 4);
        std::memcpy(&y, b.data() + i, 4);
        if (x != y) break;
    }
    for (; i < common; ++i)
        if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// Sorts rows in the lists' order, by name. Each name's key is made once,
// and all the keys lie in one block of memory: freed after the sort, a block
// that large goes straight back to the system, whatever else the heap holds,
// where 100,000 small ones could leave pages behind among the names kept.
void SortInListOrder(std::vector<Listed>& rows) {
    const RememberedKeys collation(SystemCollation());
    struct Keyed {
        size_t keyStart, keyLength;
        Listed* row;
    };
    size_t characters = 0;
    for (const auto& row : rows) characters += row.name.size();
    std::string keys;
    keys.reserve(characters * 4);  // about what the system's keys take
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (auto& row : rows) {
        const size_t start = keys.size();
        AppendNameKey(row.name, collation, keys);
        keyed.push_back({start, keys.size() - start, &row});
    }
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const std::string_view keyA(keys.data() + a.keyStart, a.keyLength);
        const std::string_view keyB(keys.data() + b.keyStart, b.keyLength);
        if (const int order = CompareKeys(keyA, keyB)) return order < 0;
        return TieLess(a.row->name, b.row->name, collation);
    });
    std::vector<Listed> sorted;
    sorted.reserve(rows.size());
    for (auto& entry : keyed) sorted.push_back(std::move(*entry.row));
    rows = std::move(sorted);
}

constexpr ULONGLONG kKeptLifetimeMs = 2000;

}  // namespace

bool ComesBefore(const std::wstring& a, const std::wstring& b) { return NameLess(a, b, SystemCollation()); }

bool KeptScan::StillGood(const std::wstring& folder, EntryKind kind, ULONGLONG now, uint64_t watchVersion) const {
    return kind == this->kind && now - scannedAt < kKeptLifetimeMs && this->watchVersion != 0 &&
           watchVersion == this->watchVersion &&
           CompareStringOrdinal(this->folder.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The kept entries, when they answer this request; either way they are dropped.
bool FolderScanner::TakeKept(const std::wstring& folder, EntryKind kind, std::vector<Listed>& listed) {
    KeptScan kept = std::exchange(kept_, {});
    if (!kept.StillGood(folder, kind, GetTickCount64(), watch_.Version(folder))) return false;
    const DWORD attributes = GetFileAttributesW(ForFileApi(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    listed = std::move(kept.listed);
    return true;
}

// The entries come from the last scan, or from the disk: then what each
// list shows is told apart as they are read, and the other list's kept.
Result FolderScanner::Scan(const std::wstring& folder, EntryKind kind, std::vector<Listed>& listed) {
    listed.clear();
    if (!TakeKept(folder, kind, listed)) {
        // What is kept is made before reading: the watch's version, so that a
        // change meanwhile shows, and the folder's name, as a string made
        // among the names read, however short, keeps their pages from going
        // back to the system once they are freed (3 MB for 100,000 names).
        const bool folders = kind == EntryKind::Folders;
        KeptScan kept{folder, folders ? EntryKind::Files : EntryKind::Folders, {}, 0, watch_.Version(folder)};
        FolderLister lister;
        if (Result read = ReadEntries(folder, [&](FolderEntry entry) { lister.Add(std::move(entry)); }); !read.ok) return read;
        ListedEntries both = lister.Done();
        listed = std::move(folders ? both.folders : both.files);
        kept.listed = std::move(folders ? both.files : both.folders);
        kept.scannedAt = GetTickCount64();
        kept_ = std::move(kept);
    }
    SortInListOrder(listed);
    return Result::Success();
}
