#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chinese_numerals.h"
#include "decoys.h"
#include "listing.h"
#include "name_order.h"
#include "path_parts.h"
#include "remembered_keys.h"
#include "visible_text.h"

namespace {

using Names = std::vector<std::wstring>;

// A collation like a Chinese system's, small enough to read: letters ignore
// case, and the Chinese characters below go by their pinyin, not by their
// codes (美 is U+7F8E and 数 U+6570, yet 美术 comes before 数学). Any other
// character goes by its code, so space and punctuation come before digits,
// and digits before letters.
class PinyinTable : public Collation {
public:
    void AppendKey(std::wstring_view text, std::string& key) const override {
        for (wchar_t c : text) {
            unsigned weight = static_cast<unsigned>(c);
            if (c >= L'A' && c <= L'Z') weight = c - L'A' + L'a';
            if (const size_t at = kPinyinOrder.find(c); at != std::wstring_view::npos) weight = 0x3000 + at;
            // Three bytes of seven bits each, none of them zero.
            for (int shift = 14; shift >= 0; shift -= 7) key += static_cast<char>(0x80 | (weight >> shift & 0x7F));
        }
    }

private:
    // di er fen ji ke liang mei nian san shi shu tong wan wen xue yang yi yin ying yu yue zhou
    static constexpr std::wstring_view kPinyinOrder = L"第二分级课两美年廿三十时术数统万文学样一音英语乐周";
};

const PinyinTable kPinyin;

bool Less(const std::wstring& a, const std::wstring& b) { return NameLess(a, b, kPinyin); }

Names Sorted(Names names) {
    std::sort(names.begin(), names.end(), Less);
    return names;
}

TEST(NameOrder, NumbersCompareByValue) {
    const struct {
        Names names, sorted;
    } cases[] = {
        {{L"week10", L"week2", L"week1"}, {L"week1", L"week2", L"week10"}},
        {{L"a100.txt", L"a20.txt", L"a3.txt"}, {L"a3.txt", L"a20.txt", L"a100.txt"}},
        {{L"1.50", L"01", L"1"}, {L"1", L"01", L"1.50"}},
        // Runs longer than any integer type still compare.
        {{L"x100000000000000000000000", L"x99999999999999999999999", L"x99999999999999999999998"},
         {L"x99999999999999999999998", L"x99999999999999999999999", L"x100000000000000000000000"}},
        // Weeks and lessons in Chinese numerals, as teachers name them.
        {{L"第一周", L"第二周", L"第三周", L"第九周", L"第十周", L"第十一周", L"第二十周"},
         {L"第一周", L"第二周", L"第三周", L"第九周", L"第十周", L"第十一周", L"第二十周"}},
        {{L"第十二课", L"第二课", L"第十课", L"第一课", L"第十一课", L"第三课"},
         {L"第一课", L"第二课", L"第三课", L"第十课", L"第十一课", L"第十二课"}},
        // After 第, whatever follows: parts, drafts.
        {{L"第十部分", L"第二部分", L"第一部分", L"第三稿"}, {L"第一部分", L"第二部分", L"第三稿", L"第十部分"}},
        // Digits and numerals of one value are one number.
        {{L"第十一课", L"第10课", L"第三课", L"第2课"}, {L"第2课", L"第三课", L"第10课", L"第十一课"}},
        // Before a counter, without 第.
        {{L"十二课时", L"三年级", L"二课时", L"一年级", L"十班", L"九班", L"二单元", L"一百零五期", L"二十期"},
         {L"一年级", L"二课时", L"二单元", L"三年级", L"九班", L"十班", L"十二课时", L"二十期", L"一百零五期"}},
        // Courseware: the grade, the unit and the lesson each count.
        {{L"人教版三年级上册数学第六单元第2课时 笔算乘法 课件.pptx",
          L"人教版三年级上册数学第六单元第1课时 口算乘法 课件.pptx",
          L"人教版三年级上册数学第十单元第1课时 复习 课件.pptx",
          L"人教版一年级上册数学第六单元第1课时 口算 课件.pptx"},
         {L"人教版一年级上册数学第六单元第1课时 口算 课件.pptx",
          L"人教版三年级上册数学第六单元第1课时 口算乘法 课件.pptx",
          L"人教版三年级上册数学第六单元第2课时 笔算乘法 课件.pptx",
          L"人教版三年级上册数学第十单元第1课时 复习 课件.pptx"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Sorted(c.names), c.sorted);
}

// Numerals count as a number only where one stands: after 第 or before a
// counter. Anywhere else they are words, in the collation's order.
TEST(NameOrder, NumeralsInWordsStayWords) {
    const struct {
        Names names, sorted;
    } cases[] = {
        // 十分, 统一, 万一 and 一样 by pinyin: shi, tong, wan, yi.
        {{L"一样", L"统一", L"十分", L"万一", L"第十周", L"三班"}, {L"三班", L"第十周", L"十分", L"统一", L"万一", L"一样"}},
        // 一二年级 is two grades, not the twelfth: it stays a word, after the numbered grades.
        {{L"五六年级", L"十二年级", L"五年级"}, {L"五年级", L"十二年级", L"五六年级"}},
        // Malformed runs are words too: 十十 is no number.
        {{L"第十十课", L"第十一课", L"第十课"}, {L"第十课", L"第十一课", L"第十十课"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Sorted(c.names), c.sorted);
}

// Text compares by the collation, never by code: here by pinyin.
TEST(NameOrder, TextComparesByTheCollation) {
    const struct {
        Names names, sorted;
    } cases[] = {
        {{L"语文", L"英语", L"音乐", L"数学", L"美术"}, {L"美术", L"数学", L"音乐", L"英语", L"语文"}},
        {{L"语文.doc", L"Week2", L"week10", L"美术1", L"数学"}, {L"Week2", L"week10", L"美术1", L"数学", L"语文.doc"}},
        // A number falls among text as a digit does: after punctuation, before letters.
        {{L"ab.doc", L"a9.ppt", L"a.doc", L"a(1).doc"}, {L"a(1).doc", L"a.doc", L"a9.ppt", L"ab.doc"}},
        {{L"lesson plan", L"lesson", L"lesson 2", L"lesson2"}, {L"lesson", L"lesson 2", L"lesson plan", L"lesson2"}},
        {{L"课件", L"", L"2", L"第"}, {L"", L"2", L"第", L"课件"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Sorted(c.names), c.sorted);
}

// Names of one value in different forms go in one order every time: digits
// before numerals, fewer leading zeros first, then the collation of the
// whole name (二 er before 两 liang, though 两 has the lower code), then the
// characters' codes (case).
TEST(NameOrder, TiesBreakTheSameWayEveryTime) {
    const struct {
        Names names, sorted;
    } cases[] = {
        {{L"第二课", L"第2课"}, {L"第2课", L"第二课"}},
        {{L"第02课", L"第2课", L"第二课"}, {L"第2课", L"第02课", L"第二课"}},
        {{L"第两百课", L"第二百课", L"第200课"}, {L"第200课", L"第二百课", L"第两百课"}},
        {{L"第廿课", L"第二十课"}, {L"第二十课", L"第廿课"}},
        {{L"a1", L"A1", L"A01"}, {L"A1", L"a1", L"A01"}},
        {{L"LESSON", L"Lesson", L"lesson"}, {L"LESSON", L"Lesson", L"lesson"}},
        // The first number that differs in form decides.
        {{L"第二课 第2节", L"第2课 第二节", L"第2课 第02节"}, {L"第2课 第02节", L"第2课 第二节", L"第二课 第2节"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Sorted(c.names), c.sorted);
}

TEST(NameOrder, ShorterPrefixFirst) {
    EXPECT_TRUE(Less(L"lesson", L"lesson plan"));
    EXPECT_FALSE(Less(L"lesson plan", L"lesson"));
}

// Every order the names can arrive in sorts to the same list.
TEST(NameOrder, EveryArrivalSortsToOneList) {
    const Names sorted = {L"A1", L"a1", L"第2课", L"第02课", L"第二课", L"第两课", L"第十课"};
    Names names = {L"第十课", L"第2课", L"第两课", L"第02课", L"a1", L"第二课", L"A1"};
    std::sort(names.begin(), names.end());
    do {
        Names arrival = names;
        std::sort(arrival.begin(), arrival.end(), Less);
        ASSERT_EQ(arrival, sorted);
    } while (std::next_permutation(names.begin(), names.end()));
}

TEST(NameOrder, IsAStrictWeakOrder) {
    const Names names = {L"", L"a", L"a1", L"a01", L"a1b", L"a01b", L"a1c", L"a2", L"a10", L"b", L"第一周", L"第二周",
                         L"0", L"00", L"第1周", L"第01周", L"第十周", L"第10周", L"统一", L"一样", L"第廿周", L"A1"};
    for (const auto& x : names) {
        EXPECT_FALSE(Less(x, x));
        for (const auto& y : names) {
            if (x != y) {
                EXPECT_NE(Less(x, y), Less(y, x));
            }
            for (const auto& z : names)
                if (Less(x, y) && Less(y, z)) {
                    EXPECT_TRUE(Less(x, z));
                }
        }
    }
}

// Sorting a large folder remembers the keys of the text its names share:
// the keys stay the collation's own, and each text is keyed once.
TEST(NameOrder, RememberedKeysAreTheCollationsOwn) {
    struct Counting : Collation {
        mutable int asked = 0;
        void AppendKey(std::wstring_view text, std::string& key) const override {
            ++asked;
            kPinyin.AppendKey(text, key);
        }
    } counting;
    const RememberedKeys remembered(counting);
    const Names names = {L"数学第1课时 课件.pptx", L"数学第2课时 课件.pptx", L"数学第2课时 教案.docx",
                         L"数学第二课时 课件.pptx", L"语文第1课时 课件.pptx", L"数学第1课时 课件.pptx"};
    for (const auto& name : names) {
        std::string key, expected;
        AppendNameKey(name, remembered, key);
        AppendNameKey(name, kPinyin, expected);
        EXPECT_EQ(key, expected);
    }
    // 数学第, 语文第; 课时 课件.pptx, 课时 教案.docx
    EXPECT_EQ(counting.asked, 4);

    // More texts than it remembers: some share a place, and none gets another's key.
    for (wchar_t c = L'一'; c < L'一' + 600; ++c) {
        const std::wstring name = std::wstring(L"课件 ") + c;
        std::string key, expected;
        AppendNameKey(name, remembered, key);
        AppendNameKey(name, kPinyin, expected);
        EXPECT_EQ(key, expected);
    }
}

// The finer cases of reading numerals, as a careful reader reads them.
TEST(ChineseNumerals, ReadAsACarefulReaderWould) {
    const struct {
        std::wstring run;
        const char* value;  // nullptr: not one number
    } cases[] = {
        {L"一", "1"}, {L"十", "10"}, {L"十一", "11"}, {L"二十", "20"}, {L"一十", "10"}, {L"二十五", "25"},
        {L"一百零五", "105"}, {L"一百一十", "110"}, {L"两千零二十四", "2024"}, {L"十万", "100000"},
        {L"一千万", "10000000"}, {L"九千九百九十九万九千九百九十九", "99999999"},
        // 两 is 2 wherever a digit stands; 廿 and 卅 are 二十 and 三十.
        {L"两", "2"}, {L"两百", "200"}, {L"廿", "20"}, {L"廿一", "21"}, {L"卅", "30"}, {L"一百廿", "120"},
        // Said aloud, a digit after the last unit counts one place lower.
        {L"一百五", "150"}, {L"三万二", "32000"}, {L"一万零五", "10005"},
        // Without units, digit by digit, as a year is written.
        {L"二〇二四", "2024"}, {L"二零二四", "2024"}, {L"一九九八", "1998"}, {L"〇", "0"}, {L"零五", "5"},
        {L"一二三四五六七八九〇一二三四五六七八九〇一二三四五六七八九〇", "123456789012345678901234567890"},
        // Two numerals without a zero are a pair: 五六年级 is grades five and six.
        {L"五六", nullptr}, {L"一二", nullptr},
        // Malformed: units that do not fall, a unit without its digit, stray zeros.
        {L"十十", nullptr}, {L"一百百", nullptr}, {L"百", nullptr}, {L"千五", nullptr}, {L"二二十", nullptr},
        {L"零十", nullptr}, {L"二十零", nullptr}, {L"一百零", nullptr}, {L"一百零零五", nullptr},
        {L"万", nullptr}, {L"万一", nullptr}, {L"一万万", nullptr}, {L"", nullptr},
    };
    for (const auto& c : cases) {
        std::string digits;
        const bool read = ReadChineseNumber(c.run, digits);
        EXPECT_EQ(read, c.value != nullptr) << c.run.size() << " numerals, read as " << digits;
        if (read && c.value) {
            EXPECT_EQ(digits, c.value);
        }
    }
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
        {L"\u00A0", L"<U+00A0>"},  // a name that shows nothing shows its characters
        {L"\u3000\u200B\uFEFF", L"<U+3000><U+200B><U+FEFF>"},
        {L"第一\u3000周", L"第一\u3000周"},  // a blank inside a name stays
        {L"\u00AD\uFE0F", L"<U+00AD><U+FE0F>"},
        {L"\xDB40\xDC20\xDB40\xDC7F", L"<U+E0020><U+E007F>"},  // a tag character is one marker
        {L"\U000E0020", L"<U+E0020>"},
        {L"课\u00AD程", L"课\u00AD程"},
    };
    for (const auto& c : cases) EXPECT_EQ(VisibleText(c.text), c.shown);
}

// A pair is one character only with both halves in their ranges; half a pair
// is one character of its own, and the text's end is never read past (a
// name is often a view into a longer path).
TEST(VisibleText, SurrogatePairsDecodeAtTheEdgesOfTheirRanges) {
    const struct {
        std::wstring_view text;
        char32_t first;
        size_t length;
    } cases[] = {
        {L"\xD800\xDC00", 0x10000, 2},         {L"\xDBFF\xDFFF", 0x10FFFF, 2},
        {L"\xD7FF\xDC00", 0xD7FF, 1},          {L"\xDC00\xDC00", 0xDC00, 1},
        {L"\xD800\xDBFF", 0xD800, 1},          {L"\xD800\xE000", 0xD800, 1},
        {std::wstring_view(L"\xD800\xDC00", 1), 0xD800, 1},
    };
    for (const auto& c : cases) {
        size_t at = 0;
        EXPECT_EQ(NextCharacter(c.text, at), c.first) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(at, c.length);
    }
}

// A folder's entries as the tables below write them: "/" ends a folder's
// name, "*" marks the hidden attribute and "!" (after any "*") the system one.
std::vector<FolderEntry> EntriesOf(const Names& written) {
    std::vector<FolderEntry> entries;
    for (std::wstring name : written) {
        const bool hidden = name.starts_with(L'*');
        const bool system = name.substr(hidden).starts_with(L'!');
        const bool folder = name.ends_with(L'/');
        name = name.substr(hidden + system, name.size() - hidden - system - folder);
        entries.push_back({name, folder, hidden, system});
    }
    return entries;
}

// One folder of a stick per row, as each family of virus leaves it, and the
// lookalikes that must stay as they are: of the hidden entries, shown are
// those the lists show; of the visible files, decoys are those never opened.
TEST(Decoys, WhatAVirusHidIsShownAndItsDecoysRefused) {
    const struct {
        Names entries;
        bool underWine;
        Names shown, decoys;
    } cases[] = {
        // A program with a folder's icon beside each hidden folder.
        {{L"*第一周/", L"第一周.exe", L"*第二周/", L"第二周.scr"}, false, {L"第一周", L"第二周"}, {L"第一周.exe", L"第二周.scr"}},
        {{L"*Week1/", L"WEEK1.EXE", L"*Week2/", L"week2.Vbs"}, false, {L"Week1", L"Week2"}, {L"WEEK1.EXE", L"week2.Vbs"}},
        {{L"*Ärger/", L"ÄRGER.exe", L"*Ｗｅｅｋ/", L"ｗｅｅｋ.exe"}, false, {L"Ärger", L"Ｗｅｅｋ"}, {L"ÄRGER.exe", L"ｗｅｅｋ.exe"}},
        {{L"*ΩΡΑ/", L"ωρα.exe", L"*Ёлка/", L"ёлка.exe", L"*ЯЩИК/", L"ящик.exe", L"*Ѐ/", L"ѐ.exe"}, false,
         {L"ΩΡΑ", L"Ёлка", L"ЯЩИК", L"Ѐ"}, {L"ωρα.exe", L"ёлка.exe", L"ящик.exe", L"ѐ.exe"}},
        // A shortcut beside each hidden folder, or file.
        {{L"*第三周/", L"第三周.lnk", L"*课件.pptx", L"课件.pptx.lnk", L"*教案.docx", L"教案.docx.url"}, false,
         {L"第三周", L"课件.pptx", L"教案.docx"}, {L"第三周.lnk", L"课件.pptx.lnk", L"教案.docx.url"}},
        // Everything in one hidden folder with a blank name, a shortcut beside it.
        {{L"*\u00A0/", L"可移动磁盘.lnk", L"帮助.url", L"口算练习.exe", L"*$RECYCLE.BIN/"}, false,
         {L"\u00A0"}, {L"可移动磁盘.lnk", L"帮助.url"}},
        {{L"*\u3000\u200B\u2064\u3164/", L"*   /", L"*\u2065/", L"*\u200E/", L"*\u00A0x/"}, false,
         {L"\u3000\u200B\u2064\u3164", L"   ", L"\u200E"}, {}},
        // Whatever shows nothing is blank, the tag characters too, in UTF-16
        // ("\xDB40\xDC20") or not; the characters just outside each range are not.
        {{L"*\u00AD/", L"*\u034F\u061C/", L"*\u115F\u1160/", L"*\u17B4\u17B5\u180E/", L"*\u200F/", L"*\u202A/",
          L"*\u202E/", L"*\u2066\u2069/", L"*\uFE00\uFE0F/", L"*\xDB40\xDC20\xDB40\xDC7F/", L"*\U000E0020/",
          L"*\u2000\u202F\u205F/", L"*\u00AC/", L"*\u2029/", L"*\u206A/", L"*\uFE10/", L"*\xDB40\xDC1F/", L"*\xDB40\xDC80/",
          L"*\xDB40/", L"*\u1FFF/", L"*\u2030/", L"*\u205E/"}, false,
         {L"\u00AD", L"\u034F\u061C", L"\u115F\u1160", L"\u17B4\u17B5\u180E", L"\u200F", L"\u202A", L"\u202E",
          L"\u2066\u2069", L"\uFE00\uFE0F", L"\xDB40\xDC20\xDB40\xDC7F", L"\U000E0020", L"\u2000\u202F\u205F"}, {}},
        // Beside it, scripts are decoys as shortcuts are; the program there is not.
        {{L"*\u200E/", L"打开.bat", L"打开.ps1", L"打开.hta", L"打开.js", L"安装.exe", L"帮助.chm", L"说明.txt"}, false,
         {L"\u200E"}, {L"打开.bat", L"打开.ps1", L"打开.hta", L"打开.js"}},
        {{L"*\u00A0", L"a.lnk"}, false, {}, {}},  // a hidden file with a blank name is not shown
        // An antivirus deleted the decoys: a folder hidden and system is the
        // virus's work, unless Windows or a tool made it. Hidden alone, or a
        // file, it stays out.
        {{L"*!课程/", L"*!System Volume Information/", L"*!$RECYCLE.BIN/", L"*!RECYCLER/", L"*!recycled/",
          L"*!FOUND.000/", L"*!found.999/", L"*!FOUND.0000/", L"*!FOUND.00/", L"*!FOUND.0a0/", L"*!autorun.inf/",
          L"*!$WINDOWS.~BT/", L"*!.Trashes/", L"*私人/", L"*!desktop.ini", L"*!Thumbs.db", L"*!第一周.exe"}, false,
         {L"课程", L"FOUND.0000", L"FOUND.00", L"FOUND.0a0"}, {}},
        // The shortcut worm names a shortcut after a file up to its first or
        // last dot; programs go by the whole name, so courseware X.exe runs.
        {{L"*课件.pptx", L"课件.lnk", L"*第1.2课.docx", L"第1.lnk", L"*第3.4课.docx", L"第3.4课.URL", L"*a.b.c.doc",
          L"a.b.lnk", L"*X.dat", L"X.exe", L"*Y.tar.gz", L"Y.tar.exe", L"*.profile", L".lnk"}, false,
         {L"课件.pptx", L"第1.2课.docx", L"第3.4课.docx"}, {L"课件.lnk", L"第1.lnk", L"第3.4课.URL"}},
        // A hidden program, script or shortcut never shows; what is named
        // after it is refused all the same.
        {{L"*更新.exe", L"更新.exe.lnk", L"*!run.vbs", L"run.vbs.lnk", L"*说明.lnk", L"说明.lnk.url", L"*口算.exe",
          L"口算.lnk"}, false, {}, {L"更新.exe.lnk", L"run.vbs.lnk", L"说明.lnk.url", L"口算.lnk"}},
        // Programs a double-click runs, from the first to the last kind added.
        {{L"*第一周/", L"第一周.msi", L"*第二周/", L"第二周.sct", L"*第三周/", L"第三周.settingcontent-ms", L"*第四周/",
          L"第四周.appref-ms"}, false, {L"第一周", L"第二周", L"第三周", L"第四周"},
         {L"第一周.msi", L"第二周.sct", L"第三周.settingcontent-ms", L"第四周.appref-ms"}},
        // Lookalikes: nothing of the hidden entry's exact name beside it.
        {{L"*第一周/", L"第一周.exe.txt", L"第一周 .exe", L"第一周.exe/", L"*第一周.lnk"}, false, {}, {}},
        {{L"*$RECYCLE.BIN/", L"*System Volume Information/", L"*私人/", L"autorun.inf"}, false, {}, {}},
        {{L"安装/", L"安装.exe", L"课件/", L"口算练习.exe", L"课件.pptx"}, false, {}, {}},
        // Under Wine a FAT stick's hidden attribute may not be read.
        {{L"安装/", L"安装.exe", L"\u00A0/", L"U盘.lnk", L"口算练习.exe"}, true, {}, {L"安装.exe", L"U盘.lnk"}},
        {{L"*第一周/", L"第一周.exe"}, true, {L"第一周"}, {L"第一周.exe"}},
        // There a program or shortcut named after a file is a decoy too: by
        // the whole name, or a shortcut by the name up to a dot.
        {{L"课件.pptx", L"课件.pptx.lnk", L"讲义.docx", L"讲义.lnk", L"说明.txt", L"说明.txt.exe", L"X.dat", L"X.exe",
          L"a.b.c.doc", L"a.b.lnk"}, true, {}, {L"课件.pptx.lnk", L"讲义.lnk", L"说明.txt.exe"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.entries));
        const std::vector<FolderEntry> entries = EntriesOf(c.entries);
        Names shown, decoys;
        for (const FolderEntry& entry : entries) {
            if (entry.hidden && ShowsHidden(entry, entries)) shown.push_back(entry.name);
            if (!entry.folder && !entry.hidden && FindDecoy(entry.name, entries, c.underWine)) decoys.push_back(entry.name);
            if (!entry.hidden) continue;
            // The disk is asked only for the names a decoy of it could have, in
            // any case: the answer is the same as with the whole folder read.
            const std::vector<std::wstring> named = DecoyNames(entry);
            std::vector<FolderEntry> asked;
            for (const FolderEntry& other : entries)
                if (std::any_of(named.begin(), named.end(), [&](const auto& n) { return SameName(n, other.name); }))
                    asked.push_back(other);
            EXPECT_EQ(ShowsHidden(entry, asked), ShowsHidden(entry, entries)) << testing::PrintToString(entry.name);
        }
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(decoys, c.decoys);
    }
}

// What each list shows of one folder, written as in the Decoys table above;
// a row drawn faded is shown with its "*".
TEST(Listing, EachListShowsItsKindAndFadesWhatAVirusHid) {
    const struct {
        Names entries, folders, files;
    } cases[] = {
        // Attributes alone: a system folder is listed, a system file is not.
        {{L"课程/", L"!系统/", L"*私人/", L"课件.pptx", L"!desktop.ini", L"*~$课件.pptx", L"*!Thumbs.db"},
         {L"课程", L"系统"}, {L"课件.pptx"}},
        // A hidden folder or file with a visible program or shortcut of its
        // name, in the other list or its own, is listed faded, after the
        // visible entries: what shows it may come later.
        {{L"*!第一周/", L"第二周/", L"*!课件.pptx", L"课件.pptx.lnk", L"第一周.exe"},
         {L"第二周", L"*第一周"}, {L"课件.pptx.lnk", L"第一周.exe", L"*课件.pptx"}},
        {{L"*\u00A0/", L"可移动磁盘.lnk"}, {L"*\u00A0"}, {L"可移动磁盘.lnk"}},
        // A program that is hidden or a system file is no decoy: nothing shows.
        {{L"*第一周/", L"*第一周.exe", L"*第二周/", L"!第二周.exe"}, {}, {}},
        {{}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.entries));
        const std::vector<FolderEntry> entries = EntriesOf(c.entries);
        const auto shown = [](const std::vector<Listed>& rows) {
            Names names;
            for (const Listed& row : rows) names.push_back((row.faded ? L"*" : L"") + row.name);
            return names;
        };
        FolderLister lister;
        for (const FolderEntry& entry : entries) lister.Add(entry);
        const ListedEntries listed = lister.Done();
        EXPECT_EQ(shown(listed.folders), c.folders);
        EXPECT_EQ(shown(listed.files), c.files);
        for (const FolderEntry& entry : entries) {  // one entry at a time, as the disk is asked about a name
            const Listing listing = ListingOf(entry, entries);
            const Names& list = entry.folder ? c.folders : c.files;
            const bool plain = std::find(list.begin(), list.end(), entry.name) != list.end();
            const bool faded = std::find(list.begin(), list.end(), L"*" + entry.name) != list.end();
            EXPECT_EQ(listing, plain ? Listing::Plain : faded ? Listing::Faded : Listing::Unlisted)
                << testing::PrintToString(entry.name);
        }
    }
}

// Folders as the lists name them: a drive root keeps its backslash, a share
// root need not; a long path has its roots in the same places.
TEST(PathParts, RootsAndWhatLiesBelowThem) {
    const struct {
        std::wstring path;
        bool root;
        std::wstring parent, last, joined;  // joined: with "a"
    } cases[] = {
        {L"E:\\", true, L"", L"E:\\", L"E:\\a"},
        {L"E:\\课程", false, L"E:\\", L"课程", L"E:\\课程\\a"},
        {L"E:\\1", false, L"E:\\", L"1", L"E:\\1\\a"},  // one character past a root
        {L"A:\\", true, L"", L"A:\\", L"A:\\a"},        // the first and last drive letters
        {L"z:\\", true, L"", L"z:\\", L"z:\\a"},
        {L"Z:\\tmp", false, L"Z:\\", L"tmp", L"Z:\\tmp\\a"},
        {L"1:\\", false, L"1:", L"", L"1:\\a"},  // no letter, or no backslash: no root
        {L"E:/", false, L"", L"E:/", L"E:/\\a"},
        {L"E:\\课程\\第一周", false, L"E:\\课程", L"第一周", L"E:\\课程\\第一周\\a"},
        {L"\\\\server\\share", true, L"", L"\\\\server\\share", L"\\\\server\\share\\a"},
        {L"\\\\server\\share\\", true, L"", L"\\\\server\\share\\", L"\\\\server\\share\\a"},
        {L"\\\\server\\share\\课程", false, L"\\\\server\\share", L"课程", L"\\\\server\\share\\课程\\a"},
        {L"\\\\server\\", false, L"\\\\server", L"", L"\\\\server\\a"},  // a server, no share: no root
        {L"\\\\s\\c", true, L"", L"\\\\s\\c", L"\\\\s\\c\\a"},  // one-letter server and share
        {L"\\\\?\\E:\\", true, L"", L"\\\\?\\E:\\", L"\\\\?\\E:\\a"},
        {L"\\\\?\\E:\\课程", false, L"\\\\?\\E:\\", L"课程", L"\\\\?\\E:\\课程\\a"},
        {L"\\\\?\\UNC\\server\\share", true, L"", L"\\\\?\\UNC\\server\\share", L"\\\\?\\UNC\\server\\share\\a"},
        {L"\\\\?\\UNC\\server\\share\\课程", false, L"\\\\?\\UNC\\server\\share", L"课程",
         L"\\\\?\\UNC\\server\\share\\课程\\a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(IsRootFolder(c.path), c.root);
        EXPECT_EQ(ParentFolder(c.path), c.parent);
        EXPECT_EQ(LastName(c.path), c.last);
        EXPECT_EQ(JoinPath(c.path, L"a"), c.joined);
    }
}

}  // namespace
