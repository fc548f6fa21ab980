// The reference the benchmark measures Verondel against: the least a Win32
// program can do to show a window with two list boxes and a folder's files.
//   baseline_window.exe            lists its own folder's files
//   baseline_window.exe FOLDER     lists FOLDER's files instead (for memory)
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<std::wstring> FilesOf(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    std::wstring folder = commandLine && *commandLine ? commandLine : L"";
    if (folder.empty()) {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        folder = exe;
        folder.resize(folder.find_last_of(L'\\'));
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BaselineWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"BaselineWindow", L"Baseline", WS_OVERLAPPEDWINDOW, 100, 100, 600, 500, nullptr,
                                nullptr, instance, nullptr);
    HWND lists[2];
    for (int i = 0; i < 2; ++i)
        lists[i] = CreateWindowW(L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                                 10 + 290 * i, 10, 280, 400, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(101 + i)),
                                 instance, nullptr);
    {
    const std::vector<std::wstring> names = FilesOf(folder);  // freed before the window shows
    for (HWND list : lists) {
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LB_INITSTORAGE, names.size(), names.size() * 32);
        for (const auto& name : names) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        if (commandLine && *commandLine) break;  // the memory reference holds the names once
    }
    }
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
