#pragma once
// Drives the real Verondel.exe from outside, as a person would: starts it
// on drive E:, finds its window and message boxes, reads its lists, and
// sends real mouse clicks and keys (SendInput). Launches are seen through
// the recorder, which stands in for Explorer and for a test file type.
//
// Input is handled by the program some time after it is sent, so nothing
// here sleeps for a fixed time: tests wait until they see what they expect
// (WaitUntil, WaitForBox, TakeLaunches), with a time limit.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "list_rows.h"
#include "test_drive.h"

// What a message box shows.
struct Box {
    HWND handle = nullptr;
    std::wstring title, text;
};

// How a launched program found itself started, as the recorder saw it.
struct HowStarted {
    UINT errorMode = 0;
    std::wstring folder;  // its current folder
};

class Verondel {
public:
    // Copies the exe to E:\ and starts it there, in folder startIn: the one
    // VERONDEL_EXE names, or exe (a Windows path) when one is given.
    explicit Verondel(const std::wstring& startIn = L"E:\\", const std::wstring& exe = {});
    ~Verondel();

    // The main window once it is visible, or nullptr after timeoutMs.
    HWND Window(int timeoutMs = 10000);
    // A message box of the program, or an empty Box after timeoutMs.
    Box WaitForBox(int timeoutMs = 10000);
    // Waits for a message box titled title, checks its text and presses OK.
    // The text is exactly text; or, when text ends in a line break, starts
    // with it and goes on with the system's reason.
    void ExpectBox(const std::wstring& text, const std::wstring& title = L"提示");
    void Close(const Box& box);  // presses its OK button
    // True when the program, once it answers a message, has no message box.
    // Input still on its way is not waited for: ask after something that
    // shows the input before was handled (the window showing, a launch).
    bool NoBox();

    // Launches recorded since the last call, one command line each. Waits
    // for expected (at least 1) of them, then until the program answers a
    // message and every program it started has ended, so a launch too many
    // is in the list too.
    std::vector<std::wstring> TakeLaunches(int expected, int timeoutMs = 5000);
    // How each program the last TakeLaunches took was started, in the
    // order they started.
    const std::vector<HowStarted>& TakenStarts() const { return starts_; }
    // Success when nothing was launched since the last TakeLaunches. Clicks
    // "打开文件夹" and waits for that Explorer launch: the program handles
    // input in order, so by then it has handled everything sent before.
    testing::AssertionResult NothingLaunched();

    // Sends message to the window with lParam pointing to a copy of data in
    // the program's memory: Wine passes most such pointers on as they are.
    // What the program wrote there is copied back into data.
    LRESULT SendWithData(UINT message, WPARAM wParam, void* data, size_t size);
    // Tells the program, as Windows does for each folder it watches, that
    // the drive is about to be removed (DBT_DEVICEQUERYREMOVE: it stops
    // watching), that the removal failed (DBT_DEVICEQUERYREMOVEFAILED) or
    // happened (DBT_DEVICEREMOVECOMPLETE); with a volume letter, that the
    // drive arrived (DBT_DEVICEARRIVAL).
    LRESULT SendDeviceChange(WPARAM event, wchar_t volume = 0);

    bool IsRunning() const;
    // Whether the program started, runs, and has its window or a box yet,
    // hidden or shown: what a failure of a wait for either prints.
    std::string State();
    HANDLE Process() const { return process_.hProcess; }

    // A window of the program's own of the given class, shown or hidden (a
    // tooltip is there from the start), or nullptr.
    HWND TopLevel(const wchar_t* className);

    HWND Dir1();
    HWND File1();
    HWND Command1();
    HWND Command2();

private:
    PROCESS_INFORMATION process_{};
    HANDLE job_ = nullptr;  // holds the program and what it starts
    DWORD startError_ = 0;  // why CreateProcessW failed, if it did
    HWND window_ = nullptr;
    std::vector<HowStarted> starts_;
};

// Makes window the foreground window, and waits until the thread that owns
// it has taken the activation; false after 2 s.
bool BringToFront(HWND window);

// Real input. ClickAt is PointAt, then PressLeftButton. None of them waits
// for the program to handle the input.
void PointAt(HWND control, int x, int y);
void PressLeftButton(bool doubleClick = false);
void ClickAt(HWND control, int x, int y, bool doubleClick = false);
POINT RowCentre(HWND list, int row);
void ClickRow(HWND list, int row, bool doubleClick = false);
void ClickButton(HWND button);
void PressKey(WORD key, bool shift = false);
// Types text as characters, whatever the keyboard layout: each arrives as
// WM_CHAR in the window with the keyboard focus, all in quick succession.
void TypeText(const std::wstring& text);

// Polls until done() is true; false after timeoutMs.
template <class Condition>
bool WaitUntil(Condition done, int timeoutMs = 5000) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (done()) return true;
        Sleep(20);
    }
    return done();
}

// The lines of a UTF-8 log, such as the recorder's.
std::vector<std::wstring> ReadLines(const std::wstring& path);

// How many launches are recorded so far; TakeLaunches takes them.
size_t LaunchesRecorded();

// Makes the recorder stand in for Explorer, for the program that opens
// files ending in extension (".lesson") and for the "Open with" choice
// offered for files ending in ".nothing"; clears the launch record.
void InstallRecorder(const std::wstring& extension);

