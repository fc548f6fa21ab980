#include "platform/win32/list_box.h"

#include <commctrl.h>
#include <shellapi.h>

#include <map>

ListBox::ListBox(HWND parent, int id) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOTIFY |
                        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    handle_ = CreateWindowExW(0, L"LISTBOX", L"", style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

void ListBox::Fill(const std::vector<std::wstring>& texts, int selected) {
    size_t characters = 0;
    for (const auto& text : texts) characters += text.size() + 1;

    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
    SendMessageW(handle_, LB_INITSTORAGE, texts.size(), characters * sizeof(wchar_t));
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

    int iconWidth = 16, iconHeight = 16;
    ImageList_GetIconSize(SystemIcons(), &iconWidth, &iconHeight);
    const int height = std::max<int>(metrics.tmHeight, iconHeight) + 4;
    SendMessageW(handle_, LB_SETITEMHEIGHT, 0, height);
    InvalidateRect(handle_, nullptr, TRUE);
}

void ListBox::DrawEntry(const DRAWITEMSTRUCT& item, int iconIndex, int indent) const {
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list being focused
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(dc, &rect, selected ? GetSysColorBrush(COLOR_HIGHLIGHT) : background_);

    int iconWidth = 16, iconHeight = 16;
    ImageList_GetIconSize(SystemIcons(), &iconWidth, &iconHeight);
    int x = rect.left + 2 + indent;
    ImageList_Draw(SystemIcons(), iconIndex, dc, x, rect.top + (rect.bottom - rect.top - iconHeight) / 2,
                   ILD_TRANSPARENT);
    x += iconWidth + 4;

    const std::wstring text = Text(item.itemID);
    RECT textRect{x, rect.top, rect.right - 2, rect.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
}

HIMAGELIST ListBox::SystemIcons() {
    static HIMAGELIST icons = [] {
        SHFILEINFOW info{};
        return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                                                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    }();
    return icons;
}

int ListBox::IconForFolder(bool open) {
    static int icons[2] = {-1, -1};
    int& icon = icons[open];
    if (icon < 0) {
        SHFILEINFOW info{};
        SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (open ? SHGFI_OPENICON : 0));
        icon = info.iIcon;
    }
    return icon;
}

// The icon of the file's type, from its name alone: no file is touched, so a
// slow or pulled drive never stalls drawing. Cached by extension.
int ListBox::IconForFileName(const std::wstring& name) {
    static std::map<std::wstring, int> byExtension;
    const size_t dot = name.find_last_of(L'.');
    std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
    if (!extension.empty()) CharLowerBuffW(extension.data(), static_cast<DWORD>(extension.size()));
    auto found = byExtension.find(extension);
    if (found != byExtension.end()) return found->second;

    SHFILEINFOW info{};
    const std::wstring typical = L"file" + extension;
    SHGetFileInfoW(typical.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return byExtension[extension] = info.iIcon;
}
