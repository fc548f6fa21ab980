#include "hidden_entries.h"

#include "owned.h"
#include "path_parts.h"
#include "paths.h"

bool IsDotEntry(const WIN32_FIND_DATAW& found) {
    const wchar_t* name = found.cFileName;
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

FolderEntry EntryFrom(const WIN32_FIND_DATAW& found) {
    const DWORD attributes = found.dwFileAttributes;
    const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    return {found.cFileName, folder, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
            !folder && !(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))};
}

// A name can pair with a decoy only by one of a few extensions, so each is
// asked for by name rather than the folder read.
bool ShowsHiddenOnDisk(const std::wstring& folder, const FolderEntry& hidden) {
    std::vector<FolderEntry> beside;
    for (const std::wstring_view extension : DecoyExtensions()) {
        std::wstring name = hidden.name + std::wstring(extension);
        const DWORD attributes = GetFileAttributesW(ForFileApi(JoinPath(folder, name)).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES &&
            !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            beside.push_back({std::move(name), false, false, true});
    }
    return ShowsHidden(hidden, beside);
}

std::vector<FolderEntry> ReadEntries(const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found;
    const OwnedFind find(FindFirstFileExW(ForFileApi(JoinPath(folder, L"*")).c_str(), FindExInfoBasic, &found,
                                          FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return entries;
    do {
        if (!IsDotEntry(found)) entries.push_back(EntryFrom(found));
    } while (FindNextFileW(find.Get(), &found));
    return entries;
}

bool IsHiddenOnDisk(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
}
