#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "lists.h"
#include "folder_scan.h"
#include "list_box.h"
#include "system_icons.h"

// The folder list on a Win32 list box. Rows run from the drive root down
// through the ancestors to the open folder, then its subfolders; ListIndex
// counts from the open folder (-1), so row = ListIndex + open folder's row + 1.
class FolderListBox : public FolderList {
public:
    FolderListBox(HWND parent, int id, FolderScanner& scanner);

    std::wstring Path() const override { return path_; }
    Result SetPath(const std::wstring& folder) override;
    int ListIndex() const override;
    std::wstring List(int index) const override;
    bool Highlight(const std::wstring& folder) override;
    bool HighlightFirstMatching(const std::wstring& text) override;
    void Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) override;

    ListBox& Box() { return box_; }
    const ListBox& Box() const { return box_; }
    int Indent(int row) const;  // how far in row's entry is drawn
    void Draw(const DRAWITEMSTRUCT& item, SystemIcons& icons) const;

private:
    std::wstring PathOf(int row) const;
    int RowOf(const std::wstring& folder, bool ignoreCase) const;

    ListBox box_;
    FolderScanner& scanner_;
    std::wstring path_;
    std::vector<std::wstring> folders_;  // each row's folder, by the name it shows
    int openRow_ = 0;
};
