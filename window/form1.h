#pragma once
#include <string>

#include "platform/lists.h"
#include "platform/runtime.h"
#include "startup/path_state.h"

// The program's one window, as its logic sees it: the run-time services, the
// folder list Dir1, the file list File1, and the four strings of PathState.
// Its Win32 host creates the controls and routes each event to one handler.
class Form1 {
public:
    Form1(RunTime& app, FolderList& dir1, FileList& file1) : App(app), Dir1(dir1), File1(file1) {}

    void Form_Load();       // start-up, before the window is first shown
    void Dir1_Click();      // the highlighted folder changed
    void File1_Click();     // a file was selected
    void Command1_Click();  // "打开文件夹"
    void Command2_Click();  // "打开文件"

    // Tells the user that folder cannot be listed (also for the folder
    // list's own double-click, which the program does not handle).
    void ReportCannotOpenFolder(const std::wstring& folder, const Result& why);

    const PathState& State() const { return State_; }

private:
    void Report(const wchar_t* what, const std::wstring& path, const Result& why);

    RunTime& App;
    FolderList& Dir1;
    FileList& File1;
    PathState State_;
};
