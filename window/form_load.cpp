#include "form1.h"
#include "texts.h"

// Reads the settings file beside the program, opens both lists on the folder
// it names, and makes that folder current. Problems are reported, never
// fatal: the lists then open on the folder they started with, or failing
// that on the program folder.
void Form1::Form_Load() {
    const StartFolder start = ChooseStartFolder(runTime);
    state.SettingsPath = start.settingsPath;
    state.TargetFolder = start.targetFolder;
    ReportSettingsFile(start.settingsFile);
    OpenFolderList(start);
    state.CurrentFolder = Dir1.Path();
    const std::wstring folder = Dir1.List(Dir1.ListIndex());
    if (const Result result = ListInFile1(folder); !result.ok) ReportCannotOpenFolder(folder, result);
}

void Form1::ReportSettingsFile(SettingsFile outcome) {
    if (outcome == SettingsFile::Missing) runTime.MsgBox(texts::kSettingsMissing, texts::kNotice);
    if (outcome == SettingsFile::Unreadable) runTime.MsgBox(texts::kSettingsUnreadable, texts::kNotice);
}

// The target folder; when the settings name no folder, or it cannot be
// listed, the folder the list started in, then the program folder.
void Form1::OpenFolderList(const StartFolder& start) {
    if (start.targetExists) {
        const Result result = OpenInDir1(start.targetFolder);
        if (result.ok) return;
        ReportCannotOpenFolder(start.targetFolder, result);
    } else {
        runTime.MsgBox(texts::kSettingsError, texts::kNotice);
        runTime.MsgBox(start.targetFolder, texts::kAppTitle);
    }
    if (!OpenInDir1(Dir1.Path()).ok) OpenInDir1(start.programFolder);
}
