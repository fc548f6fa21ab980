#include "folder_watch.h"

#include <dbt.h>

#include "owned.h"
#include "paths.h"

// One folder, watched with ReadDirectoryChangesW. What changed is not read:
// any change means the folder is read again, so a small buffer will do, and
// an overflowing burst still signals.
struct FolderWatch::Watch {
    std::wstring folder;
    Changed feeds;  // the lists that show this folder
    OwnedFile directory;
    OwnedFile event;
    OVERLAPPED overlapped{};
    alignas(DWORD) BYTE buffer[1024];
    bool pending = false;  // a request is out: the buffer is in use
    HDEVNOTIFY notification = nullptr;

    Watch(HWND window, const std::wstring& folder, Changed feeds)
        : folder(folder),
          feeds(feeds),
          directory(CreateFileW(ForFileApi(folder).c_str(), FILE_LIST_DIRECTORY,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)),
          event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (!directory || !event) return;
        overlapped.hEvent = event.Get();
        DEV_BROADCAST_HANDLE filter{};
        filter.dbch_size = sizeof filter;
        filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
        filter.dbch_handle = directory.Get();
        notification = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }

    ~Watch() {
        if (pending) {  // the buffer must outlive the request
            CancelIo(directory.Get());
            DWORD bytes;
            GetOverlappedResult(directory.Get(), &overlapped, &bytes, TRUE);
        }
        if (notification) UnregisterDeviceNotification(notification);
    }

    // Asks for the next change; false once the folder can no longer be watched.
    bool Arm() {
        if (!directory || !event) return false;
        ResetEvent(event.Get());
        constexpr DWORD kWhat = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES;
        pending = ReadDirectoryChangesW(directory.Get(), buffer, sizeof buffer, FALSE, kWhat, nullptr, &overlapped,
                                        nullptr);
        return pending;
    }
};

FolderWatch::FolderWatch(HWND window) : window_(window) {}

FolderWatch::~FolderWatch() { Close(); }

void FolderWatch::Follow(const std::wstring& folderListFolder, const std::wstring& fileListFolder) {
    if (folderListFolder == folderListFolder_ && fileListFolder == fileListFolder_) return;
    folderListFolder_ = folderListFolder;
    fileListFolder_ = fileListFolder;
    if (!paused_) Open();
}

// Watches the lists' folders. A watch already on one of them is kept:
// closing it could lose a change it has seen and not yet told.
void FolderWatch::Open() {
    struct Wanted {
        const std::wstring& folder;
        Changed feeds;
    };
    Wanted wanted[2] = {{folderListFolder_, {true, false}}, {fileListFolder_, {false, true}}};
    int wantedCount = 2;
    if (folderListFolder_ == fileListFolder_) {  // one watch tells both lists
        wanted[0].feeds.files = true;
        wantedCount = 1;
    }

    std::unique_ptr<Watch> open[2];
    DWORD openCount = 0;
    for (int w = 0; w < wantedCount; ++w) {
        if (wanted[w].folder.empty()) continue;
        std::unique_ptr<Watch> watch;
        for (DWORD i = 0; i < count_ && !watch; ++i)
            if (watches_[i] && watches_[i]->folder == wanted[w].folder) watch = std::move(watches_[i]);
        if (!watch) {
            watch = std::make_unique<Watch>(window_, wanted[w].folder, wanted[w].feeds);
            if (!watch->Arm()) continue;  // gone already: nothing to watch
        }
        watch->feeds = wanted[w].feeds;
        open[openCount++] = std::move(watch);
    }
    Close();  // the watches no longer wanted
    for (DWORD i = 0; i < openCount; ++i) {
        events_[i] = open[i]->event.Get();
        watches_[i] = std::move(open[i]);
    }
    count_ = openCount;
}

void FolderWatch::Close() {
    for (auto& watch : watches_) watch.reset();
    count_ = 0;
}

FolderWatch::Changed FolderWatch::Take(DWORD index) {
    if (index >= count_) return {};
    Watch& watch = *watches_[index];
    const Changed changed = watch.feeds;
    DWORD bytes;
    const bool ok = GetOverlappedResult(watch.directory.Get(), &watch.overlapped, &bytes, FALSE);
    watch.pending = false;
    if (!ok || !watch.Arm()) {  // the folder has gone: stop watching it
        watches_[index].reset();
        for (DWORD i = index; i + 1 < count_; ++i) {
            watches_[i] = std::move(watches_[i + 1]);
            events_[i] = events_[i + 1];
        }
        --count_;
    }
    return changed;
}

void FolderWatch::Pause() {
    paused_ = true;
    Close();
}

void FolderWatch::Resume() {
    paused_ = false;
    Open();
}
