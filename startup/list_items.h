#pragma once
#include <optional>
#include <string_view>

// Reads text as a list of items, the way the settings file has always been
// read, and returns the last one (nullopt when there is none):
// - commas and line breaks (CR LF, CR or LF) separate items;
// - spaces and tabs before an item are skipped, and after an unquoted one
//   dropped, so "My Lessons" is one item;
// - an item that begins with " runs to the next ", commas and line breaks
//   included; whatever follows the closing quote up to the next separator
//   is dropped; an unclosed quote runs to the end of the text;
// - a blank line, or nothing between two commas, is an empty item;
// - blanks after the last separator are no item, and a Ctrl-Z byte ends
//   the text, as old editors wrote it.
// Works on bytes and on UTF-16 alike: every character it looks for is ASCII,
// and no byte of a double-byte ANSI character can be one of them.
template <class Char>
std::optional<std::basic_string_view<Char>> LastListItem(std::basic_string_view<Char> text) {
    constexpr Char kCtrlZ = 0x1A;
    const auto isBlank = [](Char c) { return c == Char(' ') || c == Char('\t'); };
    const auto isSeparator = [](Char c) {
        return c == Char(',') || c == Char('\r') || c == Char('\n');
    };

    if (auto end = text.find(kCtrlZ); end != text.npos) text = text.substr(0, end);
    const size_t n = text.size();

    std::optional<std::basic_string_view<Char>> last;
    size_t i = 0;
    while (i < n) {
        while (i < n && isBlank(text[i])) ++i;
        if (i == n) break;

        std::basic_string_view<Char> item;
        if (text[i] == Char('"')) {
            size_t close = text.find(Char('"'), i + 1);
            if (close == text.npos) close = n;
            item = text.substr(i + 1, close - i - 1);
            i = close < n ? close + 1 : n;
            while (i < n && !isSeparator(text[i])) ++i;
        } else {
            size_t end = i;
            while (end < n && !isSeparator(text[end])) ++end;
            item = text.substr(i, end - i);
            while (!item.empty() && isBlank(item.back())) item.remove_suffix(1);
            i = end;
        }

        if (i < n) {  // step over the separator; CR LF is one line break
            const bool crlf = text[i] == Char('\r') && i + 1 < n && text[i + 1] == Char('\n');
            i += crlf ? 2 : 1;
        }
        last = item;
    }
    return last;
}
