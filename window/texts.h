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

inline constexpr const wchar_t* kCaption = L"时光不待人-Quorlen";
inline constexpr const wchar_t* kOpenFolderButton = L"打开文件夹";
inline constexpr const wchar_t* kOpenFileButton = L"打开文件";

}  // namespace texts
