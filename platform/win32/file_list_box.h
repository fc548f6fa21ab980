#pragma once
#include <windows.h>

#include <string>

#include "platform/lists.h"
#include "platform/win32/list_box.h"

// The file list on a Win32 list box: the names live only in the list box,
// so a folder of 100,000 files is held once.
class FileListBox : public FileList {
public:
    FileListBox(HWND parent, int id) : box_(parent, id) {}

    std::wstring Path() const override { return path_; }
    Result SetPath(const std::wstring& folder) override;
    std::wstring FileName() const override;

    ListBox& Box() { return box_; }
    void Draw(const DRAWITEMSTRUCT& item) const;

private:
    ListBox box_;
    std::wstring path_;
};
