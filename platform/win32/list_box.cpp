#include "platform/win32/list_box.h"

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <atomic>
#include <map>

#include "platform/win32/system_dll.h"

namespace {

// SHGetFileInfoW, looked up on first use (see system_dll.h).
DWORD_PTR FileInfo(const wchar_t* name, DWORD attributes, SHFILEINFOW& info, UINT flags) {
    using Function = DWORD_PTR(WINAPI*)(const wchar_t*, DWORD, SHFILEINFOW*, UINT, UINT);
    static const auto getFileInfo = SystemFunctionAs<Function>(L"shell32.dll", "SHGetFileInfoW");
    return getFileInfo ? getFileInfo(name, attributes, &info, sizeof info, flags) : 0;
}

std::atomic<HIMAGELIST> systemIcons = nullptr;  // null until loaded

// The icon thread: loads the list, then asks the window to redraw.
DWORD WINAPI LoadSystemIcons(void* notify) {
    using Initialize = HRESULT(WINAPI*)(void*, DWORD);
    using Uninitialize = void(WINAPI*)();
    const auto initialize = SystemFunctionAs<Initialize>(L"ole32.dll", "CoInitializeEx");
    const auto uninitialize = SystemFunctionAs<Uninitialize>(L"ole32.dll", "CoUninitialize");
    const bool com = initialize && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    SHFILEINFOW info{};
    systemIcons = reinterpret_cast<HIMAGELIST>(
        FileInfo(L"folder", FILE_ATTRIBUTE_DIRECTORY, info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    PostMessageW(static_cast<HWND>(notify), WM_APP, 0, 0);
    if (com && uninitialize) uninitialize();
    return 0;
}

HWND CreateListBox(HWND parent, int id) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY |
                        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    return CreateWindowExW(0, L"LISTBOX", L"", style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

}  // namespace

ListBox::ListBox(HWND parent, int id) : handle_(CreateListBox(parent, id)) {}

void ListBox::Fill(const std::vector<std::wstring>& texts, int selected) {
    LPARAM bytes = 0;
    for (const auto& text : texts) bytes += static_cast<LPARAM>((text.size() + 1) * sizeof(wchar_t));

    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
    SendMessageW(handle_, LB_INITSTORAGE, texts.size(), bytes);
    for (const auto& text : texts) SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(handle_, LB_SETCURSEL, selected, 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

int ListBox::Selected() const {
    const LRESULT row = SendMessageW(handle_, LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void ListBox::Select(int row) { SendMessageW(handle_, LB_SETCURSEL, row, 0); }

std::wstring ListBox::Text(int row) const {
    const LRESULT length = SendMessageW(handle_, LB_GETTEXTLEN, row, 0);
    if (length == LB_ERR) return {};
    std::wstring text(length + 1, L'\0');
    const LRESULT copied = SendMessageW(handle_, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : copied);
    return text;
}

void ListBox::SetFont(HFONT font) {
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);

    const int height = std::max<int>(metrics.tmHeight, IconSize()) + 4;
    SendMessageW(handle_, LB_SETITEMHEIGHT, 0, height);
    InvalidateRect(handle_, nullptr, TRUE);
}

void ListBox::DrawEntry(const DRAWITEMSTRUCT& item, int iconIndex, int indent) const {
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list being focused
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(dc, &rect, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : background_);

    int x = rect.left + 2 + indent;
    if (iconIndex >= 0)
        ImageList_Draw(systemIcons, iconIndex, dc, x, rect.top + (rect.bottom - rect.top - IconSize()) / 2,
                       ILD_TRANSPARENT);
    x += IconSize() + 4;

    const std::wstring text = Text(static_cast<int>(item.itemID));
    RECT textRect{x, rect.top, rect.right - 2, rect.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
}

void ListBox::StartLoadingSystemIcons(HWND notify) {
    if (HANDLE thread = CreateThread(nullptr, 0, LoadSystemIcons, notify, 0, nullptr)) CloseHandle(thread);
}

int ListBox::IconForFolder(bool open) {
    if (!systemIcons) return -1;
    static int icons[2] = {-1, -1};
    int& icon = icons[open];
    if (icon < 0) {
        SHFILEINFOW info{};
        FileInfo(L"folder", FILE_ATTRIBUTE_DIRECTORY, info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0));
        icon = info.iIcon;
    }
    return icon;
}

// The icon of the file's type, from its name alone: no file is touched, so a
// slow or pulled drive never stalls drawing. Cached by extension.
int ListBox::IconForFileName(const std::wstring& name) {
    if (!systemIcons) return -1;
    static std::map<std::wstring, int> byExtension;
    const size_t dot = name.find_last_of(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    if (!extension.empty()) CharLowerBuffW(extension.data(), static_cast<DWORD>(extension.size()));
    auto found = byExtension.find(extension);
    if (found != byExtension.end()) return found->second;

    SHFILEINFOW info{};
    const std::wstring typical = L"file" + extension;
    FileInfo(typical.c_str(), FILE_ATTRIBUTE_NORMAL, info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return byExtension[extension] = info.iIcon;
}
