#include "startup/join_path.h"
#include "startup/settings_reader.h"
#include "window/form1.h"
#include "window/texts.h"

// Reads the settings file beside the program, opens both lists on the folder
// it names, and makes that folder current. Problems are reported, never
// fatal: the lists then open on the folder they started with, or failing
// that on the program folder.
void Form1::Form_Load() {
    const std::wstring programFolder = App.ProgramFolder();

    // The backslash is always added, so at a drive root the path holds two in
    // a row; Windows reads that as the same file.
    State_.SettingsPath = programFolder + L"\\" + texts::kSettingsFileName;

    SettingsValue value;
    if (!App.IsVisibleFile(State_.SettingsPath)) {
        App.MsgBox(texts::kSettingsMissing, texts::kNotice);
    } else {
        std::string bytes;
        if (App.ReadWholeFile(State_.SettingsPath, bytes).ok)
            value = ReadSettingsValue(bytes, App);
        else
            App.MsgBox(texts::kSettingsUnreadable, texts::kNotice);
    }

    // The value is always relative to the program folder, even one that
    // starts with a drive letter.
    State_.TargetFolder = JoinPath(programFolder, value.text);
    bool targetExists = App.IsVisibleFolder(State_.TargetFolder);
    if (!targetExists && value.asUtf8) {
        // Editors today save UTF-8 without a mark; the ANSI reading of such a
        // file is garbled, so try the UTF-8 reading before giving up.
        const std::wstring utf8Target = JoinPath(programFolder, *value.asUtf8);
        if (App.IsVisibleFolder(utf8Target)) {
            State_.TargetFolder = utf8Target;
            targetExists = true;
        }
    }

    bool opened = false;
    if (targetExists) {
        const Result result = Dir1.SetPath(State_.TargetFolder);
        opened = result.ok;
        if (!opened) ReportCannotOpenFolder(State_.TargetFolder, result);
    } else {
        App.MsgBox(texts::kSettingsError, texts::kNotice);
        App.MsgBox(State_.TargetFolder, texts::kAppTitle);
    }
    if (!opened) opened = Dir1.SetPath(Dir1.Path()).ok;
    if (!opened) Dir1.SetPath(programFolder);

    State_.CurrentFolder = Dir1.Path();
    const std::wstring shown = Dir1.List(Dir1.ListIndex());
    if (const Result result = File1.SetPath(shown); !result.ok) ReportCannotOpenFolder(shown, result);
}
