#include "chinese_numerals.h"

#include <cstdint>

namespace {

// What one numeral means: a digit, a unit, or (廿, 卅) both at once.
struct Numeral {
    int digit = -1;  // 0 to 9, or -1
    int unit = 0;    // 10, 100, 1000, 10000, or 0
};

Numeral MeaningOf(wchar_t c) {
    switch (c) {
    case L'〇': case L'零': return {0, 0};
    case L'一': return {1, 0};
    case L'二': case L'两': return {2, 0};
    case L'三': return {3, 0};
    case L'四': return {4, 0};
    case L'五': return {5, 0};
    case L'六': return {6, 0};
    case L'七': return {7, 0};
    case L'八': return {8, 0};
    case L'九': return {9, 0};
    case L'十': return {-1, 10};
    case L'百': return {-1, 100};
    case L'千': return {-1, 1000};
    case L'万': return {-1, 10000};
    case L'廿': return {2, 10};
    case L'卅': return {3, 10};
    default: return {};
    }
}

// Words that count what the number before them numbers. 课 covers 课时.
constexpr std::wstring_view kCounters[] = {L"周", L"课", L"单元", L"章", L"节", L"讲",
                                           L"册", L"年级", L"班", L"次", L"期"};

// A run without units reads digit by digit, as a year is written: 二〇二四.
// Two numerals without a zero are a pair instead: 五六年级, 三四班.
bool ReadDigitByDigit(std::wstring_view run, std::string& digits) {
    bool hasZero = false;
    digits.clear();
    for (wchar_t c : run) {
        const int digit = MeaningOf(c).digit;
        hasZero = hasZero || digit == 0;
        if (digit > 0 || !digits.empty()) digits += static_cast<char>('0' + digit);
    }
    if (run.size() == 2 && !hasZero) return false;
    if (digits.empty()) digits = "0";
    return true;
}

// A run with units, as numbers are said: 十一, 二十, 一百零五, 一千万. A digit
// after the last unit counts one place lower, as in speech (一百五 is 150,
// 三万二 is 32000), unless a 零 stands before it (一百零五 is 105). Units
// must fall from left to right and 万 may come once, so every value is
// below 10^8.
bool ReadWithUnits(std::wstring_view run, std::string& digits) {
    constexpr uint64_t kNoUnitYet = 100000;
    uint64_t beforeWan = 0, section = 0;
    uint64_t lastUnit = kNoUnitYet;  // the smallest unit so far since the start or 万
    int pending = -1;                // a digit still waiting for its unit
    bool afterZero = false;
    const auto settlePending = [&] {
        if (pending < 0) return;
        const bool units = lastUnit == kNoUnitYet || afterZero;
        section += units ? pending : pending * lastUnit / 10;
        pending = -1;
    };
    for (wchar_t c : run) {
        const Numeral numeral = MeaningOf(c);
        if (numeral.digit == 0) {
            // A zero only stands for skipped places, between units and digits.
            if (pending >= 0 || afterZero || lastUnit == kNoUnitYet || lastUnit == 10) return false;
            afterZero = true;
            continue;
        }
        if (numeral.digit > 0) {
            if (pending >= 0) return false;  // 二二十
            pending = numeral.digit;
        }
        if (numeral.unit == 0) continue;
        if (numeral.unit == 10000) {
            settlePending();
            if (beforeWan > 0 || section == 0) return false;  // 万万, 万一
            beforeWan = section;
            section = 0;
        } else {
            if (numeral.unit >= static_cast<int>(lastUnit)) return false;  // 十十, 一百百
            if (pending < 0 && numeral.unit != 10) return false;           // 百 and 千 need their digit
            section += (pending < 0 ? 1 : pending) * static_cast<uint64_t>(numeral.unit);
            pending = -1;
        }
        lastUnit = numeral.unit;
        afterZero = false;
    }
    if (afterZero && pending < 0) return false;  // a zero at the end
    settlePending();
    digits = std::to_string(beforeWan * 10000 + section);
    return true;
}

}  // namespace

bool StandsAsNumber(std::wstring_view name, size_t start, size_t end) {
    if (start > 0 && name[start - 1] == L'第') return true;
    const std::wstring_view after = name.substr(end);
    for (std::wstring_view counter : kCounters)
        if (after.starts_with(counter)) return true;
    return false;
}

bool ReadChineseNumber(std::wstring_view run, std::string& digits) {
    if (run.empty()) return false;
    for (wchar_t c : run)
        if (MeaningOf(c).unit > 0) return ReadWithUnits(run, digits);
    return ReadDigitByDigit(run, digits);
}
