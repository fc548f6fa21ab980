#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "lists.h"
#include "folder_scan.h"
#include "list_box.h"
#include "system_icons.h"

// The file list on a Win32 list box: the names live only in the list box,
// so a folder of 100,000 files is held once.
class FileListBox : public FileList {
public:
    FileListBox(HWND parent, int id, FolderScanner& scanner) : box_(parent, id), scanner_(scanner) {}

    std::wstring Path() const override { return path_; }
    Result SetPath(const std::wstring& folder) override;
    std::wstring FileName() const override;
    bool Select(const std::wstring& name) override;
    bool SelectFirstMatching(const std::wstring& text) override;
    void Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) override;

    ListBox& Box() { return box_; }
    const ListBox& Box() const { return box_; }
    void Draw(const DRAWITEMSTRUCT& item, SystemIcons& icons) const;

private:
    ListBox box_;
    FolderScanner& scanner_;
    std::wstring path_;
};
