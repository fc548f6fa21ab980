#pragma once
#include <string>
#include <string_view>

// Numbers written in Chinese numerals, as lessons and weeks are named:
// 第十一周, 三年级, 十二课时.

// 〇零一二两三四五六七八九十百千万, and 廿 (二十) and 卅 (三十).
bool IsChineseNumeral(wchar_t c);

// Whether the run of numerals name[start, end) stands where a number stands:
// right after 第 (第三周), or right before a counter (三班, 一年级, 十二课时).
// Anywhere else the numerals are part of a word: 统一, 一样, 万一, 十分.
bool StandsAsNumber(std::wstring_view name, size_t start, size_t end);

// The value of a run of numerals as decimal digits without leading zeros,
// of any length: "105" for 一百零五, "2024" for 二〇二四. False when the run
// is not one number: 十十, 一百百, or a pair such as 五六 (五六年级 is the
// fifth and sixth grades, not the 56th).
bool ReadChineseNumber(std::wstring_view run, std::string& digits);
