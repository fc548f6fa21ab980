#include "visible_text.h"

namespace {

bool IsDirectionControl(wchar_t c) {
    return c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::wstring VisibleText(std::wstring_view text) {
    std::wstring visible;
    visible.reserve(text.size());
    for (const wchar_t c : text) {
        if (c == L'\0') {
            visible += L'\xFFFD';
        } else if (IsDirectionControl(c)) {
            constexpr wchar_t kHex[] = L"0123456789ABCDEF";
            visible += L"<U+";
            for (int shift = 12; shift >= 0; shift -= 4) visible += kHex[(c >> shift) & 0xF];
            visible += L'>';
        } else {
            visible += c;
        }
    }
    return visible;
}
