#pragma once
#include <windows.h>

#include <memory>
#include <string>

// Watches the folders the two lists show, so that the window can read them
// again when files or folders are added, removed or renamed there. The
// message loop waits on Events() beside the window's messages: an idle
// window costs no processor time, however big the folder.
//
// A watch holds its folder open, which would keep Windows from removing a
// USB drive safely. So each watch is registered for the drive's device
// notifications, sent to window: on DBT_DEVICEQUERYREMOVE the window calls
// Pause, which closes every watch, and Resume if the removal then failed.
class FolderWatch {
public:
    struct Changed {
        bool folders = false, files = false;
    };

    explicit FolderWatch(HWND window);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches the folder list's open folder for subfolders and the file
    // list's folder for files (often both are one folder). Cheap when they
    // are the folders watched already.
    void Follow(const std::wstring& folderListFolder, const std::wstring& fileListFolder);

    // What the message loop waits on: Count() event handles.
    DWORD Count() const { return count_; }
    const HANDLE* Events() const { return events_; }

    // After Events()[index] was set: which lists' folders changed. The watch
    // goes on; one whose folder has gone ends.
    Changed Take(DWORD index);

    void Pause();
    void Resume();

private:
    struct Watch;
    void Open();
    void Close();

    HWND window_;
    std::wstring folderListFolder_, fileListFolder_;
    bool paused_ = false;
    std::unique_ptr<Watch> watches_[2];
    HANDLE events_[2] = {};
    DWORD count_ = 0;
};
