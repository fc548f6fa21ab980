#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "name_order.h"
#include "visible_text.h"

namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end(),
              [](const std::wstring& a, const std::wstring& b) { return NaturalLess(a, b); });
    return names;
}

TEST(NameOrder, NumbersCompareByValue) {
    EXPECT_EQ(Sorted({L"week10", L"week2", L"week1"}), (std::vector<std::wstring>{L"week1", L"week2", L"week10"}));
    EXPECT_EQ(Sorted({L"a100.txt", L"a20.txt", L"a3.txt"}),
              (std::vector<std::wstring>{L"a3.txt", L"a20.txt", L"a100.txt"}));
    EXPECT_EQ(Sorted({L"1.50", L"01", L"1"}), (std::vector<std::wstring>{L"1", L"01", L"1.50"}));
    // Runs longer than any integer type still compare.
    EXPECT_TRUE(NaturalLess(L"x99999999999999999999998", L"x99999999999999999999999"));
    EXPECT_FALSE(NaturalLess(L"x100000000000000000000000", L"x99999999999999999999999"));
}

TEST(NameOrder, IsAStrictWeakOrder) {
    const std::vector<std::wstring> names = {L"", L"a", L"a1", L"a01", L"a1b", L"a01b", L"a1c", L"a2", L"a10", L"b", L"第一周", L"第二周", L"0", L"00"};
    for (const auto& x : names) {
        EXPECT_FALSE(NaturalLess(x, x));
        for (const auto& y : names) {
            if (x != y) {
                EXPECT_NE(NaturalLess(x, y), NaturalLess(y, x));
            }
            for (const auto& z : names)
                if (NaturalLess(x, y) && NaturalLess(y, z)) {
                    EXPECT_TRUE(NaturalLess(x, z));
                }
        }
    }
}

TEST(NameOrder, ShorterPrefixFirst) {
    EXPECT_TRUE(NaturalLess(L"lesson", L"lesson plan"));
    EXPECT_FALSE(NaturalLess(L"lesson plan", L"lesson"));
}

// Shown text can never reorder itself: "lesson" RLO "fdp.exe" must not read
// as a document, "lessonexe.pdf".
TEST(VisibleText, DirectionControlsShowAsMarkers) {
    const struct {
        std::wstring text, shown;
    } cases[] = {
        {L"lesson\u202Efdp.exe", L"lesson<U+202E>fdp.exe"},
        {L"\u200E\u200F", L"<U+200E><U+200F>"},
        {L"a\u202Ab\u202Bc\u202Cd\u202De", L"a<U+202A>b<U+202B>c<U+202C>d<U+202D>e"},
        {L"\u2066\u2067\u2068\u2069", L"<U+2066><U+2067><U+2068><U+2069>"},
        {L"课程 \u2065\u206A\u2029 😀", L"课程 \u2065\u206A\u2029 😀"},  // neighbours stay as they are
        {std::wstring(L"a\0b", 3), L"a\uFFFDb"},
    };
    for (const auto& c : cases) EXPECT_EQ(VisibleText(c.text), c.shown);
}

}  // namespace
