#include "name_order.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "chinese_numerals.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A number in a name: where it stands, its value and how it is written.
struct Number {
    size_t start = 0, end = 0;
    std::string digits;  // the value, without leading zeros: "0", "10"
    bool numerals = false;
};

// Finds the first number in name at or after from; false when there is none.
bool FindNumber(std::wstring_view name, size_t from, Number& number) {
    for (size_t i = from; i < name.size();) {
        size_t end = i;
        if (IsDigit(name[i])) {
            while (end < name.size() && IsDigit(name[end])) ++end;
            size_t first = i;
            while (first + 1 < end && name[first] == L'0') ++first;
            number.digits.clear();
            for (size_t k = first; k < end; ++k) number.digits += static_cast<char>(name[k]);
            number.start = i;
            number.end = end;
            number.numerals = false;
            return true;
        }
        if (!IsChineseNumeral(name[i])) {
            ++i;
            continue;
        }
        while (end < name.size() && IsChineseNumeral(name[end])) ++end;
        if (StandsAsNumber(name, i, end) && ReadChineseNumber(name.substr(i, end - i), number.digits)) {
            number.start = i;
            number.end = end;
            number.numerals = true;
            return true;
        }
        i = end;  // a word such as 统一
    }
    return false;
}

// Appends the collation's key of text and a zero byte, which no key holds:
// so no text's key runs on into the next piece, and a name's pieces compare
// one by one.
void AppendTextKey(std::wstring_view text, const Collation& collation, std::string& keys) {
    collation.AppendKey(text, keys);
    keys += '\0';
}

// The text before a number is keyed with the digit 0 after it, so that the
// number falls among text as a digit does: "a9.ppt" after "a.doc" but before
// "ab.doc"; "9" after "_9" but before "a". Names from the file system fit the
// buffer; only longer ones are copied to the heap.
void AppendTextThenDigit(std::wstring_view text, const Collation& collation, std::string& keys) {
    wchar_t buffer[256];
    if (text.size() >= std::size(buffer)) {
        AppendTextKey(std::wstring(text) + L'0', collation, keys);
        return;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'0';
    AppendTextKey(std::wstring_view(buffer, text.size() + 1), collation, keys);
}

// A number's key: how many digits, then the digits. A longer number is a
// larger one, however long.
void AppendNumberKey(const std::string& digits, std::string& keys) {
    const uint32_t length = static_cast<uint32_t>(digits.size());
    for (int shift = 24; shift >= 0; shift -= 8) keys += static_cast<char>(length >> shift & 0xFF);
    keys += digits;
}

// How a number is written, for ties: digits before numerals, and the fewer
// characters (leading zeros) first.
size_t Form(const Number& number) { return number.numerals ? SIZE_MAX : number.end - number.start; }

}  // namespace

void AppendNameKey(std::wstring_view name, const Collation& collation, std::string& keys) {
    Number number;
    size_t textStart = 0;
    while (FindNumber(name, textStart, number)) {
        AppendTextThenDigit(name.substr(textStart, number.start - textStart), collation, keys);
        AppendNumberKey(number.digits, keys);
        textStart = number.end;
    }
    if (textStart < name.size()) AppendTextKey(name.substr(textStart), collation, keys);
}

bool TieLess(std::wstring_view a, std::wstring_view b, const Collation& collation) {
    Number x, y;
    for (size_t i = 0, j = 0;;) {
        const bool inA = FindNumber(a, i, x), inB = FindNumber(b, j, y);
        if (!inA || !inB) {
            if (inA != inB) return inB;
            break;
        }
        if (Form(x) != Form(y)) return Form(x) < Form(y);
        i = x.end;
        j = y.end;
    }
    std::string keyA, keyB;
    collation.AppendKey(a, keyA);
    collation.AppendKey(b, keyB);
    if (keyA != keyB) return keyA < keyB;
    return a < b;
}

bool NameLess(std::wstring_view a, std::wstring_view b, const Collation& collation) {
    std::string keyA, keyB;
    AppendNameKey(a, collation, keyA);
    AppendNameKey(b, collation, keyB);
    if (keyA != keyB) return keyA < keyB;
    return TieLess(a, b, collation);
}
