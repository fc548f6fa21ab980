#include "folder_list_box.h"

#include <algorithm>

#include "folder_entries.h"
#include "folder_scan.h"
#include "path_parts.h"
#include "paths.h"

namespace {

std::wstring CurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(size, L'\0');
    folder.resize(GetCurrentDirectoryW(size, folder.data()));
    return FullFolderPath(folder);
}

// The open folder and its ancestors, from the root down: E:\, E:\A, E:\A\B.
std::vector<std::wstring> FolderAndAncestors(const std::wstring& folder) {
    std::vector<std::wstring> chain;
    for (std::wstring up = folder; !up.empty(); up = ParentFolder(up)) chain.push_back(up);
    return {chain.rbegin(), chain.rend()};
}

}  // namespace

// Before the program opens a folder, Path is the process's current folder;
// nothing is listed until then, as the window is not yet shown.
FolderListBox::FolderListBox(HWND parent, int id, FolderScanner& scanner)
    : box_(parent, id), scanner_(scanner), path_(CurrentFolder()) {}

// The root is drawn plain; the open folder and the other ancestors faded
// when hidden, as the subfolders the scan found so.
Result FolderListBox::SetPath(const std::wstring& folder) {
    const std::wstring full = FullFolderPath(folder);
    std::vector<Listed> subfolders;
    if (Result scan = scanner_.Scan(full, EntryKind::Folders, subfolders); !scan.ok) return scan;

    std::vector<std::wstring> rows = FolderAndAncestors(full);
    const int openRow = static_cast<int>(rows.size()) - 1;
    std::vector<Listed> shown;
    shown.reserve(rows.size() + subfolders.size());
    for (const auto& row : rows) shown.push_back({LastName(row), row != rows.front() && IsHiddenOnDisk(row)});
    rows.reserve(rows.size() + subfolders.size());
    for (auto& subfolder : subfolders) {
        rows.push_back(JoinPath(full, subfolder.name));
        shown.push_back(std::move(subfolder));
    }

    const bool again = full == path_;
    path_ = full;
    folders_ = std::move(rows);
    openRow_ = openRow;
    box_.Fill(shown, openRow_, again);
    return Result::Success();
}

// The subfolders follow the open folder's row, each found, and placed, by
// the order the scan sorted them in.
void FolderListBox::Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) {
    if (folders_.empty()) return;
    const int first = openRow_ + 1;
    box_.BeginChanges();
    for (const auto& name : drop)
        if (const int row = box_.RemoveInOrder(name, first, ComesBefore); row >= 0) folders_.erase(folders_.begin() + row);
    for (const auto& subfolder : add)
        if (const int row = box_.InsertInOrder(subfolder, first, ComesBefore); row >= 0)
            folders_.insert(folders_.begin() + row, JoinPath(path_, subfolder.name));
    box_.EndChanges();
}

int FolderListBox::ListIndex() const {
    const int row = box_.Selected();
    return row < 0 ? -1 : row - openRow_ - 1;
}

std::wstring FolderListBox::List(int index) const {
    if (folders_.empty()) return index == -1 ? path_ : std::wstring();
    const int row = index + openRow_ + 1;
    if (row < 0 || row >= static_cast<int>(folders_.size())) return {};
    return folders_[row];
}

// The entry named exactly so, else one that differs only in case (Windows
// reads names that way, but a drive may hold both).
bool FolderListBox::Highlight(const std::wstring& folder) {
    auto row = std::find(folders_.begin(), folders_.end(), folder);
    if (row == folders_.end()) {
        row = std::find_if(folders_.begin(), folders_.end(), [&](const std::wstring& entry) {
            return CompareStringOrdinal(entry.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL;
        });
    }
    if (row == folders_.end()) return false;
    box_.Select(static_cast<int>(row - folders_.begin()));
    return true;
}

bool FolderListBox::HighlightFirstMatching(const std::wstring& text) {
    return box_.SelectFirstMatching(text);
}

// Ancestors and the open folder are indented by depth; the subfolders one
// step further in.
int FolderListBox::Indent(int row) const {
    const int depth = row <= openRow_ ? row : openRow_ + 1;
    return depth * ListBox::IconSize() * 3 / 4;
}

// Ancestors and the open folder are drawn open, the subfolders closed.
void FolderListBox::Draw(const DRAWITEMSTRUCT& item, SystemIcons& icons) const {
    const int row = static_cast<int>(item.itemID);
    box_.DrawEntry(item, icons.List(), icons.ForFolder(row <= openRow_), Indent(row));
}
