#pragma once
#include <windows.h>

#include <memory>
#include <optional>

#include "file_list_box.h"
#include "folder_list_box.h"
#include "folder_scan.h"
#include "folder_watch_win32.h"
#include "form1.h"
#include "form_brushes.h"
#include "layout.h"
#include "name_tip.h"
#include "owned.h"
#include "runtime_win32.h"
#include "system_icons.h"

// Form1's Win32 host: creates the window and its four controls from the
// layout table, keeps them placed for the window's size and DPI, and routes
// each event to exactly one handler of Form1.
class Form1Window {
public:
    Form1Window(HINSTANCE instance, Win32RunTime& runTime);

    bool Create();       // hidden until Show()
    void Load();         // Form_Load, while nothing is on screen yet
    void Show(int how);  // as the program was asked to start: normal, maximised, minimised
    int RunMessageLoop();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnCommand(int id, int code);
    void OnSize(WPARAM type);
    LRESULT OnGetDpiScaledSize(int dpi, SIZE& size);
    void OnDpiChanged(int dpi, const RECT& suggested);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnIconsLoaded();
    void OnDestroy();
    bool OnKeyDown(const MSG& key);
    LRESULT OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

    void ApplyDpi(int dpi);
    HWND Control(ControlId id) const;

    HINSTANCE instance_;
    Win32RunTime& runTime_;
    HWND window_ = nullptr;
    std::optional<Win32FolderWatch> watch_;
    std::optional<FolderScanner> scanner_;
    SystemIcons icons_;
    FormBrushes brushes_;  // before the lists, which draw with its colours
    std::unique_ptr<FolderListBox> dir1_;
    std::unique_ptr<FileListBox> file1_;
    HWND command1_ = nullptr, command2_ = nullptr;
    std::optional<NameTip> tip_;
    std::optional<Form1> form_;
    OwnedFont font_;
    int dpi_ = 96;  // the DPI the form is laid out at
    HWND focusWhenInactive_ = nullptr;
};
