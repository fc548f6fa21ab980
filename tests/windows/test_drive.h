#pragma once
// Drive E: as the Windows-side tests see it: a scratch folder the Wine
// wrapper maps for each run. Helpers make folders and files on it.
#include <windows.h>

#include <functional>
#include <string>

inline const std::wstring kDrive = L"E:\\";

// Makes folder and its parents; returns its full path.
std::wstring MakeFolder(const std::wstring& path);

// Writes bytes to path, making its folder first.
void WriteBytes(const std::wstring& path, const std::string& bytes);

// Text in the GBK code page, as a Chinese Notepad saves it.
std::string Gbk(const std::wstring& text);

// Wine's name for a Linux path given in an environment variable.
std::wstring WindowsPathFromEnvironment(const char* variable);

// Runs a shell command on the Linux side of drive E:, as another program of
// the desktop would change it, and waits for it; the drive's Linux folder
// is $VERONDEL_DRIVE_E. Wine cannot remove a folder a program holds open,
// Linux can; and it makes thousands of files at once. Meanwhile, if given,
// is called every 20 ms until the command is done. True when it succeeded.
// The script that runs the tests (run-in-wine.sh) runs the command.
bool ChangeOutsideWine(const std::wstring& command, const std::function<void()>& meanwhile = {});

// Empties drive E: between tests, trees past MAX_PATH included. A folder
// named in keep (E:\huge) stays: it was made before Wine started and
// would take minutes to make again.
void ClearDrive(const std::wstring& keep = L"");
