#pragma once
#include <string>

#include "lists.h"
#include "path_state.h"
#include "runtime.h"
#include "start_folder.h"
#include "type_ahead.h"

// The program's one window, as its logic sees it: the run-time services, the
// folder list Dir1, the file list File1, and the four strings of PathState.
// Its Win32 host creates the controls and routes each event to one handler.
class Form1 {
public:
    Form1(RunTime& runTime, FolderList& dir1, FileList& file1) : runTime(runTime), Dir1(dir1), File1(file1) {}

    void Form_Load();                  // start-up, before the window is first shown
    void Dir1_Click();                 // the highlighted folder changed
    void Dir1_DblClick();              // double-click or Enter in the folder list
    void Dir1_KeyPress(wchar_t key);   // a character typed into the folder list
    void Dir1_Refresh();               // the open folder changed on disk, or F5
    void File1_Click();                // a file was selected
    void File1_DblClick();             // double-click or Enter in the file list
    void File1_KeyPress(wchar_t key);  // a character typed into the file list
    void File1_Refresh();              // the listed folder changed on disk, or F5
    void Command1_Click();             // "打开文件夹"
    void Command2_Click();             // "打开文件"

    const PathState& State() const { return state; }

private:
    void ReportSettingsFile(SettingsFile outcome);
    void OpenFolderList(const StartFolder& start);
    void ListFiles(const std::wstring& folder);
    void ReportCannotOpenFolder(const std::wstring& folder, const Result& why);
    void Report(const wchar_t* what, const std::wstring& path, const Result& why);

    RunTime& runTime;
    FolderList& Dir1;
    FileList& File1;
    PathState state;
    TypeAhead dir1Typed, file1Typed;
};
