#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "list_colours.h"
#include "listing.h"

// A standard owner-drawn LISTBOX that keeps its strings, so screen readers
// and automation read every entry with LB_GETTEXT; each entry is drawn as a
// small system icon and the text, indented as its owner asks.
class ListBox {
public:
    ListBox(HWND parent, int id);
    ListBox(const ListBox&) = delete;
    ListBox& operator=(const ListBox&) = delete;

    HWND Handle() const { return handle_; }

    // Replaces every entry at once, with redraw off and storage reserved up
    // front, and highlights entry selected (-1 for none). When the entries
    // are the same folder read again, the list stays scrolled where it was.
    // A row marked faded has its icon drawn faded, as Explorer draws hidden
    // items; the mark moves with the row.
    void Fill(const std::vector<Listed>& rows, int selected, bool keepScroll);

    int Count() const;
    int Selected() const;
    void Select(int row);
    std::wstring Text(int row) const;

    // Changes rows in place, redrawn once at EndChanges: the highlight stays
    // on its entry (on none once that is removed), and the entry at the top
    // stays at the top.
    void BeginChanges();
    void InsertRow(int row, const Listed& entry);
    void RemoveRow(int row);
    void EndChanges();

    // In rows from first on, sorted by comesBefore: adds an entry in its
    // place, or marks it again if its text is there; or removes text if it
    // is there. The row it took or left, or -1 when none was added or removed.
    using ComesBefore = bool (*)(const std::wstring&, const std::wstring&);
    int InsertInOrder(const Listed& entry, int first, ComesBefore comesBefore);
    int RemoveInOrder(const std::wstring& text, int first, ComesBefore comesBefore);

    // Selects the first row whose text starts with text, ignoring case as
    // Windows does, or failing that the first that holds it anywhere (long
    // names share their beginnings); false, and nothing changed, when there
    // is none.
    bool SelectFirstMatching(const std::wstring& text);
    // The row whose text is exactly text, or -1.
    int FindExactly(const std::wstring& text) const;

    // Font and colours come from the window; the entry height follows the
    // font. The window keeps the colours, and changes them as Windows' do.
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    void SetColours(const ListColours& colours) { colours_ = &colours; }

    // Draws one entry: icon iconIndex of icons (none for -1), faded (or its
    // text greyed) for an entry marked hidden, then the text, cut in the
    // middle when it is too wide, so that its end stays visible.
    void DrawEntry(const DRAWITEMSTRUCT& item, HIMAGELIST icons, int iconIndex, int indent) const;
    // Where DrawEntry puts row's text at indent, in the list's client area.
    RECT TextRect(int row, int indent) const;
    // row's text as the list shows it (direction controls as markers), and
    // how wide and high that is, whole, in the list's font.
    std::wstring ShownText(int row) const;
    SIZE TextSize(const std::wstring& shown) const;

    static int IconSize() { return GetSystemMetrics(SM_CXSMICON); }

private:
    void Mark(LRESULT row, bool faded);
    LRESULT FirstHolding(std::wstring text) const;
    int RowFor(const std::wstring& text, int first, ComesBefore comesBefore) const;

    HWND handle_;
    const ListColours* colours_ = nullptr;
    HFONT font_ = nullptr;
    int changingSelected_ = -1, changingTop_ = 0;  // between BeginChanges and EndChanges
};
