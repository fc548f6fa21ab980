#include "name_order.h"

#include <cstdint>

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

// Appends the collation's key of text, written so that no such key begins
// another: bytes 0 and 1 become 1 1 and 1 2, and a 0 ends the key. Then a
// name's pieces compare one by one, whatever keys the collation makes.
void AppendTextKey(std::wstring_view text, const Collation& collation, std::string& keys) {
    const size_t start = keys.size();
    collation.AppendKey(text, keys);
    const size_t end = keys.size();
    size_t low = 0;
    for (size_t i = start; i < end; ++i) low += static_cast<unsigned char>(keys[i]) < 2;
    keys.resize(end + low);
    for (size_t from = end, to = end + low; from > start;) {
        const unsigned char byte = static_cast<unsigned char>(keys[--from]);
        keys[--to] = static_cast<char>(byte < 2 ? byte + 1 : byte);
        if (byte < 2) keys[--to] = 1;
    }
    keys += '\0';
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
    std::wstring textThenDigit;
    Number number;
    size_t textStart = 0;
    while (FindNumber(name, textStart, number)) {
        // The text before a number is keyed with a digit after it, so that
        // the number falls among text as a digit does: "a9.ppt" after
        // "a.doc" but before "ab.doc"; "9" after "_9" but before "a".
        textThenDigit.assign(name.substr(textStart, number.start - textStart));
        textThenDigit += L'0';
        AppendTextKey(textThenDigit, collation, keys);
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
