// How the lists follow the drive: what the watches report is applied name by
// name; a folder whose changes were lost is read again whole; a folder that
// has gone gives way to its nearest ancestor, as in Explorer.
#include <cwctype>
#include <set>

#include "decoys.h"
#include "form1.h"
#include "path_parts.h"

namespace {

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A name Windows may report instead of a long one: an 8.3 short name such
// as "第一课~1.PPT" is "~" and digits in a base of at most 8 characters.
bool CouldBeShortName(const std::wstring& name) {
    const size_t dot = name.find(L'.'), tilde = name.find(L'~');
    const size_t base = dot == std::wstring::npos ? name.size() : dot;
    const bool extensionFits = dot == std::wstring::npos || (name.size() - dot - 1 <= 3 && name.find(L'.', dot + 1) == std::wstring::npos);
    return base <= 8 && extensionFits && tilde < base && tilde + 1 < base && IsAsciiDigit(name[tilde + 1]);
}

// What name became through the renames in changes, or empty if none.
std::wstring RenamedTo(const std::vector<NameChange>& changes, const std::wstring& name) {
    std::wstring now = name;
    for (size_t i = 0; i + 1 < changes.size(); ++i) {
        if (changes[i].kind == NameChange::Kind::RenamedFrom && changes[i + 1].kind == NameChange::Kind::RenamedTo &&
            changes[i].name == now)
            now = changes[i + 1].name;
    }
    return now == name ? std::wstring() : now;
}

bool Touches(const std::vector<NameChange>& changes, const std::wstring& name) {
    for (const NameChange& change : changes)
        if (change.name == name) return true;
    return false;
}

}  // namespace

Result Form1::OpenInDir1(const std::wstring& folder) {
    for (const std::wstring& watched : {folder, ParentFolder(folder)})
        if (watching && !watched.empty()) watch.Start(watched);
    Result result = Dir1.SetPath(folder);
    WatchShownFolders();
    return result;
}

Result Form1::ListInFile1(const std::wstring& folder) {
    if (watching) watch.Start(folder);
    Result result = File1.SetPath(folder);
    WatchShownFolders();
    return result;
}

// The open folder for its subfolders, the folder above it for its going,
// and the file list's folder. Nothing else stays watched.
void Form1::WatchShownFolders() {
    if (!watching) return;
    std::vector<std::wstring> shown{Dir1.Path(), File1.Path()};
    if (const std::wstring parent = ParentFolder(Dir1.Path()); !parent.empty()) shown.push_back(parent);
    for (const std::wstring& folder : shown) watch.Start(folder);
    watch.KeepOnly(shown);
}

// A failed watch lets go of its folder at once, not when the lists are read
// again: a folder held open keeps its parent from being deleted.
void Form1::Drive_Changed(FolderReport report) {
    if (report.kind == FolderReport::Kind::Failure) watch.LetGo(report.folder);
    changes.Seen(std::move(report), runTime.Milliseconds());
}

// A watch started anew loses what it had not reported yet: only a watch
// that failed, or that watches a folder gone and made again, is stopped,
// and every list it serves is read again after, which starts it again.
void Form1::StopWatchUntilReadAgain(const std::wstring& folder) {
    if (!watching) return;
    watch.Stop(folder);
    changes.Restarted(folder, runTime.Milliseconds());
}

void Form1::Drive_CatchUp() {
    const DriveChanges::Due due = changes.TakeDue(runTime.Milliseconds());
    if (due.everything) {
        ReadAgain({.dir1 = true, .file1 = true});
        return;
    }
    for (const FolderReport& report : due.reports) Apply(report);
}

// A report may tell both lists: often they show one folder. The folder above
// the open one tells whether the open folder itself went (a watch on a
// folder does not always hear of its own removal).
void Form1::Apply(const FolderReport& report) {
    const bool toDir1 = report.folder == Dir1.Path(), toFile1 = report.folder == File1.Path();
    const bool aboveDir1 = report.folder == ParentFolder(Dir1.Path());
    if (report.kind == FolderReport::Kind::Failure) StopWatchUntilReadAgain(report.folder);
    if (report.kind != FolderReport::Kind::Names) {
        ReadAgain({.dir1 = toDir1 || aboveDir1, .file1 = toFile1});
        return;
    }
    if (aboveDir1 && Touches(report.names, LastName(Dir1.Path()))) {
        StopWatchUntilReadAgain(Dir1.Path());
        ReadAgain({.dir1 = true, .file1 = toFile1});
        return;
    }
    if (toDir1) Dir1_Changed(report.names);
    if (toFile1) File1_Changed(report.names);
}

// Asks the disk about each name changes touch: those the list shows (an
// entry of the kind listed), with their marks, go to add, the others to
// drop; false when the disk cannot confirm a name, and the folder must be
// read whole. A program or shortcut decides whether a hidden entry of its
// name is shown, so that name is asked about too; a shortcut may also show
// files by their names up to a dot, which the disk cannot be asked for.
bool Form1::AskTheDiskWhatToAddAndDrop(const std::wstring& folder, const std::vector<NameChange>& changes,
                                       Entry::Kind listed, std::vector<Listed>& add, std::vector<std::wstring>& drop) {
    std::set<std::wstring> seen;
    for (const NameChange& change : changes) {
        if (listed == Entry::File && IsShortcut(change.name)) return false;
        for (const std::wstring& name : {change.name, std::wstring(ImitatedName(change.name))}) {
            if (name.empty() || !seen.insert(name).second) continue;
            const Entry entry = runTime.EntryNamed(folder, name);
            if (entry.kind == Entry::OtherName || (entry.kind == Entry::None && CouldBeShortName(name))) return false;
            if (entry.kind == listed) add.push_back({name, entry.faded});
            else drop.push_back(name);
        }
    }
    return true;
}

// Subfolders of the open folder changed. The highlighted one, when renamed,
// stays highlighted under its new name and stays current; when removed, the
// open folder becomes current.
void Form1::Dir1_Changed(const std::vector<NameChange>& changes) {
    const std::wstring highlighted = Dir1.List(Dir1.ListIndex());
    std::vector<Listed> add;
    std::vector<std::wstring> drop;
    if (!AskTheDiskWhatToAddAndDrop(Dir1.Path(), changes, Entry::Folder, add, drop)) return ReadAgain({.dir1 = true});
    Dir1.Change(add, drop);
    if (Dir1.Highlight(highlighted)) {
        // Removed and made again: the file list's folder is another folder now.
        if (ParentFolder(File1.Path()) == Dir1.Path() && Touches(changes, LastName(File1.Path()))) {
            StopWatchUntilReadAgain(File1.Path());
            ReadAgain({.file1 = true});
        }
        return;
    }
    const std::wstring renamed = RenamedTo(changes, LastName(highlighted));
    if (!renamed.empty() && Dir1.Highlight(JoinPath(Dir1.Path(), renamed)))
        ShowFilesOf(JoinPath(Dir1.Path(), renamed), File1.FileName());
    else if (Dir1.Highlight(Dir1.Path()))
        ShowFilesOf(Dir1.Path(), L"");
}

// Files of the file list's folder changed. The selected file, when renamed,
// stays selected under its new name; when removed, nothing is selected.
void Form1::File1_Changed(const std::vector<NameChange>& changes) {
    const std::wstring selected = File1.FileName();
    std::vector<Listed> add;
    std::vector<std::wstring> drop;
    if (!AskTheDiskWhatToAddAndDrop(File1.Path(), changes, Entry::File, add, drop)) return ReadAgain({.file1 = true});
    File1.Change(add, drop);
    if (selected.empty() || File1.FileName() == selected) return;
    const std::wstring renamed = RenamedTo(changes, selected);
    if (!renamed.empty() && File1.Select(renamed)) state.SelectedFile = JoinPath(File1.Path(), renamed);
    else state.SelectedFile.clear();
}

// The file list moves to folder, highlighted in the folder list, which
// becomes current, with file selected if it is there.
void Form1::ShowFilesOf(const std::wstring& folder, const std::wstring& selected) {
    if (!ListInFile1(folder).ok) return ReadAgain({.dir1 = true, .file1 = true});
    state.CurrentFolder = folder;
    state.SelectedFile = !selected.empty() && File1.Select(selected) ? JoinPath(folder, selected) : L"";
}

// Reads lists again whole. A folder that has gone gives way to its nearest
// ancestor that still exists; when none does (the drive has gone), the
// lists keep what they show.
void Form1::ReadAgain(Lists lists) {
    const bool file1 = lists.file1 || (lists.dir1 && File1.Path() == Dir1.Path());  // one folder: both changed
    if (lists.dir1 && !OpenNearest(Dir1.Path())) return;
    // The file list shows the highlighted row of the folder list: the same
    // folder again, or, if that has gone, its nearest ancestor in the list.
    const std::wstring selected = File1.FileName();
    std::wstring folder = File1.Path();
    if (Dir1.Highlight(folder) && !file1) return;
    for (; !folder.empty(); folder = ParentFolder(folder))
        if (Dir1.Highlight(folder) && ListInFile1(folder).ok) break;
    if (folder.empty()) return;
    if (folder != state.CurrentFolder) {
        state.CurrentFolder = folder;
        state.SelectedFile.clear();
    } else if (!selected.empty() && !File1.Select(selected)) {
        state.SelectedFile.clear();
    }
}

// Opens folder in the folder list, or its nearest ancestor that opens.
bool Form1::OpenNearest(std::wstring folder) {
    for (; !folder.empty(); folder = ParentFolder(folder))
        if (OpenInDir1(folder).ok) return true;
    return false;
}

void Form1::Form_Refresh() {
    watching = true;
    changes.RetryNow();
    for (const std::wstring& folder : {Dir1.Path(), ParentFolder(Dir1.Path()), File1.Path()})
        if (!folder.empty()) watch.Stop(folder);
    ReadAgain({.dir1 = true, .file1 = true});
}

// Windows asks before it removes a drive: every watch lets go of its folder
// at once (even while a message box is up), and Windows hears whether the
// removal then happened. Failed: the lists are read and watched again. A
// drive that arrives under the letter the lists show is read again too.
void Form1::Drive_QueryRemove() {
    watching = false;
    watch.LetGoOfTheDrive();
}

void Form1::Drive_RemoveFailed() {
    watch.ForgetTheDrive();
    watching = true;
    changes.ReadEverythingAgain(runTime.Milliseconds());
}

// Removed, asked first or pulled out: nothing of the drive stays held, and
// nothing is watched until it arrives again.
void Form1::Drive_Removed() {
    watching = false;
    watch.LetGoOfTheDrive();
    watch.ForgetTheDrive();
}

void Form1::Drive_Arrived(wchar_t letter) {
    const std::wstring shown = Dir1.Path();
    if (shown.size() < 2 || shown[1] != L':' || std::towupper(shown[0]) != std::towupper(letter)) return;
    watching = true;
    changes.ReadEverythingAgain(runTime.Milliseconds());
}
