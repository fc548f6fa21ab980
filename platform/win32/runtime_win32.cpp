#include "runtime_win32.h"

#include <shellapi.h>

#include "folder_entries.h"
#include "owned.h"
#include "path_parts.h"
#include "paths.h"
#include "system_dll.h"
#include "system_text.h"
#include "visible_text.h"

namespace {

// Far beyond any real settings file, yet small enough that a 32-bit process
// can hold it: a larger file is refused as unreadable.
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

bool IsExistingFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A message box cannot show a megabyte of text; long lines are shortened.
std::wstring Displayable(const std::wstring& text) {
    constexpr size_t kMostCharacters = 1000;
    std::wstring shown = VisibleText(std::wstring_view(text).substr(0, kMostCharacters + 1));
    if (text.size() > kMostCharacters) shown.replace(shown.size() - 1, 1, L"…");
    return shown;
}

// What the Linux desktop's opener may take to start is not waited for:
// winebrowser ends once it has started one, and this long counts as started.
constexpr DWORD kLongestDesktopWaitMs = 5000;

// Waits for process at most ms, meanwhile handling what keeps the window
// alive (painting, timers, messages sent or posted) but not its input: a
// click would otherwise start a second launch under this one, or change
// what the lists show under it. Input waits for afterwards. False when the
// process is still running.
bool WaitKeepingWindowAlive(HANDLE process, DWORD ms) {
    constexpr DWORD kNoInput = QS_PAINT | QS_POSTMESSAGE | QS_HOTKEY | QS_TIMER | QS_SENDMESSAGE;
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(deadline - now), kNoInput);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
            if (message.message == WM_QUIT) {  // for the program's own loop, which ends
                PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            DispatchMessageW(&message);
        }
    }
    return false;
}

}  // namespace

// The folder of the running exe; should Windows ever fail to tell, the folder
// the program was started in stands in.
std::wstring Win32RunTime::ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            path.resize(GetCurrentDirectoryW(0, nullptr));
            path.resize(GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data()));
            return FullFolderPath(path);
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return ParentFolder(path);
}

bool Win32RunTime::IsVisibleFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           IsVisible(EntryFrom(LastName(path), attributes));
}

bool Win32RunTime::IsVisibleFolder(const std::wstring& path) {
    if (HasForbiddenCharacters(path)) return false;
    const DWORD attributes = GetFileAttributesW(ForFileApi(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Drive roots often carry the hidden attribute; they always count.
    const std::wstring full = FullFolderPath(path);
    if (IsRootFolder(full)) return true;
    return ListingOnDisk(ParentFolder(full), EntryFrom(LastName(full), attributes)) != Listing::Unlisted;
}

// Found by its exact name, and given back as the disk names it: Windows also
// finds an entry by its 8.3 short name, and by its name in another case.
Entry Win32RunTime::EntryNamed(const std::wstring& folder, const std::wstring& name) {
    // Wildcards would find other entries; a separator names none of folder's.
    if (name.empty() || name.find_first_of(L"*?<>\"\\/") != std::wstring::npos) return {Entry::OtherName};
    const std::wstring path = JoinPath(folder, name);
    WIN32_FIND_DATAW found;
    const OwnedFind find(FindFirstFileExW(ForFileApi(path).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                          nullptr, 0));
    if (!find) {
        const DWORD error = GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Entry::None : Entry::OtherName};
    }
    if (name != found.cFileName) return {Entry::OtherName};
    const FolderEntry entry = EntryFrom(name, found.dwFileAttributes);
    const Listing listing = ListingOnDisk(folder, entry);
    if (listing == Listing::Unlisted) return {Entry::Unlisted};
    return {entry.folder ? Entry::Folder : Entry::File, listing == Listing::Faded};
}

Result Win32RunTime::EntriesOf(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    Result read = ReadEntries(folder, [&](FolderEntry entry) { entries.push_back(std::move(entry)); });
    if (!read.ok) entries.clear();
    return read;
}


Result Win32RunTime::ReadSettingsFile(const std::wstring& path, std::string& bytes) {
    const OwnedFile file(CreateFileW(ForFileApi(path).c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return Result::Failure(SystemReason(GetLastError()));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size)) return Result::Failure(SystemReason(GetLastError()));
    if (size.QuadPart > kLargestSettingsFile) return Result::Failure(SystemReason(ERROR_FILE_TOO_LARGE));

    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr))
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
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE: {
            const bool bigEndian = encoding == TextEncoding::Utf16BE;
            std::wstring text(bytes.size() / 2, L'\0');
            for (size_t i = 0; i < text.size(); ++i) {
                const auto first = static_cast<unsigned char>(bytes[2 * i]);
                const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
                text[i] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
            }
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
// planted explorer.exe beside us on the drive must not run), started in
// that folder. The folder is one field in Explorer's own syntax: quotes
// enclose it, so commas and "=" stay part of it, and a backslash before the
// closing quote escapes nothing.
Result Win32RunTime::StartExplorer(std::wstring folder) {
    if (!IsExistingFolder(folder)) {
        const DWORD error = GetLastError();
        return Result::Failure(SystemReason(error == ERROR_SUCCESS ? ERROR_DIRECTORY : error));
    }
    if (HasNameTheShellAlters(folder)) return Result::Failure(SystemReason(ERROR_INVALID_NAME));

    std::wstring windows(MAX_PATH, L'\0');
    const UINT length = GetSystemWindowsDirectoryW(windows.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Result::Failure(SystemReason(GetLastError()));
    windows.resize(length);
    const std::wstring explorer = windows + (windows.ends_with(L'\\') ? L"" : L"\\") + L"explorer.exe";
    std::wstring commandLine = L"\"" + explorer + L"\" \"" + folder + L"\"";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(explorer.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        windows.c_str(), &startup, &process))
        return Result::Failure(SystemReason(GetLastError(), explorer));
    const OwnedFile thread(process.hThread), started(process.hProcess);
    return Result::Success();
}

// The shell's verb on file, wide-character so every name arrives intact,
// started in the file's own folder as Explorer starts it: ERROR_SUCCESS, or
// why not. The shell shows no error box of its own: a failure is the
// caller's to report, once.
DWORD Win32RunTime::RunShellVerb(const wchar_t* verb, const std::wstring& file) {
    using Execute = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    JoinSingleThreadedApartment();
    static const auto shellExecute = SystemFunctionAs<Execute>(L"shell32.dll", "ShellExecuteExW");
    if (!shellExecute) return ERROR_PROC_NOT_FOUND;

    const std::wstring folder = ParentFolder(file);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    execute.hwnd = owner_;
    execute.lpVerb = verb;
    execute.lpFile = file.c_str();
    execute.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (shellExecute(&execute)) return ERROR_SUCCESS;
    // A cancelled choice is told in the last error. The shell says "no
    // program" in hInstApp; the last error may then tell of a later attempt
    // (Wine leaves "not a valid application" there).
    const DWORD error = GetLastError();
    if (error == ERROR_CANCELLED) return error;
    return reinterpret_cast<INT_PTR>(execute.hInstApp) == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : error;
}

Result Win32RunTime::OpenWithAssociatedProgram(std::wstring file) {
    const std::wstring name = LastName(file);
    if (HasNameTheShellAlters(file)) return Result::Failure(SystemReason(ERROR_INVALID_NAME, name));
    const DWORD error = RunShellVerb(L"open", file);
    if (error == ERROR_SUCCESS) return Result::Success();
    if (error == ERROR_NO_ASSOCIATION) return Result::NoProgram(SystemReason(error, name));
    return Result::Failure(SystemReason(error, name));
}

// Told, as when no program is associated at all, when the choice fails.
Result Win32RunTime::OfferOpenWith(std::wstring file) {
    const DWORD error = RunShellVerb(L"openas", file);
    if (error == ERROR_SUCCESS || error == ERROR_CANCELLED) return Result::Success();
    return Result::Failure(SystemReason(ERROR_NO_ASSOCIATION, LastName(file)));
}

// Wine's ntdll, always loaded, exports wine_get_version; Windows' does not.
// Asked once: on Windows this lookup is the only call made for Wine.
bool Win32RunTime::RunsUnderWine() {
    static const bool wine = [] {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");  // loaded already; nothing is searched for
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }();
    return wine;
}

// Wine's winebrowser from the system folder, never a program found by
// searching, started in that folder so that nothing it starts holds the
// drive. Given the path as its one argument, it starts the desktop's opener
// with the path's file:// URI and ends: 0 when it started one, 1 when it
// found none.
Result Win32RunTime::HandToDesktop(std::wstring path) {
    if (GetFileAttributesW(ForFileApi(path).c_str()) == INVALID_FILE_ATTRIBUTES)
        return Result::Failure(SystemReason(GetLastError()));
    if (HasNameTheShellAlters(path)) return Result::Failure(SystemReason(ERROR_INVALID_NAME));

    std::wstring system(MAX_PATH, L'\0');
    const UINT length = GetSystemDirectoryW(system.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Result::Failure(SystemReason(GetLastError()));
    system.resize(length);
    const std::wstring browser = system + L"\\winebrowser.exe";
    // Read as the C run time reads arguments: a backslash before the closing
    // quote is doubled ("E:\\"), or it would escape the quote.
    std::wstring commandLine = L"\"" + browser + L"\" \"" + path + (path.ends_with(L'\\') ? L"\\\"" : L"\"");

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(browser.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        system.c_str(), &startup, &process))
        return Result::Failure(SystemReason(GetLastError(), browser));
    const OwnedFile thread(process.hThread), started(process.hProcess);
    DWORD code = 0;  // still running when the wait ends: taken as started
    if (WaitKeepingWindowAlive(process.hProcess, kLongestDesktopWaitMs)) GetExitCodeProcess(process.hProcess, &code);
    return code == 0 ? Result::Success() : Result::Failure(SystemReason(ERROR_NO_ASSOCIATION));
}
