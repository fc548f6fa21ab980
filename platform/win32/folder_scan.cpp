#include "folder_scan.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "hidden_entries.h"
#include "name_order.h"
#include "owned.h"
#include "path_parts.h"
#include "paths.h"
#include "remembered_keys.h"
#include "system_collation.h"
#include "system_text.h"

namespace {

// Listed as its kind without a second look: not hidden, and no system file.
bool IsListedAs(const WIN32_FIND_DATAW& entry, EntryKind kind) {
    const DWORD attributes = entry.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) return false;
    if (kind == EntryKind::Files)
        return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(entry);
}

bool IsHiddenEntry(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !IsDotEntry(entry);
}

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

// Sorts names in the lists' order. Each name's key is made once, and all
// the keys lie in one block of memory: freed after the sort, a block that
// large goes straight back to the system, whatever else the heap holds,
// where 100,000 small ones could leave pages behind among the names kept.
void SortInListOrder(std::vector<std::wstring>& names) {
    const RememberedKeys collation(SystemCollation());
    struct Keyed {
        size_t keyStart, keyLength;
        std::wstring* name;
    };
    size_t characters = 0;
    for (const auto& name : names) characters += name.size();
    std::string keys;
    keys.reserve(characters * 4);  // about what the system's keys take
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (auto& name : names) {
        const size_t start = keys.size();
        AppendNameKey(name, collation, keys);
        keyed.push_back({start, keys.size() - start, &name});
    }
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const std::string_view keyA(keys.data() + a.keyStart, a.keyLength);
        const std::string_view keyB(keys.data() + b.keyStart, b.keyLength);
        if (const int order = CompareKeys(keyA, keyB)) return order < 0;
        return TieLess(*a.name, *b.name, collation);
    });
    std::vector<std::wstring> sorted;
    sorted.reserve(names.size());
    for (auto& entry : keyed) sorted.push_back(std::move(*entry.name));
    names = std::move(sorted);
}

constexpr ULONGLONG kKeptLifetimeMs = 2000;

// A slow stick or a folder of 100,000 files takes a while to read: once that
// is more than a moment, the pointer shows it, until the scan is done.
class WaitCursorWhenSlow {
public:
    WaitCursorWhenSlow() = default;
    WaitCursorWhenSlow(const WaitCursorWhenSlow&) = delete;
    WaitCursorWhenSlow& operator=(const WaitCursorWhenSlow&) = delete;
    ~WaitCursorWhenSlow() {
        if (shown_) SetCursor(previous_);
    }
    void Check() {
        if (shown_ || GetTickCount64() - start_ < 200) return;
        previous_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        shown_ = true;
    }

private:
    ULONGLONG start_ = GetTickCount64();
    HCURSOR previous_ = nullptr;
    bool shown_ = false;
};

// Of the hidden entries found, those the lists show go with the names of
// their kind; the programs and shortcuts that show them are among the
// visible files, the names of one kind or the other.
void AddShownHidden(const std::vector<FolderEntry>& hidden, EntryKind kind, std::vector<std::wstring>& names,
                    std::vector<std::wstring>& others, std::vector<std::wstring>& hiddenNames,
                    std::vector<std::wstring>& hiddenOthers) {
    std::vector<FolderEntry> beside;
    for (const auto& file : kind == EntryKind::Files ? names : others)
        if (!ImitatedName(file).empty()) beside.push_back({file, false, false, true});
    for (const FolderEntry& entry : hidden) {
        if (!ShowsHidden(entry, beside)) continue;
        const bool ofKind = entry.folder == (kind == EntryKind::Folders);
        (ofKind ? names : others).push_back(entry.name);
        (ofKind ? hiddenNames : hiddenOthers).push_back(entry.name);
    }
}

}  // namespace

bool ComesBefore(const std::wstring& a, const std::wstring& b) { return NameLess(a, b, SystemCollation()); }

bool FolderScanner::TakeKept(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names,
                             std::vector<std::wstring>& hidden) {
    Kept kept = std::move(kept_);
    kept_ = {};
    const bool fresh = kept.kind == kind && GetTickCount64() - kept.scannedAt < kKeptLifetimeMs &&
                       kept.watchVersion != 0 && watch_.Version(folder) == kept.watchVersion &&
                       CompareStringOrdinal(kept.folder.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL;
    if (!fresh) return false;
    const DWORD attributes = GetFileAttributesW(ForFileApi(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    names = std::move(kept.names);
    hidden = std::move(kept.hidden);
    return true;
}

Result FolderScanner::Scan(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names,
                           std::vector<std::wstring>* hiddenNames) {
    names.clear();
    std::vector<std::wstring> hiddenShown;
    if (hiddenNames) hiddenNames->clear();
    if (folder.empty()) return Result::Failure(SystemReason(ERROR_PATH_NOT_FOUND));
    if (TakeKept(folder, kind, names, hiddenShown)) {
        if (hiddenNames) *hiddenNames = std::move(hiddenShown);
        SortInListOrder(names);
        return Result::Success();
    }

    const uint64_t watchVersion = watch_.Version(folder);  // before reading: a change meanwhile shows
    std::wstring pattern = ForFileApi(folder);
    if (pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';

    WIN32_FIND_DATAW entry;
    const OwnedFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                          FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        // Only a drive root can be empty of even "." and ".."; anywhere else
        // "not found" means the folder itself has gone.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND && IsRootFolder(folder)) return Result::Success();
        return Result::Failure(SystemReason(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error));
    }
    const EntryKind otherKind = kind == EntryKind::Files ? EntryKind::Folders : EntryKind::Files;
    std::vector<std::wstring> others;
    std::vector<FolderEntry> hidden;
    WaitCursorWhenSlow waitCursor;
    for (size_t seen = 1;; ++seen) {
        if (IsListedAs(entry, kind)) names.emplace_back(entry.cFileName);
        else if (IsListedAs(entry, otherKind)) others.emplace_back(entry.cFileName);
        else if (IsHiddenEntry(entry)) hidden.push_back(EntryFrom(entry));
        if (seen % 1024 == 0) waitCursor.Check();
        if (!FindNextFileW(find.Get(), &entry)) break;
    }
    if (const DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) {
        names.clear();
        return Result::Failure(SystemReason(error));
    }
    waitCursor.Check();
    std::vector<std::wstring> hiddenOthers;
    if (!hidden.empty()) AddShownHidden(hidden, kind, names, others, hiddenShown, hiddenOthers);
    SortInListOrder(names);
    if (hiddenNames) *hiddenNames = std::move(hiddenShown);
    kept_ = {folder, otherKind, std::move(others), std::move(hiddenOthers), GetTickCount64(), watchVersion};
    return Result::Success();
}
