#pragma once
#include <windows.h>

#include <string>

#include "file_list_box.h"
#include "folder_list_box.h"

// The whole name of an entry the lists show cut, in a tip laid over the
// entry, as Explorer's lists do: while the pointer rests on the entry, or
// for a few seconds after a key or a tap moves the selection onto it. The
// lists' procedure hands it the messages that concern it, before the list
// handles each and after.
class NameTip {
public:
    NameTip(HWND window, const FolderListBox& dir1, const FileListBox& file1);
    NameTip(const NameTip&) = delete;
    NameTip& operator=(const NameTip&) = delete;

    // Every message to the lists is asked, 100,000 LB_ADDSTRINGs when a big
    // folder is listed, so this stays a plain switch.
    static bool Concerns(UINT message) {
        switch (message) {
            case WM_MOUSEMOVE: case WM_MOUSEHOVER: case WM_MOUSELEAVE: case WM_LBUTTONDOWN:
            case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_CHAR:
            case WM_KILLFOCUS: case WM_VSCROLL: case WM_MOUSEWHEEL:
            case LB_RESETCONTENT: case LB_INSERTSTRING: case LB_DELETESTRING:
                return true;
        }
        return false;
    }
    void Before(HWND list, UINT message, LPARAM lParam);
    void After(HWND list, UINT message);
    void Hide();

private:
    void PointerMoved(HWND list, LPARAM at);
    void ShowFor(HWND list, int row, bool forAWhile);
    void ShowOver(RECT text, const std::wstring& name, HFONT font);
    HWND Tip();

    HWND window_;
    HWND tip_ = nullptr;  // until first shown
    const FolderListBox& dir1_;
    const FileListBox& file1_;
    HWND pointerList_ = nullptr;  // the entry under the pointer
    int pointerRow_ = -1;
    bool followsPointer_ = false;  // the tip shown is the pointer's, not the selection's
    int selectedBefore_ = -1;      // before the key now being handled
    bool tapped_ = false;          // the button press now being handled is a tap
};
