#include "platform/win32/folder_scan.h"

#include <windows.h>

#include <algorithm>

#include "platform/name_order.h"
#include "platform/win32/paths.h"
#include "platform/win32/system_text.h"

namespace {

bool Wanted(const WIN32_FIND_DATAW& entry, EntryKind kind) {
    const DWORD attributes = entry.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_HIDDEN) return false;
    if (kind == EntryKind::Files)
        return !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const wchar_t* name = entry.cFileName;
    return !(name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)));
}

struct FindHandle {
    HANDLE handle;
    ~FindHandle() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};

// Sorts names in place, folding each name's case once rather than on every
// comparison: this is what keeps a folder of 100,000 files quick.
void SortLikeExplorer(std::vector<std::wstring>& names) {
    struct Keyed {
        std::wstring key;
        std::wstring* name;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (auto& name : names) {
        std::wstring key = name;
        bool ascii = true;
        for (wchar_t& c : key) {
            if (c >= L'A' && c <= L'Z') c += L'a' - L'A';
            ascii = ascii && c < 0x80;
        }
        if (!ascii) CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
        keyed.push_back({std::move(key), &name});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.key != b.key) return NaturalLess(a.key, b.key);
        return *a.name < *b.name;
    });
    std::vector<std::wstring> sorted;
    sorted.reserve(names.size());
    for (auto& entry : keyed) sorted.push_back(std::move(*entry.name));
    names = std::move(sorted);
}

// One pass over a folder finds its files and its subfolders alike, and the
// lists usually want both within moments: a folder click lists the files,
// a double-click then opens the same folder; start-up opens a folder and
// lists its files. So each scan keeps what it was not asked for, for the
// next request of that folder, if it comes soon.
struct Leftover {
    std::wstring folder;
    EntryKind kind = EntryKind::Files;
    std::vector<std::wstring> names;
    ULONGLONG scannedAt = 0;
};
Leftover leftover;
constexpr ULONGLONG kLeftoverLifetimeMs = 2000;

bool TakeLeftover(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names) {
    const bool fresh = leftover.kind == kind && GetTickCount64() - leftover.scannedAt < kLeftoverLifetimeMs &&
                       CompareStringOrdinal(leftover.folder.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL;
    if (fresh) names = std::move(leftover.names);
    leftover = {};
    return fresh;
}

}  // namespace

Result ScanFolder(const std::wstring& folder, EntryKind kind, std::vector<std::wstring>& names) {
    names.clear();
    if (folder.empty()) return Result::Failure(SystemReason(ERROR_PATH_NOT_FOUND));
    if (TakeLeftover(folder, kind, names)) {
        SortLikeExplorer(names);
        return Result::Success();
    }

    std::wstring pattern = ForFileApi(folder);
    if (pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';

    WIN32_FIND_DATAW entry;
    FindHandle find{FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH)};
    if (find.handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return Result::Success();  // an empty drive root
        return Result::Failure(SystemReason(error));
    }
    const EntryKind otherKind = kind == EntryKind::Files ? EntryKind::Folders : EntryKind::Files;
    std::vector<std::wstring> others;
    do {
        if (Wanted(entry, kind)) names.emplace_back(entry.cFileName);
        else if (Wanted(entry, otherKind)) others.emplace_back(entry.cFileName);
    } while (FindNextFileW(find.handle, &entry));
    if (const DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) {
        names.clear();
        return Result::Failure(SystemReason(error));
    }
    SortLikeExplorer(names);
    leftover = {folder, otherKind, std::move(others), GetTickCount64()};
    return Result::Success();
}
