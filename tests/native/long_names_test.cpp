// Long names a teacher can tell apart: a name too long for its list is cut
// in the middle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "visible_text.h"

namespace {

// Each character as wide as a glyph of the list's font, in eighths of an
// em: ASCII half an em, Chinese a whole one, an emoji too, half on each
// half of its surrogate pair.
std::vector<int> Ends(const std::wstring& text) {
    std::vector<int> ends;
    int width = 0;
    for (const wchar_t c : text) {
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        width += c < 0x80 || surrogate ? 4 : 8;
        ends.push_back(width);
    }
    return ends;
}

TEST(MiddleCut, KeepsTheEndOfALongName) {
    const int ellipsis = 8;
    const struct {
        std::wstring text;
        int room;  // in eighths of an em
        std::wstring shown;
    } cases[] = {
        {L"第2课时 笔算乘法 教案.docx", 200, L"第2课时 笔算乘法 教案.docx"},  // fits: whole
        // The courseware of one unit: the end gets two thirds of the room,
        // and what tells the names apart stays.
        {L"人教版三年级上册数学第六单元《多位数乘一位数》第2课时 笔算乘法 教案.docx", 120,
         L"人教版三年…笔算乘法 教案.docx"},
        {L"人教版三年级上册数学第六单元《多位数乘一位数》第1课时 口算乘法 课件.pptx", 120,
         L"人教版三年…口算乘法 课件.pptx"},
        {L"三年级数学上册 第六单元 单元测试卷（含答案）最终版.docx", 120, L"三年级数学…答案）最终版.docx"},
        {L"人教版三年级上册数学第六单元《多位数乘一位数》第2课时 笔算乘法 教案.docx", 240,
         L"人教版三年级上册数学…数乘一位数》第2课时 笔算乘法 教案.docx"},
        // No space beside the ellipsis: its room goes to the name.
        {L"abcdefghijkl mnopqrst", 64, L"abcdef…mnopqrst"},
        {L"abcde fghijklmnopqrst", 80, L"abcde…ijklmnopqrst"},
        // A cut never splits a surrogate pair, at the beginning or the end.
        {L"😀😀😀😀😀😀😀😀😀😀😀.txt", 70, L"😀😀…😀😀😀.txt"},
        {L"😀😀😀😀😀😀😀😀😀😀😀.txt", 66, L"😀😀😀…😀😀.txt"},
        // Nor a marker: it shows whole or not at all.
        {L"lesson plan for the week<U+202E>fdp.exe", 108, L"lesson pl…k<U+202E>fdp.exe"},
        {L"lesson plan for the week<U+202E>fdp.exe", 80, L"lesson plan…fdp.exe"},
        {L"<U+202E>lesson plan for the week.docx", 100, L"<U+202E>…r the week.docx"},
        {L"<U+202E>lesson plan for the week.docx", 74, L"…e week.docx"},
        // Less room than the ellipsis: the ellipsis alone.
        {L"第一周", 4, L"…"},
    };
    for (const auto& c : cases) {
        const std::vector<int> ends = Ends(c.text);
        EXPECT_EQ(CutInTheMiddle(c.text, ends, ellipsis, c.room), c.shown)
            << testing::PrintToString(c.text) << " in " << c.room;
    }
}

}  // namespace
