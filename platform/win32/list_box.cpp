#include "list_box.h"

#include <commctrl.h>

#include <algorithm>

#include "owned.h"
#include "visible_text.h"

namespace {

// An entry's text starts after its indent and a small icon.
RECT TextRectIn(const RECT& entry, int indent) {
    return {entry.left + 2 + indent + ListBox::IconSize() + 4, entry.top, entry.right - 2, entry.bottom};
}

// How an entry's text is drawn, and measured: on one line, centred, no "&"
// taken for an underline, and never cut at its end.
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

// How wide text is drawn in dc, given its width as measured: DrawTextW may
// take characters the font lacks from another font, and be the wider.
int DrawnWidth(HDC dc, const std::wstring& text, int measured) {
    RECT drawn{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &drawn, kTextFormat | DT_CALCRECT);
    return std::max<int>(measured, drawn.right - drawn.left);
}

// text as it fits room pixels in dc's font: whole, or cut in the middle.
// The cut goes by the measured widths; while the drawing call finds it
// wider than the room, it is cut again, shorter by what overflowed.
std::wstring Fitted(HDC dc, const std::wstring& text, int room) {
    std::vector<int> ends(text.size());
    SIZE whole{};
    GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), 0, nullptr, ends.data(), &whole);
    if (DrawnWidth(dc, text, whole.cx) <= room) return text;
    SIZE ellipsis{};
    GetTextExtentPoint32W(dc, L"\u2026", 1, &ellipsis);
    std::wstring cut = CutInTheMiddle(text, ends, ellipsis.cx, room);
    for (int budget = room; budget > 0;) {
        const int over = DrawnWidth(dc, cut, 0) - room;
        if (over <= 0) break;
        budget -= over;
        cut = CutInTheMiddle(text, ends, ellipsis.cx, budget);
    }
    return cut;
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

void ListBox::Fill(const std::vector<Listed>& rows, int selected, bool keepScroll) {
    LPARAM bytes = 0;
    for (const auto& row : rows) bytes += static_cast<LPARAM>((row.name.size() + 1) * sizeof(wchar_t));

    const LRESULT topRow = keepScroll ? SendMessageW(handle_, LB_GETTOPINDEX, 0, 0) : 0;
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
    SendMessageW(handle_, LB_INITSTORAGE, rows.size(), bytes);
    for (const auto& row : rows) {
        const LRESULT added = SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.name.c_str()));
        if (row.faded) Mark(added, true);
    }
    SendMessageW(handle_, LB_SETCURSEL, selected, 0);
    if (keepScroll) SendMessageW(handle_, LB_SETTOPINDEX, topRow, 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

// Marked by the index adding or finding it gave: never -1, which would mark
// every row.
void ListBox::Mark(LRESULT row, bool faded) {
    if (row >= 0) SendMessageW(handle_, LB_SETITEMDATA, row, faded);
}

int ListBox::Count() const { return static_cast<int>(SendMessageW(handle_, LB_GETCOUNT, 0, 0)); }

void ListBox::BeginChanges() {
    changingSelected_ = Selected();
    changingTop_ = static_cast<int>(SendMessageW(handle_, LB_GETTOPINDEX, 0, 0));
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
}

void ListBox::InsertRow(int row, const Listed& entry) {
    Mark(SendMessageW(handle_, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(entry.name.c_str())), entry.faded);
    if (changingSelected_ >= row) ++changingSelected_;
    if (changingTop_ > row) ++changingTop_;
}

void ListBox::RemoveRow(int row) {
    SendMessageW(handle_, LB_DELETESTRING, row, 0);
    if (changingSelected_ == row) changingSelected_ = -1;
    else if (changingSelected_ > row) --changingSelected_;
    if (changingTop_ > row) --changingTop_;
}

// Selecting scrolls the selection into view; the top row is set after it.
void ListBox::EndChanges() {
    SendMessageW(handle_, LB_SETCURSEL, changingSelected_, 0);
    SendMessageW(handle_, LB_SETTOPINDEX, changingTop_, 0);
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

// The first row, from first on, whose text does not come before text (as
// std::lower_bound).
int ListBox::RowFor(const std::wstring& text, int first, ComesBefore comesBefore) const {
    for (int last = Count(); first < last;) {
        const int middle = first + (last - first) / 2;
        if (comesBefore(Text(middle), text)) first = middle + 1;
        else last = middle;
    }
    return first;
}

int ListBox::InsertInOrder(const Listed& entry, int first, ComesBefore comesBefore) {
    const int row = RowFor(entry.name, first, comesBefore);
    if (row < Count() && Text(row) == entry.name) {
        Mark(row, entry.faded);  // listed already: marked as the disk has it now
        return -1;
    }
    InsertRow(row, entry);
    return row;
}

int ListBox::RemoveInOrder(const std::wstring& text, int first, ComesBefore comesBefore) {
    const int row = RowFor(text, first, comesBefore);
    if (row >= Count() || Text(row) != text) return -1;
    RemoveRow(row);
    return row;
}

bool ListBox::SelectFirstMatching(const std::wstring& text) {
    LRESULT row = SendMessageW(handle_, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (row == LB_ERR) row = FirstHolding(text);
    if (row == LB_ERR) return false;
    Select(static_cast<int>(row));
    return true;
}

// The first row whose text holds text, ignoring case, or LB_ERR.
LRESULT ListBox::FirstHolding(std::wstring text) const {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    for (int row = 0, count = Count(); row < count; ++row) {
        std::wstring entry = Text(row);
        CharLowerBuffW(entry.data(), static_cast<DWORD>(entry.size()));
        if (entry.find(text) != std::wstring::npos) return row;
    }
    return LB_ERR;
}

// LB_FINDSTRINGEXACT ignores case, and a drive may hold names that differ
// only in case, so its finds are checked until one matches exactly.
int ListBox::FindExactly(const std::wstring& text) const {
    for (LRESULT after = -1;;) {
        const LRESULT row = SendMessageW(handle_, LB_FINDSTRINGEXACT, after, reinterpret_cast<LPARAM>(text.c_str()));
        if (row == LB_ERR || row <= after) return -1;  // none, or wrapped round to the top
        if (Text(static_cast<int>(row)) == text) return static_cast<int>(row);
        after = row;
    }
}

void ListBox::SetFont(HFONT font) {
    font_ = font;
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    const OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);

    const int height = std::max<int>(metrics.tmHeight, IconSize()) + 4;
    SendMessageW(handle_, LB_SETITEMHEIGHT, 0, height);
    InvalidateRect(handle_, nullptr, TRUE);
}

void ListBox::DrawEntry(const DRAWITEMSTRUCT& item, HIMAGELIST icons, int iconIndex, int indent) const {
    if (item.itemID == static_cast<UINT>(-1)) return;  // an empty list being focused
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool selected = item.itemState & ODS_SELECTED;
    SetDCBrushColor(dc, selected ? colours_->selection : colours_->background);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    if (icons && iconIndex >= 0) {
        IMAGELISTDRAWPARAMS icon{};
        icon.cbSize = sizeof icon;
        icon.himl = icons;
        icon.i = iconIndex;
        icon.hdcDst = dc;
        icon.x = rect.left + 2 + indent;
        icon.y = rect.top + (rect.bottom - rect.top - IconSize()) / 2;
        icon.fStyle = ILD_TRANSPARENT;
        icon.fState = item.itemData && colours_->fadeHiddenIcons ? ILS_ALPHA : ILS_NORMAL;
        icon.Frame = 128;  // ILS_ALPHA's opacity: half
        ImageList_DrawIndirect(&icon);
    }

    RECT textRect = TextRectIn(rect, indent);
    const std::wstring text = Fitted(dc, ShownText(static_cast<int>(item.itemID)), textRect.right - textRect.left);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? colours_->selectionText : item.itemData ? colours_->hiddenText : colours_->text);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, kTextFormat);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
}

RECT ListBox::TextRect(int row, int indent) const {
    RECT rect{};
    SendMessageW(handle_, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return TextRectIn(rect, indent);
}

std::wstring ListBox::ShownText(int row) const { return VisibleText(Text(row)); }

SIZE ListBox::TextSize(const std::wstring& shown) const {
    const OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.Get(), font_);
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), shown.c_str(), static_cast<int>(shown.size()), &size);
    size.cx = DrawnWidth(dc.Get(), shown, size.cx);  // as the entry measures it: the tip shows when it is cut
    return size;
}
