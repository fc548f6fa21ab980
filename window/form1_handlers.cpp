#include "decoys.h"
#include "form1.h"
#include "path_parts.h"
#include "launch.h"
#include "texts.h"

namespace {

// Where the real folder or file is listed, on a line of its own; nothing
// for a hidden program, or what is named after one.
std::wstring WhereTheRealOneIs(const Decoy& decoy) {
    const std::wstring imitated = L"“" + decoy.imitated + L"”";
    switch (decoy.kind) {
        case Decoy::Kind::OfFolder: return texts::kRealFolder + imitated + texts::kIsInTheFolderList + L"\n";
        case Decoy::Kind::OfFile: return texts::kRealFile + imitated + texts::kIsInTheFileList + L"\n";
        case Decoy::Kind::BesideBlankFolder: return texts::kHiddenAreInTheBlankFolder + std::wstring(L"\n");
        default: return {};
    }
}

// “第一周.exe”..., where the real folder or file is listed, and what to do.
std::wstring DecoyMessage(const std::wstring& name, const Decoy& decoy) {
    const wchar_t* why = decoy.kind == Decoy::Kind::Hidden ? texts::kHiddenNotOpened : texts::kDecoyNotOpened;
    return L"“" + name + L"”" + why + L"\n" + WhereTheRealOneIs(decoy) + texts::kScanTheDrive;
}

}  // namespace

// A folder was highlighted (ancestor, open folder or subfolder): it becomes
// current and its files are listed, without opening it in the folder list.
// When it cannot be listed, nothing changes, so the lists and the buttons
// keep agreeing about which folder is current.
void Form1::Dir1_Click() {
    const std::wstring folder = Dir1.List(Dir1.ListIndex());
    if (const Result result = ListInFile1(folder); !result.ok) {
        ReportCannotOpenFolder(folder, result);
        Dir1.Highlight(state.CurrentFolder);
        return;
    }
    state.CurrentFolder = folder;
    state.SelectedFile.clear();
}

// Double-click or Enter opens the highlighted folder in the folder list. The
// Click before it has already made that folder current.
void Form1::Dir1_DblClick() {
    const std::wstring folder = Dir1.List(Dir1.ListIndex());
    if (const Result result = OpenInDir1(folder); !result.ok) ReportCannotOpenFolder(folder, result);
}

// Typing into the folder list highlights the first folder whose name starts
// with what was typed in quick succession; a new highlight counts as a click.
void Form1::Dir1_KeyPress(wchar_t key) {
    const std::wstring typed = dir1Typed.Add(key, runTime.Milliseconds());
    const int before = Dir1.ListIndex();
    if (!typed.empty() && Dir1.HighlightFirstMatching(typed) && Dir1.ListIndex() != before) Dir1_Click();
}

// A file was selected: remember its full path for "打开文件".
void Form1::File1_Click() {
    const std::wstring name = File1.FileName();
    state.SelectedFile = name.empty() ? std::wstring() : JoinPath(File1.Path(), name);
}

// Double-click or Enter on a file opens it, exactly as "打开文件" does.
void Form1::File1_DblClick() { Command2_Click(); }

void Form1::File1_KeyPress(wchar_t key) {
    const std::wstring typed = file1Typed.Add(key, runTime.Milliseconds());
    const std::wstring before = File1.FileName();
    if (!typed.empty() && File1.SelectFirstMatching(typed) && File1.FileName() != before) File1_Click();
}

// "打开文件夹": shows the current folder in the file manager. The path is
// copied first: while Windows starts the program, a click may change state.
void Form1::Command1_Click() {
    const std::wstring folder = state.CurrentFolder;
    if (const Result result = ShowFolder(runTime, folder); !result.ok) Report(texts::kCannotOpenFolder, folder, result);
}

// "打开文件": opens the selected file with its associated program, unless
// it is a decoy a virus left.
void Form1::Command2_Click() {
    const std::wstring file = state.SelectedFile;
    if (file.empty()) {
        runTime.MsgBox(texts::kChooseFileFirst, texts::kNotice);
        return;
    }
    if (RefusedAsDecoy(file)) return;
    if (const Result result = OpenFile(runTime, file); !result.ok)
        Report(texts::kCannotOpenFile, file, result);
}

// Only a program, script or shortcut can be a decoy. Whether it is one is
// asked of the disk as the button is pressed: the lists may be a moment
// behind it. A folder that cannot be read cannot tell, and nothing opens.
bool Form1::RefusedAsDecoy(const std::wstring& file) {
    const std::wstring name = LastName(file);
    if (ImitatedName(name).empty()) return false;
    std::vector<FolderEntry> entries;
    if (const Result read = runTime.EntriesOf(ParentFolder(file), entries); !read.ok) {
        Report(texts::kCannotCheckFolder, ParentFolder(file), read);
        return true;
    }
    const std::optional<Decoy> decoy = FindDecoy(name, entries, runTime.RunsUnderWine());
    if (decoy) runTime.MsgBox(DecoyMessage(name, *decoy), texts::kNotice);
    return decoy.has_value();
}

void Form1::ReportCannotOpenFolder(const std::wstring& folder, const Result& why) {
    Report(texts::kCannotOpenFolder, folder, why);
}

// "<what>", the path, and the system's reason when there is one, each on a line.
void Form1::Report(const wchar_t* what, const std::wstring& path, const Result& why) {
    std::wstring text = std::wstring(what) + L"\n" + path;
    if (!why.reason.empty()) text += L"\n" + why.reason;
    runTime.MsgBox(text, texts::kNotice);
}
