#include "start_folder.h"

#include "path_parts.h"
#include "runtime.h"
#include "settings_reader.h"

namespace {

// The settings value; a missing or unreadable file gives none.
SettingsValue ReadSettings(RunTime& runTime, const std::wstring& path, SettingsFile& outcome) {
    if (!runTime.IsVisibleFile(path)) {
        outcome = SettingsFile::Missing;
        return {};
    }
    std::string bytes;
    if (!runTime.ReadSettingsFile(path, bytes).ok) {
        outcome = SettingsFile::Unreadable;
        return {};
    }
    outcome = SettingsFile::Read;
    return ReadSettingsValue(bytes, runTime);
}

}  // namespace

StartFolder ChooseStartFolder(RunTime& runTime) {
    StartFolder start;
    start.programFolder = runTime.ProgramFolder();
    // The backslash is always added, so at a drive root the path holds two in
    // a row, as it always has.
    start.settingsPath = start.programFolder + L"\\" + kSettingsFileName;
    const SettingsValue value = ReadSettings(runTime, start.settingsPath, start.settingsFile);

    // The value is always relative to the program folder, even one that
    // starts with a drive letter.
    start.targetFolder = JoinPath(start.programFolder, value.text);
    start.targetExists = !value.tooLong && runTime.IsVisibleFolder(start.targetFolder);
    if (!start.targetExists && value.asUtf8) {
        // Editors today save UTF-8 without a mark; the ANSI reading of such a
        // file is garbled, so try the UTF-8 reading before giving up.
        std::wstring utf8Target = JoinPath(start.programFolder, *value.asUtf8);
        if (runTime.IsVisibleFolder(utf8Target)) {
            start.targetFolder = std::move(utf8Target);
            start.targetExists = true;
        }
    }
    return start;
}
