// Stands in for Explorer and for the program associated with a test file
// type: appends its own command line, exactly as it arrived, to
// C:\launches.txt (UTF-8, one line per launch), and how it was started, its
// error mode and current folder, to C:\launch-starts.txt ("<mode> <folder>"),
// then exits. As winebrowser.exe, it then takes a while (1.5 s) to find no
// desktop opener, as a slow one would: writes "winebrowser ended" as a
// launch line of its own, and exits with 1.
#include <windows.h>

#include <string>

namespace {

void AppendLine(const wchar_t* log, const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string line(size - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, line.data(), size, nullptr, nullptr);
    line += '\n';
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    // Written first: once its launch line is there, TakeLaunches may read both.
    AppendLine(L"C:\\launch-starts.txt", std::to_wstring(GetErrorMode()) + L" " + folder);
    AppendLine(L"C:\\launches.txt", GetCommandLineW());
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (!std::wstring(self).ends_with(L"\\winebrowser.exe")) return 0;
    Sleep(1500);
    AppendLine(L"C:\\launches.txt", L"winebrowser ended");
    return 1;
}
