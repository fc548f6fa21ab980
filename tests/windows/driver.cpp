#include "driver.h"

#include <dbt.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

// Output goes to a pipe, where the C run time would hold it until the end:
// a test that hangs would then show nothing of how far it got.
const int kUnbufferedOutput = std::setvbuf(stdout, nullptr, _IONBF, 0);

struct Search {
    DWORD process;
    const wchar_t* className;
    bool visibleOnly;
    HWND found = nullptr;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (owner != search.process || (search.visibleOnly && !IsWindowVisible(window)) ||
        wcscmp(name, search.className) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

// A top-level window of the process, of the given class.
HWND FindTopLevel(DWORD process, const wchar_t* className, bool visibleOnly = true) {
    Search search{process, className, visibleOnly};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The active window as the thread that owns window sees it.
HWND ActiveWindowOfThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndActive;
}

std::wstring TextOf(HWND window) {
    wchar_t text[4096] = {};
    GetWindowTextW(window, text, 4096);
    return text;
}

DWORD programProcess = 0;  // the program the tests last started

// A window as a failure shows it: handle, class, caption, and whose it is.
std::string Describe(HWND window) {
    if (!window) return "none";
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    std::ostringstream text;
    text << window << " " << testing::PrintToString(std::wstring(name)) << " "
         << testing::PrintToString(TextOf(window)) << " of "
         << (owner == programProcess ? "the program" : owner == GetCurrentProcessId() ? "the test" : "process ")
         << (owner == programProcess || owner == GetCurrentProcessId() ? "" : std::to_string(owner));
    return text.str();
}

// The last input the tests sent, and what the screen was as it was sent.
struct LastInput {
    std::string what;
    POINT point{};
    UINT sent = 0, taken = 0;
    std::string foreground, underThePoint;
    bool any = false;
} lastInput;

void Sent(const char* what, UINT sent, UINT taken) {
    POINT point;
    GetCursorPos(&point);
    lastInput = {what, point, sent, taken, Describe(GetForegroundWindow()), Describe(WindowFromPoint(point)), true};
}

UINT Send(INPUT input) { return SendInput(1, &input, sizeof input); }

// A click or key that had no effect shows as a failed wait: each failure of
// a test that sent input says where the last input went, then and now.
class LostInputReport : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override { lastInput.any = false; }
    void OnTestPartResult(const testing::TestPartResult& result) override {
        if (!result.failed() || !lastInput.any) return;
        POINT now;
        GetCursorPos(&now);
        std::printf("Last input: %s at (%ld, %ld); SendInput took %u of %u events. As it was sent, the foreground "
                    "window was %s, under the pointer %s. Now the foreground is %s, under (%ld, %ld) %s.\n",
                    lastInput.what.c_str(), lastInput.point.x, lastInput.point.y, lastInput.taken, lastInput.sent,
                    lastInput.foreground.c_str(), lastInput.underThePoint.c_str(),
                    Describe(GetForegroundWindow()).c_str(), now.x, now.y, Describe(WindowFromPoint(now)).c_str());
    }
};
const bool kLostInputReported =
    (testing::UnitTest::GetInstance()->listeners().Append(new LostInputReport), true);

}  // namespace

Verondel::Verondel(const std::wstring& startIn, const std::wstring& exe) {
    CopyFileW((exe.empty() ? WindowsPathFromEnvironment("VERONDEL_EXE") : exe).c_str(), L"E:\\Verondel.exe", FALSE);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"E:\\Verondel.exe\"";
    if (!CreateProcessW(L"E:\\Verondel.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, startIn.c_str(),
                        &startup, &process_))
        startError_ = GetLastError();
    programProcess = process_.dwProcessId;
    // What the program starts joins its job, so TakeLaunches can tell when
    // every launch has ended (and so written its line), and so that nothing
    // it started outlives the test.
    job_ = CreateJobObjectW(nullptr, nullptr);
    AssignProcessToJobObject(job_, process_.hProcess);
}

Verondel::~Verondel() {
    if (job_) TerminateJobObject(job_, 0);  // what the program started, say after a failed test
    if (process_.hProcess) {
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    if (job_) CloseHandle(job_);
}

LRESULT Verondel::SendWithData(UINT message, WPARAM wParam, void* data, size_t size) {
    void* remote = VirtualAllocEx(process_.hProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    DWORD_PTR answer = 0;
    if (remote && WriteProcessMemory(process_.hProcess, remote, data, size, &written)) {
        SendMessageTimeoutW(Window(), message, wParam, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &answer);
        ReadProcessMemory(process_.hProcess, remote, data, size, &written);
    }
    if (remote) VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    return static_cast<LRESULT>(answer);
}

// Wine, as Windows, copies what a WM_DEVICECHANGE points to across, by its
// dbch_size, so here the pointer is this process's own.
LRESULT Verondel::SendDeviceChange(WPARAM event, wchar_t volume) {
    DEV_BROADCAST_HANDLE handle{};
    handle.dbch_size = sizeof handle;
    handle.dbch_devicetype = DBT_DEVTYP_HANDLE;
    DEV_BROADCAST_VOLUME drive{};
    drive.dbcv_size = sizeof drive;
    drive.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    drive.dbcv_unitmask = volume ? 1u << (volume - L'A') : 0;
    const LPARAM about = volume ? reinterpret_cast<LPARAM>(&drive) : reinterpret_cast<LPARAM>(&handle);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(Window(), WM_DEVICECHANGE, event, about, SMTO_ABORTIFHUNG, 5000, &answer);
    return static_cast<LRESULT>(answer);
}

bool Verondel::IsRunning() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

std::string Verondel::State() {
    std::ostringstream state;
    DWORD code = 0;
    if (!process_.hProcess) return "not started, error " + std::to_string(startError_);
    if (IsRunning()) state << "running";
    else if (GetExitCodeProcess(process_.hProcess, &code)) state << "ended with exit code 0x" << std::hex << code;
    const auto shown = [](HWND window) { return !window ? "none" : IsWindowVisible(window) ? "shown" : "hidden"; };
    state << "; window: " << shown(TopLevel(L"VerondelForm1")) << "; box: " << shown(TopLevel(L"#32770"));
    return state.str();
}

HWND Verondel::Window(int timeoutMs) {
    WaitUntil([&] { return (window_ = FindTopLevel(process_.dwProcessId, L"VerondelForm1")) != nullptr; }, timeoutMs);
    return window_;
}

Box Verondel::WaitForBox(int timeoutMs) {
    Box box;
    WaitUntil([&] { return (box.handle = FindTopLevel(process_.dwProcessId, L"#32770")) != nullptr; }, timeoutMs);
    if (box.handle) {
        WaitUntil([&] { return !TextOf(GetDlgItem(box.handle, 0xFFFF)).empty(); }, 2000);
        box.title = TextOf(box.handle);
        box.text = TextOf(GetDlgItem(box.handle, 0xFFFF));
    }
    return box;
}

void Verondel::ExpectBox(const std::wstring& text, const std::wstring& title) {
    const Box box = WaitForBox();
    ASSERT_NE(box.handle, nullptr) << "no message box (" << State() << "); expected " << testing::PrintToString(text);
    EXPECT_EQ(box.title, title);
    if (text.ends_with(L'\n')) {
        EXPECT_EQ(box.text.substr(0, text.size()), text) << testing::PrintToString(box.text);
        EXPECT_GT(box.text.size(), text.size()) << "no reason given";
    } else {
        EXPECT_EQ(box.text, text);
    }
    Close(box);
}

bool Verondel::NoBox() {
    DWORD_PTR answer;
    SendMessageTimeoutW(Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    // Visible or not: a box still being made counts too.
    return FindTopLevel(process_.dwProcessId, L"#32770", /*visibleOnly=*/false) == nullptr;
}

void Verondel::Close(const Box& box) {
    PostMessageW(box.handle, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box.handle); });
}

HWND Verondel::TopLevel(const wchar_t* className) {
    return FindTopLevel(process_.dwProcessId, className, /*visibleOnly=*/false);
}

HWND Verondel::Dir1() { return GetDlgItem(Window(), 101); }
HWND Verondel::Command1() { return GetDlgItem(Window(), 102); }
HWND Verondel::File1() { return GetDlgItem(Window(), 103); }
HWND Verondel::Command2() { return GetDlgItem(Window(), 104); }

bool BringToFront(HWND window) {
    // The program's own thread takes the activation a little after the
    // system has made the window the foreground one.
    return WaitUntil([&] {
        if (GetForegroundWindow() != window) SetForegroundWindow(window);
        return GetForegroundWindow() == window && ActiveWindowOfThreadOf(window) == window;
    }, 2000);
}

// Brings the control's window to the front and the pointer over (x, y).
void PointAt(HWND control, int x, int y) {
    BringToFront(GetAncestor(control, GA_ROOT));  // a launched program may have taken the foreground
    POINT point{x, y};
    ClientToScreen(control, &point);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(point.x, 65535, width - 1);
    move.mi.dy = MulDiv(point.y, 65535, height - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Under Wine the pointer is also moved on the X side, and a late X motion
    // event can put it back where it was: move until it stays put, so the
    // button goes down where the pointer now is.
    const auto there = [&] {
        POINT now;
        GetCursorPos(&now);
        return std::abs(now.x - point.x) <= 1 && std::abs(now.y - point.y) <= 1;
    };
    for (int steady = 0, tries = 0; steady < 5 && tries < 100; ++tries) {
        if (!there()) {
            steady = 0;
            Send(move);
        } else {
            ++steady;
        }
        Sleep(20);
    }
}

void PressLeftButton(bool doubleClick) {
    INPUT button{};
    button.type = INPUT_MOUSE;
    UINT sent = 0, taken = 0;
    for (int click = 0; click < (doubleClick ? 2 : 1); ++click) {
        button.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        taken += Send(button);
        button.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        taken += Send(button);
        sent += 2;
    }
    Sent(doubleClick ? "a double-click" : "a click", sent, taken);
}

void ClickAt(HWND control, int x, int y, bool doubleClick) {
    PointAt(control, x, y);
    // Two clicks on one spot within the double-click time make a double-click:
    // a click on the spot of the last one waits until that time has passed.
    static HWND lastControl = nullptr;
    static POINT lastPoint{};
    static ULONGLONG lastTime = 0;
    const bool sameSpot = control == lastControl && std::abs(x - lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                          std::abs(y - lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
    const ULONGLONG apart = GetDoubleClickTime() + 50, since = GetTickCount64() - lastTime;
    if (sameSpot && since < apart) Sleep(static_cast<DWORD>(apart - since));
    PressLeftButton(doubleClick);
    lastInput.what += " aimed at " + Describe(control);
    lastControl = control;
    lastPoint = {x, y};
    lastTime = GetTickCount64();
}

POINT RowCentre(HWND list, int row) {
    const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    const int height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    return {60, (row - top) * height + height / 2};
}

void ClickRow(HWND list, int row, bool doubleClick) {
    const POINT centre = RowCentre(list, row);
    ClickAt(list, centre.x, centre.y, doubleClick);
}

void ClickButton(HWND button) {
    RECT rect;
    GetClientRect(button, &rect);
    ClickAt(button, rect.right / 2, rect.bottom / 2);
}

void PressKey(WORD key, bool shift) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    UINT taken = 0;
    if (shift) {
        input.ki.wVk = VK_SHIFT;
        taken += Send(input);
    }
    input.ki.wVk = key;
    input.ki.dwFlags = 0;
    taken += Send(input);
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    taken += Send(input);
    if (shift) {
        input.ki.wVk = VK_SHIFT;
        taken += Send(input);
    }
    const std::string what = "virtual key " + std::to_string(key) + (shift ? " with Shift" : "");
    Sent(what.c_str(), shift ? 4 : 2, taken);
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> keys;
    for (const wchar_t c : text) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = c;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
        keys.push_back(key);
        key.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        keys.push_back(key);
    }
    const UINT taken = SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    Sent(("typing " + testing::PrintToString(text)).c_str(), static_cast<UINT>(keys.size()), taken);
}

namespace {

constexpr wchar_t kLaunchLog[] = L"C:\\launches.txt";
constexpr wchar_t kStartLog[] = L"C:\\launch-starts.txt";  // "<error mode> <current folder>" per launch

}  // namespace

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    HANDLE log = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    if (log == INVALID_HANDLE_VALUE) return lines;
    std::string bytes(GetFileSize(log, nullptr), '\0');
    DWORD read = 0;
    ReadFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(log);
    for (size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = bytes.substr(start, end - start);
        std::wstring wide(line.size(), L'\0');
        wide.resize(MultiByteToWideChar(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), wide.data(),
                                        static_cast<int>(wide.size())));
        lines.push_back(wide);
    }
    return lines;
}

namespace {

std::vector<std::wstring> ReadLaunches() { return ReadLines(kLaunchLog); }

}  // namespace

size_t LaunchesRecorded() { return ReadLaunches().size(); }

std::vector<std::wstring> Verondel::TakeLaunches(int expected, int timeoutMs) {
    // A launch seen means the input that caused it has been handled. Once the
    // program answers a message it has finished that handler, so whatever
    // else it launched has started; once those have ended, they have written
    // their lines.
    WaitUntil([&] { return static_cast<int>(ReadLaunches().size()) >= expected; }, timeoutMs);
    DWORD_PTR answer;
    SendMessageTimeoutW(Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer);
    WaitUntil([&] {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION job{};
        QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &job, sizeof job, nullptr);
        return job.ActiveProcesses <= 1;  // the program alone
    }, timeoutMs);
    std::vector<std::wstring> launches = ReadLaunches();
    DeleteFileW(kLaunchLog);
    starts_.clear();
    for (const std::wstring& line : ReadLines(kStartLog)) {
        const size_t space = line.find(L' ');
        starts_.push_back({static_cast<UINT>(std::wcstoul(line.c_str(), nullptr, 10)),
                           space == std::wstring::npos ? std::wstring() : line.substr(space + 1)});
    }
    DeleteFileW(kStartLog);
    return launches;
}

testing::AssertionResult Verondel::NothingLaunched() {
    ClickButton(Command1());
    std::vector<std::wstring> launches = TakeLaunches(1);
    const std::wstring explorer = L"\"C:\\windows\\explorer.exe\"";
    const auto known = std::find_if(launches.begin(), launches.end(),
                                    [&](const std::wstring& launch) { return launch.starts_with(explorer); });
    if (known == launches.end()) return testing::AssertionFailure() << "\"打开文件夹\" launched no Explorer";
    launches.erase(known);
    if (!launches.empty()) return testing::AssertionFailure() << "launched " << testing::PrintToString(launches);
    return testing::AssertionSuccess();
}

void InstallRecorder(const std::wstring& extension) {
    const std::wstring recorder = WindowsPathFromEnvironment("VERONDEL_RECORDER");
    CreateDirectoryW(L"C:\\test", nullptr);
    CopyFileW(recorder.c_str(), L"C:\\test\\record.exe", FALSE);
    CopyFileW(recorder.c_str(), L"C:\\windows\\explorer.exe", FALSE);
    CopyFileW(recorder.c_str(), L"C:\\windows\\syswow64\\explorer.exe", FALSE);

    const auto setDefault = [](const std::wstring& key, const std::wstring& value) {
        HKEY handle;
        RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
        RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
    };
    setDefault(extension, L"Test.lessonfile");
    setDefault(L"Test.lessonfile\\shell\\open\\command", L"\"C:\\test\\record.exe\" \"%1\"");
    // .nothing has no program, only the system's "Open with" choice, which
    // the recorder stands in for too (Wine's would be a window of its own).
    setDefault(L".nothing", L"Test.nothingfile");
    setDefault(L"Test.nothingfile\\shell\\openas\\command", L"\"C:\\test\\record.exe\" \"%1\"");
    DeleteFileW(kLaunchLog);
    DeleteFileW(kStartLog);
}
