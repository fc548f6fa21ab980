#pragma once
#include <string>
#include <vector>

#include "drive_changes.h"
#include "folder_watch.h"
#include "lists.h"
#include "path_state.h"
#include "runtime.h"
#include "start_folder.h"
#include "type_ahead.h"

// The program's one window, as its logic sees it: the run-time services, the
// folder list Dir1, the file list File1, the watch on the folders they show,
// and the four strings of PathState. Its Win32 host creates the controls and
// routes each event to one handler.
class Form1 {
public:
    Form1(RunTime& runTime, FolderList& dir1, FileList& file1, FolderWatch& watch)
        : runTime(runTime), Dir1(dir1), File1(file1), watch(watch) {}

    void Form_Load();                  // start-up, before the window is first shown
    void Form_Refresh();               // F5: both lists read again, and watched anew
    void Dir1_Click();                 // the highlighted folder changed
    void Dir1_DblClick();              // double-click or Enter in the folder list
    void Dir1_KeyPress(wchar_t key);   // a character typed into the folder list
    void File1_Click();                // a file was selected
    void File1_DblClick();             // double-click or Enter in the file list
    void File1_KeyPress(wchar_t key);  // a character typed into the file list
    void Command1_Click();             // "打开文件夹"
    void Command2_Click();             // "打开文件"

    // The drive, as the watches and Windows tell of it. What the watches
    // report waits until Drive_CatchUp, which the host calls only from its
    // own message loop: never while a message box or a window drag is up,
    // so that the lists never change under a handler.
    void Drive_Changed(FolderReport report);
    void Drive_CatchUp();
    bool Drive_Waiting() const { return changes.Waiting(); }
    void Drive_QueryRemove();           // Windows asks to remove the drive
    void Drive_RemoveFailed();          // ... and the removal failed
    void Drive_Removed();               // ... or it happened, asked or not
    void Drive_Arrived(wchar_t letter); // a drive arrived as letter

    const PathState& State() const { return state; }

private:
    void ReportSettingsFile(SettingsFile outcome);
    void OpenFolderList(const StartFolder& start);
    void ReportCannotOpenFolder(const std::wstring& folder, const Result& why);
    void Report(const wchar_t* what, const std::wstring& path, const Result& why);
    bool RefusedAsDecoy(const std::wstring& file);

    // Reading a folder into a list, watched before it is read so that no
    // change made meanwhile is missed.
    Result OpenInDir1(const std::wstring& folder);
    Result ListInFile1(const std::wstring& folder);
    void WatchShownFolders();
    void StopWatchUntilReadAgain(const std::wstring& folder);

    // Following the drive (form1_drive.cpp).
    void Apply(const FolderReport& report);
    void Dir1_Changed(const std::vector<NameChange>& changes);
    void File1_Changed(const std::vector<NameChange>& changes);
    bool AskTheDiskWhatToAddAndDrop(const std::wstring& folder, const std::vector<NameChange>& changes,
                                    Entry::Kind listed, std::vector<Listed>& add, std::vector<std::wstring>& drop);
    struct Lists { bool dir1 = false, file1 = false; };
    void ReadAgain(Lists lists);  // the lists named true, whole
    bool OpenNearest(std::wstring folder);
    void ShowFilesOf(const std::wstring& folder, const std::wstring& selected);

    RunTime& runTime;
    FolderList& Dir1;
    FileList& File1;
    FolderWatch& watch;
    PathState state;
    TypeAhead dir1Typed, file1Typed;
    DriveChanges changes;
    bool watching = true;  // false while Windows removes the drive
};
