#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "platform/win32/file_list_box.h"
#include "platform/win32/folder_list_box.h"
#include "platform/win32/runtime_win32.h"
#include "window/form1.h"
#include "window/layout.h"

// Form1's Win32 host: creates the window and its four controls from the
// layout table, keeps them scaled to the window's DPI, and routes each event
// to exactly one handler of Form1.
class Form1Window {
public:
    Form1Window(HINSTANCE instance, Win32RunTime& app);
    ~Form1Window();

    bool Create();  // hidden until Show()
    void Load();    // Form_Load, while nothing is on screen yet
    void Show();
    int RunMessageLoop();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnCommand(int id, int code);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnIconsReady();
    bool OnEnterKey(HWND focus);
    void OpenHighlightedFolder();

    void ApplyDpi(int dpi);
    HWND Control(ControlId id) const;

    // Runs a handler; a failure nobody foresaw shows one box and ends the program.
    template <class Handler>
    void Guarded(Handler handler);

    HINSTANCE instance_;
    Win32RunTime& app_;
    HWND window_ = nullptr;
    std::unique_ptr<FolderListBox> dir1_;
    std::unique_ptr<FileListBox> file1_;
    HWND command1_ = nullptr, command2_ = nullptr;
    std::optional<Form1> form_;
    HFONT font_ = nullptr;
    HBRUSH background_ = nullptr, controlBackground_ = nullptr;
    HWND focusWhenInactive_ = nullptr;
};
