#include "folder_watch_win32.h"

#include <dbt.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "owned.h"
#include "paths.h"

namespace {

// Room for some 600 changed names between two turns of the message loop.
// More is an overflow: the folder is read again whole. 64 KB is also the
// most a watch on a network share accepts.
constexpr DWORD kBufferBytes = 64 * 1024;

// How long a watch that ends waits for its request to be cancelled.
constexpr DWORD kCancelWaitMs = 1000;

NameChange::Kind KindOf(DWORD action) {
    switch (action) {
        case FILE_ACTION_ADDED: return NameChange::Kind::Added;
        case FILE_ACTION_REMOVED: return NameChange::Kind::Removed;
        case FILE_ACTION_RENAMED_OLD_NAME: return NameChange::Kind::RenamedFrom;
        case FILE_ACTION_RENAMED_NEW_NAME: return NameChange::Kind::RenamedTo;
    }
    return NameChange::Kind::Modified;
}

// The records of one completion, in order; false when they do not add up.
// Windows aligns each record to four bytes, Wine does not: they are read
// by copying, wherever they start.
bool ReadRecords(const BYTE* buffer, DWORD bytes, std::vector<NameChange>& names) {
    constexpr DWORD kHeader = offsetof(FILE_NOTIFY_INFORMATION, FileName);
    for (DWORD at = 0;;) {
        FILE_NOTIFY_INFORMATION record;
        if (bytes - at < kHeader) return false;
        std::memcpy(&record, buffer + at, kHeader);
        const DWORD length = record.FileNameLength;
        if (length % sizeof(wchar_t) || bytes - at - kHeader < length) return false;
        std::wstring name(length / sizeof(wchar_t), L'\0');
        std::memcpy(name.data(), buffer + at + kHeader, length);
        names.push_back({KindOf(record.Action), std::move(name)});
        if (record.NextEntryOffset == 0) return true;
        if (bytes - at <= record.NextEntryOffset) return false;
        at += record.NextEntryOffset;
    }
}

}  // namespace

// One folder, watched for names added, removed and renamed, and for
// attributes changed (a file hidden or shown).
struct Win32FolderWatch::Watch {
    std::wstring folder;
    OwnedFile directory;
    OwnedFile event;
    // What the system writes to while a request is out.
    struct Request {
        OVERLAPPED overlapped{};
        DWORD buffer[kBufferBytes / sizeof(DWORD)];
    };
    std::unique_ptr<Request> request{new Request};  // the buffer left as it is: pages touched only when written
    bool pending = false;  // a request is out
    bool failed = false;
    HDEVNOTIFY registration = nullptr;
    uint64_t version;

    Watch(HWND window, const std::wstring& folder, uint64_t version)
        : folder(folder),
          directory(CreateFileW(ForFileApi(folder).c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          event(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          version(version) {
        if (!directory || !event) return;
        request->overlapped.hEvent = event.Get();
        DEV_BROADCAST_HANDLE filter{};
        filter.dbch_size = sizeof filter;
        filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
        filter.dbch_handle = directory.Get();
        registration = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }

    ~Watch() {
        // The request must outlive the system's use of it. A cancel that
        // does not complete in time leaves it to the system, a few pages
        // lost, rather than the window hung or the memory freed under it.
        if (pending) {
            CancelIo(directory.Get());
            if (WaitForSingleObject(event.Get(), kCancelWaitMs) != WAIT_OBJECT_0) static_cast<void>(request.release());
        }
        if (registration) UnregisterDeviceNotification(registration);
    }

    // Asks for the next changes; false once the folder can no longer be watched.
    bool Arm() {
        if (!directory || !event) return false;
        ResetEvent(event.Get());
        constexpr DWORD kWhat = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;
        pending = ReadDirectoryChangesW(directory.Get(), request->buffer, kBufferBytes, FALSE, kWhat, nullptr,
                                        &request->overlapped, nullptr);
        return pending;
    }
};

Win32FolderWatch::Win32FolderWatch(HWND window) : window_(window) {}

Win32FolderWatch::~Win32FolderWatch() {
    watches_.clear();
    ForgetTheDrive();
}

void Win32FolderWatch::Start(const std::wstring& folder) {
    const std::wstring full = FullFolderPath(folder);
    if (const Watch* watch = Find(full); watch && !watch->failed) return;
    Drop(full);
    auto watch = std::make_unique<Watch>(window_, full, ++lastVersion_);
    if (watch->Arm()) watches_.push_back(std::move(watch));  // else not there, or not to be read
    ListEvents();
}

void Win32FolderWatch::Stop(const std::wstring& folder) {
    Drop(FullFolderPath(folder));
    ListEvents();
}

// Its request has completed, so the folder can be closed at once; the watch
// stays, marked failed, so that Version says its folder is not watched.
void Win32FolderWatch::LetGo(const std::wstring& folder) {
    Watch* watch = Find(FullFolderPath(folder));
    if (!watch || !watch->failed || watch->pending) return;
    watch->directory.Reset();
    if (watch->registration) UnregisterDeviceNotification(std::exchange(watch->registration, nullptr));
}

void Win32FolderWatch::KeepOnly(const std::vector<std::wstring>& folders) {
    std::vector<std::wstring> kept;
    kept.reserve(folders.size());
    for (const auto& folder : folders) kept.push_back(FullFolderPath(folder));
    std::erase_if(watches_, [&](const auto& watch) {
        return std::find(kept.begin(), kept.end(), watch->folder) == kept.end();
    });
    ListEvents();
}

// Each watch closes its folder; its registration stays, to hear whether the
// removal happens (DBT_DEVICEREMOVECOMPLETE) or fails (..QUERYREMOVEFAILED).
void Win32FolderWatch::LetGoOfTheDrive() {
    for (auto& watch : watches_) {
        if (watch->registration) keptRegistrations_.push_back(std::exchange(watch->registration, nullptr));
    }
    watches_.clear();
    ListEvents();
}

void Win32FolderWatch::ForgetTheDrive() {
    for (HDEVNOTIFY registration : keptRegistrations_) UnregisterDeviceNotification(registration);
    keptRegistrations_.clear();
}

// A completion: the names that changed; or, with no names (an overflow on a
// local drive) or ERROR_NOTIFY_ENUM_DIR (on a share, and under Wine), too
// many changes to tell; any other failure ends the watch.
FolderReport Win32FolderWatch::Take(DWORD index) {
    Watch& watch = *running_.at(index);
    FolderReport report{FolderReport::Kind::Names, watch.folder, {}};
    DWORD bytes = 0;
    const bool ok = GetOverlappedResult(watch.directory.Get(), &watch.request->overlapped, &bytes, FALSE);
    const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    watch.pending = false;
    watch.version = ++lastVersion_;
    if (ok && bytes > 0 && bytes <= kBufferBytes &&
        ReadRecords(reinterpret_cast<const BYTE*>(watch.request->buffer), bytes, report.names)) {
        // the names, as they came
    } else if (ok || error == ERROR_NOTIFY_ENUM_DIR) {
        report.kind = FolderReport::Kind::TooMany;
        report.names.clear();
    } else {
        report.kind = FolderReport::Kind::Failure;
    }
    if (report.kind != FolderReport::Kind::Failure && !watch.Arm()) report.kind = FolderReport::Kind::Failure;
    if (report.kind == FolderReport::Kind::Failure) {
        watch.failed = true;
        ListEvents();
    }
    return report;
}

uint64_t Win32FolderWatch::Version(const std::wstring& folder) const {
    const Watch* watch = Find(FullFolderPath(folder));
    if (!watch || watch->failed || WaitForSingleObject(watch->event.Get(), 0) != WAIT_TIMEOUT) return 0;
    return watch->version;
}

Win32FolderWatch::Watch* Win32FolderWatch::Find(const std::wstring& folder) const {
    for (const auto& watch : watches_)
        if (watch->folder == folder) return watch.get();
    return nullptr;
}

void Win32FolderWatch::Drop(const std::wstring& folder) {
    std::erase_if(watches_, [&](const auto& watch) { return watch->folder == folder; });
}

void Win32FolderWatch::ListEvents() {
    events_.clear();
    running_.clear();
    for (const auto& watch : watches_) {
        if (watch->failed) continue;
        events_.push_back(watch->event.Get());
        running_.push_back(watch.get());
    }
}
