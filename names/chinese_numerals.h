#pragma once
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

// Numbers written in Chinese numerals, as lessons and weeks are named:
// 第十一周, 三年级, 十二课时.

// 〇零一二两三四五六七八九十百千万, and 廿 (二十) and 卅 (三十).
inline constexpr std::wstring_view kChineseNumerals = L"〇零一二两三四五六七八九十百千万廿卅";

// Names are mostly Chinese characters, and asked of each one in turn, a
// search through the numerals would cost more than the rest of the order.
// Their codes modulo 65 differ, so one look in a table answers.
inline constexpr size_t kNumeralPlaces = 65;
inline constexpr std::array<wchar_t, kNumeralPlaces> kNumeralAt = [] {
    std::array<wchar_t, kNumeralPlaces> at{};
    for (wchar_t c : kChineseNumerals) at[c % kNumeralPlaces] = c;
    return at;
}();
static_assert(std::ranges::all_of(kChineseNumerals, [](wchar_t c) { return kNumeralAt[c % kNumeralPlaces] == c; }),
              "two numerals share a place in the table");

inline bool IsChineseNumeral(wchar_t c) { return c != 0 && kNumeralAt[c % kNumeralPlaces] == c; }

// Whether the run of numerals name[start, end) stands where a number stands:
// right after 第 (第三周), or right before a counter (三班, 一年级, 十二课时).
// Anywhere else the numerals are part of a word: 统一, 一样, 万一, 十分.
bool StandsAsNumber(std::wstring_view name, size_t start, size_t end);

// The value of a run of numerals as decimal digits without leading zeros,
// of any length: "105" for 一百零五, "2024" for 二〇二四. False when the run
// is not one number: 十十, 一百百, or a pair such as 五六 (五六年级 is the
// fifth and sixth grades, not the 56th).
bool ReadChineseNumber(std::wstring_view run, std::string& digits);
