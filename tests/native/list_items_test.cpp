#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "list_items.h"

namespace {

struct Case {
    const char* text;
    std::optional<std::string> last;
};

std::optional<std::string> Last(std::string_view text) {
    auto item = LastListItem(text);
    return item ? std::optional<std::string>(*item) : std::nullopt;
}

TEST(ListItems, SeparatorsAndLineEnds) {
    const Case cases[] = {
        {"Lessons", "Lessons"},
        {"Lessons\r\n", "Lessons"},
        {"Lessons\n", "Lessons"},
        {"Lessons\r", "Lessons"},
        {"Lessons,Week1", "Week1"},
        {"A\r\nB\r\n", "B"},
        {"A\rB", "B"},
        {"A\nB", "B"},
        {"A,", "A"},              // a final comma ends the item, it starts none
        {"Folder=Lessons", "Folder=Lessons"},
        {"[Settings]\r\nLessons", "Lessons"},
    };
    for (const auto& c : cases) EXPECT_EQ(Last(c.text), c.last) << c.text;
}

TEST(ListItems, EmptyItemsAndBlankLines) {
    const Case cases[] = {
        {"", std::nullopt},
        {"Lessons\r\n\r\n", ""},   // a trailing blank line is an empty last item
        {"\r\n", ""},
        {"\r\n\r\n\r\n", ""},
        {"A,,", ""},
        {"A,,B", "B"},
        {"Lessons\r\n   \r\n", ""},  // a line of spaces is blank too
        {",", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Last(c.text), c.last) << c.text;
}

TEST(ListItems, BlanksAroundUnquotedItems) {
    const Case cases[] = {
        {"   Lessons", "Lessons"},
        {"\tLessons", "Lessons"},
        {"Lessons   ", "Lessons"},
        {"Lessons \t\r\n", "Lessons"},
        {"My Lessons", "My Lessons"},
        {"  My  Lessons  ", "My  Lessons"},
        {"Lessons\r\n   ", "Lessons"},  // blanks after the last line break are no item
        {"   ", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(Last(c.text), c.last) << c.text;
}

TEST(ListItems, QuotedItems) {
    const Case cases[] = {
        {"\"Lessons, 2024\"", "Lessons, 2024"},
        {"  \"  padded  \"", "  padded  "},
        {"\"A\",B", "B"},
        {"\"A\"  ,  \"B\"", "B"},
        {"\"A\" trailing words", "A"},           // dropped up to the separator
        {"\"A\"junk\r\nB", "B"},
        {"\"two\r\nlines\"", "two\r\nlines"},  // a quoted item keeps its line break
        {"\"unterminated", "unterminated"},
        {"\"unterminated\r\nmore", "unterminated\r\nmore"},
        {"\"\"", ""},
        {"\"", ""},
        {"Less\"ons\"", "Less\"ons\""},         // a quote inside an unquoted item is text
    };
    for (const auto& c : cases) EXPECT_EQ(Last(c.text), c.last) << c.text;
}

TEST(ListItems, OddBytes) {
    using namespace std::string_literals;
    EXPECT_EQ(Last("Lessons\x1A"), "Lessons");
    EXPECT_EQ(Last("Lessons\r\n\x1A garbage"), "Lessons");
    EXPECT_EQ(Last("\x1A"), std::nullopt);
    EXPECT_EQ(Last("A\0B"s), "A\0B"s);       // kept; the folder test rejects it
    EXPECT_EQ(Last("\xEF\xBB\xBFLessons"), "\xEF\xBB\xBFLessons");  // marks are the caller's job
    // The second byte of a GBK character is never a separator: 课程\第一周.
    EXPECT_EQ(Last("\xBF\xCE\xB3\xCC\\\xB5\xDA\xD2\xBB\xD6\xDC"), "\xBF\xCE\xB3\xCC\\\xB5\xDA\xD2\xBB\xD6\xDC");
}

TEST(ListItems, WideTextFollowsTheSameRules) {
    auto item = LastListItem(std::wstring_view(L"甲,\"乙, 丙\"\r\n"));
    ASSERT_TRUE(item);
    EXPECT_EQ(*item, L"乙, 丙");
}

TEST(ListItems, LargeInputsStayLinear) {
    std::string manyItems;
    for (int i = 0; i < 200000; ++i) manyItems += "x,";
    manyItems += "last";
    EXPECT_EQ(Last(manyItems), "last");

    const std::string longLine(1 << 20, 'a');
    EXPECT_EQ(Last(longLine + "\r\n"), longLine);
    EXPECT_EQ(Last("\"" + longLine), longLine);
}

}  // namespace
