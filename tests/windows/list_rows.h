#pragma once
// What a list box shows, read with the list box's own messages, so it works
// on a list of this process and on one of the program under test alike.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

inline int RowCount(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)); }

// The highlighted row, or -1.
inline int Highlighted(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

inline std::wstring RowText(HWND list, int row) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, row, 0);
    if (length == LB_ERR) return {};
    std::wstring text(length + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : copied);
    return text;
}

// Every row, top to bottom.
inline std::vector<std::wstring> Entries(HWND list) {
    std::vector<std::wstring> entries;
    for (int row = 0, count = RowCount(list); row < count; ++row) entries.push_back(RowText(list, row));
    return entries;
}

// The row showing name, or -1.
inline int RowOf(HWND list, const std::wstring& name) {
    const std::vector<std::wstring> rows = Entries(list);
    const auto found = std::find(rows.begin(), rows.end(), name);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}
