#include "name_tip.h"

#include <commctrl.h>

#include <algorithm>

namespace {

constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kShownForAWhileMs = 5000;

// The tip's one tool: placed by the program (tracked), and transparent to
// the mouse, so that a click on the tip is a click on the entry below it.
TTTOOLINFOW Tool(HWND window) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = window;
    tool.uId = 1;
    tool.lpszText = const_cast<wchar_t*>(L"");
    return tool;
}

// A tip that a key or a tap showed goes by itself.
void CALLBACK HideAfterAWhile(HWND tip, UINT, UINT_PTR timer, DWORD) {
    KillTimer(tip, timer);
    TTTOOLINFOW tool = Tool(GetWindow(tip, GW_OWNER));
    SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// Windows marks the mouse messages it makes from a pen or a touch.
bool FromPenOrTouch() { return (GetMessageExtraInfo() & 0xFFFFFF00) == 0xFF515700; }

int Selected(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

// The entry at a point of the list, or -1. Every entry is as high as the
// next (LBS_OWNERDRAWFIXED); LB_ITEMFROMPOINT would count only to 65,535.
int RowAt(HWND list, LPARAM at) {
    const POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    RECT client;
    GetClientRect(list, &client);
    const auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    if (!PtInRect(&client, point) || height <= 0) return -1;
    const auto row = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)) + point.y / height;
    return row < static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)) ? row : -1;
}

}  // namespace

NameTip::NameTip(HWND window, const FolderListBox& dir1, const FileListBox& file1)
    : window_(window), dir1_(dir1), file1_(file1) {}

// Made when first shown: creating it costs start-up time a tip may never need.
HWND NameTip::Tip() {
    if (tip_) return tip_;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};  // the tooltip's
    InitCommonControlsEx(&classes);
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | TTS_NOANIMATE | TTS_NOFADE, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
    TTTOOLINFOW tool = Tool(window_);
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return tip_;
}

// The pointer shows and hides the tip; a key hides it, and the tip of the
// entry a key or a tap selects shows after it; scrolling, new entries or
// the focus leaving take it away.
void NameTip::Before(HWND list, UINT message, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE: PointerMoved(list, lParam); return;
        case WM_MOUSEHOVER: if (list == pointerList_) ShowFor(list, pointerRow_, false); return;
        case WM_MOUSELEAVE:
            pointerList_ = nullptr;
            pointerRow_ = -1;
            if (followsPointer_) Hide();
            return;
        case WM_LBUTTONDOWN: tapped_ = FromPenOrTouch(); return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            Hide();
            selectedBefore_ = Selected(list);
            return;
        case WM_CHAR: selectedBefore_ = Selected(list); return;
        default:
            Hide();
            pointerRow_ = -1;  // the entries moved under the pointer
            return;
    }
}

void NameTip::After(HWND list, UINT message) {
    const bool key = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR;
    if ((key && Selected(list) != selectedBefore_) || (message == WM_LBUTTONDOWN && tapped_))
        ShowFor(list, Selected(list), true);
}

void NameTip::Hide() {
    if (!IsWindowVisible(tip_)) return;
    KillTimer(tip_, kHideTimer);
    TTTOOLINFOW tool = Tool(window_);
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

// The tip shows once the pointer rests on an entry (WM_MOUSEHOVER); while
// one shows, the next shows as soon as the pointer reaches its entry. A pen
// or a touch has no pointer that rests: its tap shows the tip (After).
void NameTip::PointerMoved(HWND list, LPARAM at) {
    if (FromPenOrTouch()) return;
    const int row = RowAt(list, at);
    if (list == pointerList_ && row == pointerRow_) return;
    pointerList_ = list;
    pointerRow_ = row;
    if (IsWindowVisible(tip_)) ShowFor(list, row, false);
    TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, list, HOVER_DEFAULT};
    TrackMouseEvent(&track);
}

// Shows the whole name of row when the entry shows it cut and is in view;
// else hides the tip.
void NameTip::ShowFor(HWND list, int row, bool forAWhile) {
    const bool inDir1 = list == dir1_.Box().Handle();
    const ListBox& box = inDir1 ? dir1_.Box() : file1_.Box();
    const std::wstring name = row < 0 ? std::wstring() : box.ShownText(row);
    const RECT room = box.TextRect(row, inDir1 ? dir1_.Indent(row) : 0);
    const SIZE size = box.TextSize(name);
    RECT client;
    GetClientRect(list, &client);
    const bool cut = !name.empty() && size.cx > room.right - room.left;
    if (!cut || room.top < client.top || room.bottom > client.bottom) {
        Hide();
        return;
    }
    const int top = room.top + (room.bottom - room.top - size.cy) / 2;  // the entry's text is centred
    RECT text{room.left, top, room.left + size.cx, top + size.cy};
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&text), 2);
    ShowOver(text, name, box.Font());
    followsPointer_ = !forAWhile;
    if (forAWhile) SetTimer(tip_, kHideTimer, kShownForAWhileMs, HideAfterAWhile);
    else KillTimer(tip_, kHideTimer);
}

// The tip's text exactly over text (screen coordinates), in font; moved left
// as far as it must to stay on the screen, and wrapped if even that is not
// enough.
void NameTip::ShowOver(RECT text, const std::wstring& name, HFONT font) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&text, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& screen = monitor.rcWork;

    TTTOOLINFOW tool = Tool(window_);
    tool.lpszText = const_cast<wchar_t*>(name.c_str());
    Tip();
    SendMessageW(tip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, screen.right - screen.left);
    SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&text));
    const auto bubble = static_cast<DWORD>(SendMessageW(tip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool)));
    const int x = std::max<int>(screen.left, std::min<int>(text.left, screen.right - LOWORD(bubble)));
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, text.top));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}
