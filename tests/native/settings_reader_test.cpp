#include <gtest/gtest.h>

#include "fakes.h"
#include "settings_reader.h"

namespace {

TEST(SettingsReader, Utf8Validity) {
    const struct {
        const char* bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"Lessons", true},
        {"\xE8\xAF\xBE\xE7\xA8\x8B", true},      // 课程
        {"\xF0\x9F\x98\x80", true},              // an emoji
        {"\xBF\xCE\xB3\xCC", false},             // 课程 in GBK
        {"\xC0\xAF", false},                     // overlong "/"
        {"\xE0\x80\xAF", false},                 // overlong, three bytes
        {"\xED\xA0\x80", false},                 // a UTF-16 surrogate
        {"\xF4\x90\x80\x80", false},             // above U+10FFFF
        {"\xE8\xAF", false},                     // cut short
        {"\x80", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(SettingsReader, OffersAUtf8ReadingOnlyWhereItDiffers) {
    FakeDisk disk;
    FakeRunTime run(disk);
    EXPECT_FALSE(ReadSettingsValue("Lessons", run).asUtf8);                       // ASCII reads alike
    EXPECT_FALSE(ReadSettingsValue("\xBF\xCE\xB3\xCC", run).asUtf8);              // not UTF-8
    EXPECT_FALSE(ReadSettingsValue("\xEF\xBB\xBF\xE8\xAF\xBE", run).asUtf8);      // marked already
    const auto value = ReadSettingsValue("x,\xE8\xAF\xBE\xE7\xA8\x8B\r\n", run);
    EXPECT_EQ(value.asUtf8, std::optional<std::wstring>(L"课程"));
    EXPECT_EQ(value.text, ConvertToWide("\xE8\xAF\xBE\xE7\xA8\x8B", "GBK"));
}

TEST(SettingsReader, SurvivesBadBytes) {
    FakeDisk disk;
    FakeRunTime run(disk);
    using namespace std::string_literals;
    EXPECT_EQ(ReadSettingsValue("\xFF\xFE" "L"s, run).text, L"");          // odd UTF-16 length
    EXPECT_EQ(ReadSettingsValue("\xFE\xFF\0A\0"s, run).text, L"A");
    EXPECT_EQ(ReadSettingsValue("\x81\r\n"s, run).text.size(), 1u);        // a lone GBK lead byte
    EXPECT_EQ(ReadSettingsValue("\0\0\0"s, run).text, std::wstring(3, L'\0'));
    const std::string big(50 << 20, 'x');
    EXPECT_EQ(ReadSettingsValue(big + "\r\nLessons", run).text, L"Lessons");
}

}  // namespace
