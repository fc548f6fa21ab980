#pragma once
#include <string>
#include <string_view>

#include "collation.h"

// The order of names in the lists. A name is read as pieces of text and
// numbers, and names compare piece by piece: text by the collation, numbers
// by value, so Week2 comes before Week10 and 第九周 before 第十周.
// - A number is a run of digits, or a run of Chinese numerals that stands
//   where a number stands (see chinese_numerals.h). Both compare by value
//   alike: 第2课, 第三课, 第10课, 第十一课.
// - A number is placed among text as a digit is: after a space or
//   punctuation, before letters and Chinese characters.
// - Names equal so far go in the same order every time: a number in digits
//   before the same in numerals, fewer leading zeros first (1 before 01),
//   then by the collation of the whole name, then by the characters' codes.
//
// The order is given in two parts, so that a long list is sorted quickly:
// a key per name, made once, and for names with equal keys a tie-break.

// Appends name's key to keys. Names whose keys differ are ordered as their
// keys: byte by byte, as unsigned bytes, a key first when it begins the
// other.
void AppendNameKey(std::wstring_view name, const Collation& collation, std::string& keys);

// Orders two names whose keys are equal.
bool TieLess(std::wstring_view a, std::wstring_view b, const Collation& collation);

// The whole order at once, for one comparison: the keys, then the tie-break.
bool NameLess(std::wstring_view a, std::wstring_view b, const Collation& collation);
