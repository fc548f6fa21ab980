#pragma once
#include <string>
#include <vector>

#include "listing.h"
#include "result.h"

// The folder list: the open folder, its ancestors up to the drive root and
// its immediate subfolders. Entries are numbered by ListIndex: -1 is the
// open folder, -2, -3, ... its ancestors going up, 0 to n-1 its subfolders.
class FolderList {
public:
    virtual ~FolderList() = default;

    // The open folder; before the first SetPath, the process's current folder.
    virtual std::wstring Path() const = 0;

    // Opens folder; opening the open folder again reads it again. When it
    // cannot be listed, nothing changes and the reason is returned.
    virtual Result SetPath(const std::wstring& folder) = 0;

    // Index of the highlighted entry; -1 right after SetPath.
    virtual int ListIndex() const = 0;

    // Full path of entry index; a drive root ends with "\", no other folder does.
    virtual std::wstring List(int index) const = 0;

    // Moves the highlight to the entry for folder, without a Click; false
    // when the list has no such entry.
    virtual bool Highlight(const std::wstring& folder) = 0;

    // Highlights the first entry, in list order, whose name starts with
    // text, or failing that contains it, ignoring case, without a Click;
    // false when none does.
    virtual bool HighlightFirstMatching(const std::wstring& text) = 0;

    // Subfolders of the open folder changed on disk: adds the names in add
    // that are not listed yet, each in its place and with its mark, and
    // drops the names in drop. The highlight stays on its entry (on none, if that was dropped)
    // and the list stays scrolled where it was.
    virtual void Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) = 0;
};

// The file list: the visible files of one folder.
class FileList {
public:
    virtual ~FileList() = default;

    // The listed folder; a drive root ends with "\", no other folder does.
    virtual std::wstring Path() const = 0;

    // Lists folder's files, with none selected; listing the same folder
    // again reads it again. When it cannot be listed, nothing changes and
    // the reason is returned.
    virtual Result SetPath(const std::wstring& folder) = 0;

    // Name of the selected file, without folder; empty when none is selected.
    virtual std::wstring FileName() const = 0;

    // Selects the file named exactly name, without a Click; false when
    // there is none.
    virtual bool Select(const std::wstring& name) = 0;

    // Selects the first file, in list order, whose name starts with text,
    // or failing that contains it, ignoring case, without a Click; false
    // when none does.
    virtual bool SelectFirstMatching(const std::wstring& text) = 0;

    // Files of the listed folder changed on disk: as FolderList::Change.
    // The selection stays on its file (on none, if that was dropped).
    virtual void Change(const std::vector<Listed>& add, const std::vector<std::wstring>& drop) = 0;
};
