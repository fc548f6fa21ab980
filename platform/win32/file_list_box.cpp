#include "file_list_box.h"

#include "paths.h"

Result FileListBox::SetPath(const std::wstring& folder) {
    std::wstring full = FullFolderPath(folder);
    std::vector<Listed> files;
    if (Result scan = scanner_.Scan(full, EntryKind::Files, files); !scan.ok) return scan;
    const bool again = full == path_;
    path_ = std::move(full);  // not a copy made after the names read: see FolderScanner::Scan
    box_.Fill(files, -1, again);
    return Result::Success();
}

bool FileListBox::Select(const std::wstring& name) {
    const int row = box_.FindExactly(name);
    box_.Select(row);
    return row >= 0;
}

bool FileListBox::SelectFirstMatching(const std::wstring& text) { return box_.SelectFirstMatching(text); }

// Each name is found, and placed, by the order the scan sorted the list in.
void FileListBox::Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) {
    box_.BeginChanges();
    for (const auto& name : drop) box_.RemoveInOrder(name, 0, ComesBefore);
    for (const auto& file : add) box_.InsertInOrder(file, 0, ComesBefore);
    box_.EndChanges();
}

std::wstring FileListBox::FileName() const {
    const int row = box_.Selected();
    return row < 0 ? std::wstring() : box_.Text(row);
}

void FileListBox::Draw(const DRAWITEMSTRUCT& item, SystemIcons& icons) const {
    if (item.itemID == static_cast<UINT>(-1)) return;
    box_.DrawEntry(item, icons.List(), icons.ForFileName(box_.Text(static_cast<int>(item.itemID))), 0);
}
