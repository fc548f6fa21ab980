#pragma once
#include <string>
#include <vector>

// One name that changed in a watched folder, as the system reported it.
struct NameChange {
    enum class Kind { Added, Removed, Modified, RenamedFrom, RenamedTo };
    Kind kind;
    std::wstring name;
};

// What a watched folder reported: the names that changed, in the order they
// changed; or that changes were lost (too many at once); or that the watch
// failed and watches no more.
struct FolderReport {
    enum class Kind { Names, TooMany, Failure };
    Kind kind = Kind::Names;
    std::wstring folder;
    std::vector<NameChange> names;
};

// Watches the folders the lists show. Folders are named as the lists name
// them (FolderList::Path, FileList::Path); reports name them the same way.
// Win32 implements it; tests fake it.
class FolderWatch {
public:
    virtual ~FolderWatch() = default;

    // Watches folder, unless a watch on it is running already; nothing
    // happens for a folder that cannot be watched.
    virtual void Start(const std::wstring& folder) = 0;

    // Ends the watch on folder, if any.
    virtual void Stop(const std::wstring& folder) = 0;

    // The watch on folder reported a failure: it lets go of the folder at
    // once (a folder held open cannot be deleted with its parent), and stays
    // failed until it is stopped or started anew.
    virtual void LetGo(const std::wstring& folder) = 0;

    // Ends every watch but those on the folders given.
    virtual void KeepOnly(const std::vector<std::wstring>& folders) = 0;

    // Windows asks to remove the drive: every watch ends, so that no folder
    // of the drive is held open, but Windows is still asked to say whether
    // the removal happened or failed.
    virtual void LetGoOfTheDrive() = 0;

    // The removal happened or failed: no longer asked.
    virtual void ForgetTheDrive() = 0;
};
