#include "test_drive.h"

#include <cstdio>
#include <cstdlib>

std::wstring MakeFolder(const std::wstring& path) {
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    MakeFolder(path.substr(0, path.find_last_of(L'\\')));
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Gbk(const std::wstring& text) {
    const int size = WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring WindowsPathFromEnvironment(const char* variable) {
    const char* path = std::getenv(variable);
    std::wstring windows = L"Z:";
    for (const char* c = path ? path : ""; *c; ++c) windows += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return windows;
}

// The script that runs the tests (tests/wine/run-in-wine.sh) runs the
// command on the Linux side, so that no Wine process of the tests starts a
// Linux program: it takes the command from a file beside the drive's folder
// (not on the drive, where the program would see it) and writes its exit
// status beside it once it is done.
bool ChangeOutsideWine(const std::wstring& command, const std::function<void()>& meanwhile) {
    const std::wstring beside = WindowsPathFromEnvironment("VERONDEL_DRIVE_E");
    const std::wstring request = beside + L".command", done = beside + L".done";
    DeleteFileW(done.c_str());
    const int size = WideCharToMultiByte(CP_UTF8, 0, command.c_str(), static_cast<int>(command.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string script(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, command.c_str(), static_cast<int>(command.size()), script.data(), size, nullptr,
                        nullptr);
    WriteBytes(request + L".new", script + "\n");
    if (!MoveFileExW((request + L".new").c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    for (int waited = 0; waited < 60000 && GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 20) {
        if (meanwhile) meanwhile();
        Sleep(20);
    }
    char status[8] = {};
    DWORD read = 0;
    HANDLE file = CreateFileW(done.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("No answer to a change on the Linux side within 60 s: is run-in-wine.sh running the tests?\n");
        return false;
    }
    ReadFile(file, status, sizeof status - 1, &read, nullptr);
    CloseHandle(file);
    DeleteFileW(done.c_str());
    return status[0] == '0' && (status[1] == '\n' || status[1] == 0);
}

// Removes what is below folder (a \\?\ path, so deep trees go too), except keep.
static void RemoveBelow(const std::wstring& folder, const std::wstring& keep) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName, path = folder + L"\\" + name;
        if (name == L"." || name == L".." || path == keep) continue;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveBelow(path, keep);
            RemoveDirectoryW(path.c_str());
        } else {
            DeleteFileW(path.c_str());
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

void ClearDrive(const std::wstring& keep) { RemoveBelow(L"\\\\?\\E:", keep.empty() ? L"" : L"\\\\?\\" + keep); }
