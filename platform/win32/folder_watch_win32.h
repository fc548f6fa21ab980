#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "folder_watch.h"

// The folder watch on ReadDirectoryChangesW. The window's message loop waits
// on Events() beside its messages, so an idle window costs no processor time
// however big the folder, and hands each completion to Take. Folders are
// named in their full form (FullFolderPath), as the lists name them.
//
// A watch holds its folder open, which would keep Windows from removing a
// USB drive safely. So each watch is registered for the drive's device
// notifications, sent to the window. When Windows asks to remove the drive,
// every watch lets go of its folder but the registrations stay, so that
// Windows still says whether the removal happened or failed; they go then.
class Win32FolderWatch final : public FolderWatch {
public:
    explicit Win32FolderWatch(HWND window);
    ~Win32FolderWatch() override;
    Win32FolderWatch(const Win32FolderWatch&) = delete;
    Win32FolderWatch& operator=(const Win32FolderWatch&) = delete;

    void Start(const std::wstring& folder) override;
    void Stop(const std::wstring& folder) override;
    void LetGo(const std::wstring& folder) override;
    void KeepOnly(const std::vector<std::wstring>& folders) override;
    void LetGoOfTheDrive() override;
    void ForgetTheDrive() override;

    // What the message loop waits on: one event for each running watch.
    DWORD Count() const { return static_cast<DWORD>(events_.size()); }
    const HANDLE* Events() const { return events_.data(); }

    // After Events()[index] was set: what its folder reported. The watch
    // goes on; one that failed is no longer waited on, until it is stopped
    // or started anew.
    FolderReport Take(DWORD index);

    // A number that changes whenever folder reports a change; 0 while folder
    // is not watched, or has a report waiting. What was read of a folder
    // stays true as long as its number stays the same.
    uint64_t Version(const std::wstring& folder) const;

private:
    struct Watch;
    Watch* Find(const std::wstring& folder) const;
    void Drop(const std::wstring& folder);
    void ListEvents();

    HWND window_;
    std::vector<std::unique_ptr<Watch>> watches_;
    std::vector<HANDLE> events_;   // of the watches still running, in order
    std::vector<Watch*> running_;  // the watch of each event
    std::vector<HDEVNOTIFY> keptRegistrations_;
    uint64_t lastVersion_ = 0;
};
