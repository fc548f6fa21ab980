#pragma once

// Every text the user sees. The program speaks Simplified Chinese only.
namespace texts {

inline constexpr const wchar_t* kAppTitle = L"Verondel";
inline constexpr const wchar_t* kNotice = L"提示";

inline constexpr const wchar_t* kSettingsMissing = L"Verondel设置.ini不存在";
inline constexpr const wchar_t* kSettingsUnreadable = L"Verondel设置.ini无法读取";
inline constexpr const wchar_t* kSettingsError = L"设置错误";
inline constexpr const wchar_t* kCannotOpenFolder = L"无法打开文件夹";
inline constexpr const wchar_t* kCannotOpenFile = L"无法打开文件";
inline constexpr const wchar_t* kChooseFileFirst = L"请先选择文件";

// A program or shortcut that a virus left beside what it hid: "“第一周.exe”"
// and the first line, then the line that says where the real one is.
inline constexpr const wchar_t* kDecoyNotOpened = L"可能是病毒留下的伪装，为了安全，没有打开它。";
inline constexpr const wchar_t* kHiddenNotOpened = L"是隐藏的程序或快捷方式，可能是病毒，为了安全，没有打开它。";
inline constexpr const wchar_t* kRealFolder = L"真正的文件夹";
inline constexpr const wchar_t* kRealFile = L"真正的文件";
inline constexpr const wchar_t* kIsInTheFolderList = L"就在文件夹列表中。";
inline constexpr const wchar_t* kIsInTheFileList = L"就在文件列表中。";
inline constexpr const wchar_t* kHiddenAreInTheBlankFolder = L"被病毒藏起来的文件夹和文件，都在文件夹列表中名字空白的文件夹里。";
inline constexpr const wchar_t* kScanTheDrive = L"请用杀毒软件查杀这个U盘。";
// A program or shortcut whose folder cannot be read, to tell whether it is a
// decoy: this line, then the folder and the system's reason.
inline constexpr const wchar_t* kCannotCheckFolder = L"无法检查这个程序或快捷方式所在的文件夹，为了安全，没有打开它。";

inline constexpr const wchar_t* kCaption = L"时光不待人-Quorlen";
inline constexpr const wchar_t* kOpenFolderButton = L"打开文件夹";
inline constexpr const wchar_t* kOpenFileButton = L"打开文件";

}  // namespace texts
