#include "platform/win32/runtime_win32.h"

#include <objbase.h>
#include <shellapi.h>

#include "platform/win32/paths.h"
#include "platform/win32/system_dll.h"
#include "platform/win32/system_text.h"

namespace {

// A settings file is a line or two; anything past this is not one.
constexpr LONGLONG kLargestSettingsFile = 256LL << 20;

// Characters no folder name can hold. Wildcards in particular must not let
// a pattern such as "Less*" pass for a folder.
bool HasForbiddenCharacters(const std::wstring& path) {
    for (size_t i = 0; i < path.size(); ++i) {
        const wchar_t c = path[i];
        if (c < 32 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|') return true;
        if (c == L':' && i != 1) return true;  // only after a drive letter; never a stream name
    }
    return false;
}

struct OwnedHandle {
    HANDLE handle;
    ~OwnedHandle() {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

// The shell may hand a file to a COM server, which wants the calling thread
// in a single-threaded apartment. Done on first use: ole32 is not loaded
// before anything needs it.
void JoinSingleThreadedApartmentOnce() {
    static const bool joined = [] {
        using Initialize = HRESULT(WINAPI*)(void*, DWORD);
        const auto initialize = SystemFunctionAs<Initialize>(L"ole32.dll", "CoInitializeEx");
        return initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    static_cast<void>(joined);
}

// A message box cannot show a megabyte of text; long lines are shortened.
std::wstring Displayable(std::wstring text) {
    constexpr size_t kMostCharacters = 1000;
    for (auto& c : text)
        if (c == L'\0') c = L'\xFFFD';
    if (text.size() > kMostCharacters) text.replace(kMostCharacters, text.npos, L"…");
    return text;
}

}  // namespace

std::wstring Win32RunTime::ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L'\\') + 1);
    if (!IsDriveRoot(path)) path.pop_back();  // E:\ keeps its backslash, E:\Tools does not
    return path;
}

bool Win32RunTime::IsVisibleFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

bool Win32RunTime::IsVisibleFolder(const std::wstring& path) {
    if (HasForbiddenCharacters(path)) return false;
    const DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Drive roots often carry the hidden attribute; they always count.
    return IsDriveRoot(FullFolderPath(path)) || !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

Result Win32RunTime::ReadWholeFile(const std::wstring& path, std::string& bytes) {
    OwnedHandle file{CreateFileW(ForFileApi(path).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) return Result::Failure(SystemReason(GetLastError()));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.handle, &size)) return Result::Failure(SystemReason(GetLastError()));
    if (size.QuadPart > kLargestSettingsFile) return Result::Failure(SystemReason(ERROR_FILE_TOO_LARGE));

    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr))
            return Result::Failure(SystemReason(GetLastError()));
        if (read == 0) break;  // the file shrank while we read it
        done += read;
    }
    bytes.resize(done);
    return Result::Success();
}

std::wstring Win32RunTime::Decode(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ansi: return WideFromBytes(bytes.data(), bytes.size(), CP_ACP);
        case TextEncoding::Utf8: return WideFromBytes(bytes.data(), bytes.size(), CP_UTF8);
        case TextEncoding::Utf16LE: {
            std::wstring text(bytes.size() / 2, L'\0');
            memcpy(text.data(), bytes.data(), text.size() * 2);
            return text;
        }
    }
    return {};
}

void Win32RunTime::MsgBox(const std::wstring& prompt, const std::wstring& title) {
    // Without an owner (at start-up) the box gets its own taskbar button and
    // comes to the front, so it cannot hide behind other windows.
    const UINT style = MB_OK | (owner_ ? 0 : MB_SETFOREGROUND | MB_TASKMODAL);
    MessageBoxW(owner_, Displayable(prompt).c_str(), Displayable(title).c_str(), style);
}

// Explorer from the Windows folder, never a program found by searching (a
// planted explorer.exe beside us on the drive must not run). The folder is
// one field in Explorer's own syntax: quotes enclose it, so commas and "="
// stay part of it, and a backslash before the closing quote escapes nothing.
Result Win32RunTime::StartExplorer(const std::wstring& folder) {
    std::wstring windows(MAX_PATH, L'\0');
    windows.resize(GetWindowsDirectoryW(windows.data(), MAX_PATH));
    const std::wstring explorer = windows + (windows.ends_with(L'\\') ? L"" : L"\\") + L"explorer.exe";
    std::wstring commandLine = L"\"" + explorer + L"\" \"" + folder + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(explorer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return Result::Failure(SystemReason(GetLastError(), explorer));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Result::Success();
}

// The shell's "open", wide-character so every name arrives intact. The shell
// shows no error box of its own: a failure is the caller's to report, once.
// A type no program is associated with gets the system's "Open with" choice.
Result Win32RunTime::OpenWithAssociatedProgram(const std::wstring& file) {
    using Execute = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    JoinSingleThreadedApartmentOnce();
    static const auto shellExecute = SystemFunctionAs<Execute>(L"shell32.dll", "ShellExecuteExW");
    if (!shellExecute) return Result::Failure(SystemReason(ERROR_PROC_NOT_FOUND));

    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.hwnd = owner_;
    execute.lpVerb = L"open";
    execute.lpFile = file.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (shellExecute(&execute)) return Result::Success();
    const DWORD error = GetLastError();
    const std::wstring name = file.substr(file.find_last_of(L'\\') + 1);
    if (error != ERROR_NO_ASSOCIATION) return Result::Failure(SystemReason(error, name));

    execute.lpVerb = L"openas";
    if (shellExecute(&execute) || GetLastError() == ERROR_CANCELLED) return Result::Success();
    return Result::Failure(SystemReason(error, name));
}
