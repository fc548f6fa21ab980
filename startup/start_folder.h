#pragma once
#include <string>

class RunTime;

// The settings file, beside the program.
inline constexpr const wchar_t* kSettingsFileName = L"Verondel设置.ini";

// What became of the settings file.
enum class SettingsFile { Read, Missing, Unreadable };

// The folder the window opens on, as the settings file says, and what the
// user must be told about it first. The window applies it (Form_Load).
struct StartFolder {
    std::wstring programFolder;
    std::wstring settingsPath;  // at a drive root it holds "\\" twice; Windows reads the same file
    SettingsFile settingsFile = SettingsFile::Read;
    std::wstring targetFolder;  // the settings value joined to the program folder
    bool targetExists = false;  // false: the settings name no folder to open
};

// Reads the settings file and tests the folder it names. Never fails: a
// missing or unreadable file reads as empty, which names the program folder.
StartFolder ChooseStartFolder(RunTime& runTime);
