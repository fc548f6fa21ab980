#include "folder_entries.h"

#include "decoys.h"
#include "owned.h"
#include "path_parts.h"
#include "paths.h"
#include "system_text.h"

namespace {

// "." and "..", which every folder but a root holds.
bool IsDotEntry(const WIN32_FIND_DATAW& found) {
    const wchar_t* name = found.cFileName;
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Once reading takes more than a moment, the pointer shows the wait.
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

}  // namespace

FolderEntry EntryFrom(std::wstring name, DWORD attributes) {
    return {std::move(name), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
            (attributes & FILE_ATTRIBUTE_SYSTEM) != 0};
}

Result ReadEntries(const std::wstring& folder, const std::function<void(FolderEntry)>& take) {
    if (folder.empty()) return Result::Failure(SystemReason(ERROR_PATH_NOT_FOUND));
    WIN32_FIND_DATAW found;
    const OwnedFind find(FindFirstFileExW(ForFileApi(JoinPath(folder, L"*")).c_str(), FindExInfoBasic, &found,
                                          FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        // Only a drive root can be empty of even "." and ".."; anywhere else
        // "not found" means the folder itself has gone.
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND && IsRootFolder(folder)) return Result::Success();
        return Result::Failure(SystemReason(error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error));
    }
    WaitCursorWhenSlow waitCursor;
    for (size_t seen = 1;; ++seen) {
        if (!IsDotEntry(found)) take(EntryFrom(found.cFileName, found.dwFileAttributes));
        if (seen % 1024 == 0) waitCursor.Check();
        if (!FindNextFileW(find.Get(), &found)) break;
    }
    if (const DWORD error = GetLastError(); error != ERROR_NO_MORE_FILES) return Result::Failure(SystemReason(error));
    waitCursor.Check();
    return Result::Success();
}

// Only a hidden entry depends on what stands beside it, and only on the
// few names a decoy of it could have: each is asked for by name rather than
// the folder read.
Listing ListingOnDisk(const std::wstring& folder, const FolderEntry& entry) {
    std::vector<FolderEntry> beside;
    for (std::wstring& name : entry.hidden ? DecoyNames(entry) : std::vector<std::wstring>()) {
        const DWORD attributes = GetFileAttributesW(ForFileApi(JoinPath(folder, name)).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) beside.push_back(EntryFrom(std::move(name), attributes));
    }
    return ListingOf(entry, beside);
}

bool IsHiddenOnDisk(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
}
