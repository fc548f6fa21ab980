#pragma once
#include <cstddef>
#include <optional>
#include <string_view>
#include <type_traits>

// Where an item lies in the text, counted in characters.
struct ItemSpan {
    size_t start = 0, length = 0;
};

// Reads text as a list of items, the way the settings file has always been
// read, and returns where the last one lies (nullopt when there is none):
// - commas and line breaks (CR LF, CR or LF) separate items;
// - spaces and tabs before an item are skipped, and after an unquoted one
//   dropped, so "My Lessons" is one item;
// - an item that begins with " runs to the next ", commas and line breaks
//   included; whatever follows the closing quote up to the next separator
//   is dropped; an unclosed quote runs to the end of the text;
// - a blank line, or nothing between two commas, is an empty item;
// - blanks after the last separator are no item, and a Ctrl-Z character
//   ends the text, as old editors wrote it.
// Text is anything with size() and operator[] giving one character: bytes,
// UTF-16, or a view of UTF-16 file bytes. Every character it looks for is
// ASCII, and no byte of a double-byte ANSI character can be one of them.
// Nothing is copied, so a file of any size costs no more memory.
template <class Text>
std::optional<ItemSpan> LastListItemSpan(const Text& text) {
    using Char = std::remove_cvref_t<decltype(text[0])>;
    const auto at = [&](size_t i) { return static_cast<std::make_unsigned_t<Char>>(text[i]); };
    const auto isBlank = [&](size_t i) { return at(i) == ' ' || at(i) == '\t'; };
    const auto isSeparator = [&](size_t i) { return at(i) == ',' || at(i) == '\r' || at(i) == '\n'; };

    size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        if (at(i) == 0x1A) {  // Ctrl-Z
            n = i;
            break;
        }
    }

    std::optional<ItemSpan> last;
    size_t i = 0;
    while (i < n) {
        while (i < n && isBlank(i)) ++i;
        if (i == n) break;

        ItemSpan item;
        if (at(i) == '"') {
            size_t close = i + 1;
            while (close < n && at(close) != '"') ++close;
            item = {i + 1, close - i - 1};
            i = close < n ? close + 1 : n;
            while (i < n && !isSeparator(i)) ++i;
        } else {
            size_t end = i;
            while (end < n && !isSeparator(end)) ++end;
            item = {i, end - i};
            while (item.length > 0 && isBlank(item.start + item.length - 1)) --item.length;
            i = end;
        }

        if (i < n) {  // step over the separator; CR LF is one line break
            const bool crlf = at(i) == '\r' && i + 1 < n && at(i + 1) == '\n';
            i += crlf ? 2 : 1;
        }
        last = item;
    }
    return last;
}

// The last item itself, as a view into text.
template <class Char>
std::optional<std::basic_string_view<Char>> LastListItem(std::basic_string_view<Char> text) {
    const auto item = LastListItemSpan(text);
    if (!item) return std::nullopt;
    return text.substr(item->start, item->length);
}
