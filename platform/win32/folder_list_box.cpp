#include "folder_list_box.h"

#include <algorithm>
#include <iterator>
#include <string_view>

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

    const std::vector<std::wstring> ancestors = FolderAndAncestors(full);
    std::vector<Listed> shown;
    shown.reserve(ancestors.size() + subfolders.size());
    for (const auto& ancestor : ancestors)
        shown.push_back({LastName(ancestor), ancestor != ancestors.front() && IsHiddenOnDisk(ancestor)});
    std::move(subfolders.begin(), subfolders.end(), std::back_inserter(shown));

    const bool again = full == path_;
    path_ = full;
    openRow_ = static_cast<int>(ancestors.size()) - 1;
    box_.Fill(shown, openRow_, again);
    // Each row keeps its folder by the name it shows: a path made for each
    // subfolder would cost a folder of 20,000 as many strings as it opens.
    folders_.clear();
    folders_.reserve(shown.size());
    for (auto& row : shown) folders_.push_back(std::move(row.name));
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
            folders_.insert(folders_.begin() + row, subfolder.name);
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
    return PathOf(row);
}

// The entry named exactly so, else one that differs only in case (Windows
// reads names that way, but a drive may hold both).
bool FolderListBox::Highlight(const std::wstring& folder) {
    int row = RowOf(folder, /*ignoreCase=*/false);
    if (row < 0) row = RowOf(folder, /*ignoreCase=*/true);
    if (row < 0) return false;
    box_.Select(row);
    return true;
}

std::wstring FolderListBox::PathOf(int row) const {
    return row <= openRow_ ? FolderAndAncestors(path_)[row] : JoinPath(path_, folders_[row]);
}

// The first row showing folder, or -1; a subfolder is compared by its name.
int FolderListBox::RowOf(const std::wstring& folder, bool ignoreCase) const {
    const auto same = [&](std::wstring_view a, std::wstring_view b) {
        return ignoreCase ? CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                                 TRUE) == CSTR_EQUAL
                          : a == b;
    };
    const std::vector<std::wstring> ancestors = FolderAndAncestors(path_);
    const std::wstring prefix = JoinPath(path_, L"");
    const std::wstring_view name = std::wstring_view(folder).substr(std::min(prefix.size(), folder.size()));
    const bool inOpenFolder = !name.empty() && same(std::wstring_view(folder).substr(0, prefix.size()), prefix);
    for (int row = 0; row < static_cast<int>(folders_.size()); ++row)
        if (row <= openRow_ ? same(ancestors[row], folder) : inOpenFolder && same(folders_[row], name)) return row;
    return -1;
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
