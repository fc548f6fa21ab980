#pragma once
// Drives the real Verondel.exe from outside, as a person would: starts it
// on drive E:, finds its window and message boxes, reads its lists, and
// sends real mouse clicks and keys (SendInput). Launches are seen through
// the recorder, which stands in for Explorer and for a test file type.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "list_rows.h"

// What a message box shows.
struct Box {
    HWND handle = nullptr;
    std::wstring title, text;
};

class Verondel {
public:
    // Copies the exe to E:\ and starts it there, in folder startIn.
    explicit Verondel(const std::wstring& startIn = L"E:\\");
    ~Verondel();

    // The main window once it is visible, or nullptr after timeoutMs.
    HWND Window(int timeoutMs = 10000);
    // A message box of the program, or an empty Box after timeoutMs.
    Box WaitForBox(int timeoutMs = 10000);
    // True when no message box appears within ms.
    bool NoBoxFor(int ms);
    // Waits for a message box titled title, checks its text and presses OK.
    // The text is exactly text; or, when text ends in a line break, starts
    // with it and goes on with the system's reason.
    void ExpectBox(const std::wstring& text, const std::wstring& title = L"提示");
    void Close(const Box& box);  // presses its OK button

    bool IsRunning() const;
    HANDLE Process() const { return process_.hProcess; }

    HWND Dir1();
    HWND File1();
    HWND Command1();
    HWND Command2();

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// Real input. ClickAt is PointAt, then PressLeftButton, then a short wait.
void PointAt(HWND control, int x, int y);
void PressLeftButton(bool doubleClick = false);
void ClickAt(HWND control, int x, int y, bool doubleClick = false);
POINT RowCentre(HWND list, int row);
void ClickRow(HWND list, int row, bool doubleClick = false);
void ClickButton(HWND button);
void PressKey(WORD key, bool shift = false);

// Polls until done() is true; false after timeoutMs.
template <class Condition>
bool WaitUntil(Condition done, int timeoutMs = 5000) {
    for (int waited = 0; waited < timeoutMs; waited += 20) {
        if (done()) return true;
        Sleep(20);
    }
    return done();
}

// Launches recorded since the last call, one command line each.
std::vector<std::wstring> TakeLaunches(int expected, int timeoutMs = 5000);

// Makes the recorder stand in for Explorer and open files ending in
// extension (".lesson"); clears the launch record.
void InstallRecorder(const std::wstring& extension);

// Wine's name for a Linux path given in an environment variable.
std::wstring WindowsPathFromEnvironment(const char* variable);
