#include "visible_text.h"

#include <algorithm>

#include "decoys.h"

namespace {

bool IsDirectionControl(char32_t c) {
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Whether text may be cut just before text[at]: not between the halves of a
// surrogate pair, nor inside a marker ("<" and ">" never occur in a file
// name, so any "<" opens a marker).
bool MayCutBefore(std::wstring_view text, size_t at) {
    if (at == 0 || at >= text.size()) return true;
    if (text[at] >= 0xDC00 && text[at] <= 0xDFFF && text[at - 1] >= 0xD800 && text[at - 1] <= 0xDBFF) return false;
    const size_t open = text.rfind(L'<', at - 1);
    return open == std::wstring_view::npos || text.find(L'>', open) < at;
}

}  // namespace

char32_t NextCharacter(std::wstring_view text, size_t& at) {
    const char32_t c = static_cast<char32_t>(text[at++]);
    if (c < 0xD800 || c > 0xDBFF || at == text.size() || text[at] < 0xDC00 || text[at] > 0xDFFF) return c;
    return 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[at++]) - 0xDC00);
}

std::wstring VisibleText(std::wstring_view text) {
    const bool blank = IsBlankName(text);
    std::wstring visible;
    visible.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        const char32_t c = NextCharacter(text, at);
        if (c == 0) {
            visible += L'\xFFFD';
        } else if (blank || IsDirectionControl(c)) {
            constexpr wchar_t kHex[] = L"0123456789ABCDEF";
            visible += L"<U+";
            for (int shift = c > 0xFFFF ? 16 : 12; shift >= 0; shift -= 4) visible += kHex[(c >> shift) & 0xF];
            visible += L'>';
        } else {
            visible += text.substr(start, at - start);
        }
    }
    return visible;
}

std::wstring CutInTheMiddle(std::wstring_view text, std::span<const int> ends, int ellipsisWidth, int room) {
    const auto widthBefore = [&](size_t at) { return at == 0 ? 0 : ends[at - 1]; };
    const int whole = widthBefore(text.size());
    if (whole <= room) return std::wstring(text);
    const int left = std::max(0, room - ellipsisWidth);

    size_t tail = text.size();  // the end first, in two thirds of the room
    while (tail > 0 && whole - widthBefore(tail - 1) <= left * 2 / 3) --tail;
    while (!MayCutBefore(text, tail)) ++tail;
    while (tail < text.size() && text[tail] == L' ') ++tail;  // "…口算乘法", not "… 口算乘法"
    const size_t dot = text.rfind(L'.');  // the extension, whatever the room
    if (dot != std::wstring_view::npos && dot > 0 && text.size() - dot <= 12) tail = std::min(tail, dot);
    const int beginningRoom = left - (whole - widthBefore(tail));
    size_t head = 0;  // then the beginning, in what is left
    while (head < tail && widthBefore(head + 1) <= beginningRoom) ++head;
    while (!MayCutBefore(text, head)) --head;
    while (head > 0 && text[head - 1] == L' ') --head;

    std::wstring cut(text.substr(0, head));
    cut += L'\u2026';
    cut += text.substr(tail);
    return cut;
}
