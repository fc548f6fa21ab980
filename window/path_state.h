#pragma once
#include <string>

// The four strings the window keeps. An unset string reads as empty text.
struct PathState {
    std::wstring CurrentFolder;   // the folder "打开文件夹" shows
    std::wstring SelectedFile;    // full path of the file "打开文件" opens
    std::wstring SettingsPath;    // full path of the settings file
    std::wstring TargetFolder;    // the settings value, then the folder made from it
};
