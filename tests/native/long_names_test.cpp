// Long names a teacher can tell apart: the window grows by the layout
// table's rule, and a name too long for its list is cut in the middle.
// Where the controls land at a few sizes is checked in the real window
// (tests/windows/window_test.cpp); here, every size pixel by pixel.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout.h"
#include "visible_text.h"

namespace {

PixelRect Placed(ControlId id, int width, int height, int dpi) {
    for (const ControlPlace& place : kControlPlaces)
        if (place.id == id) return PlaceInClient(place, width, height, dpi);
    return {};
}
int Right(const PixelRect& r) { return r.left + r.width; }
int Bottom(const PixelRect& r) { return r.top + r.height; }
int Centre(const PixelRect& r) { return r.left + r.width / 2; }

// At every size from the classic one up, rounding never opens or closes a
// gap: the margins, the space between the lists and between each list and
// its button stay as at the classic size, and each button stays under the
// centre of its list, to a pixel.
TEST(Layout, GapsAndCentresHoldAtEverySize) {
    for (const int dpi : {96, 120, 144, 192}) {
        const int classicWidth = TwipsToPixels(kClientWidthTwips, dpi);
        const int classicHeight = TwipsToPixels(kClientHeightTwips, dpi);
        const auto at = [&](ControlId id, int extra) {
            return Placed(id, classicWidth + extra, classicHeight + extra, dpi);
        };
        const PixelRect dir1 = at(kDir1, 0), command1 = at(kCommand1, 0);
        const PixelRect file1 = at(kFile1, 0), command2 = at(kCommand2, 0);
        for (int extra = 0; extra <= 900; ++extra) {
            SCOPED_TRACE(testing::Message() << dpi << " dpi, " << extra << " pixels larger");
            const PixelRect d = at(kDir1, extra), c1 = at(kCommand1, extra);
            const PixelRect f = at(kFile1, extra), c2 = at(kCommand2, extra);
            EXPECT_EQ(d.left, dir1.left);
            EXPECT_EQ(d.top, dir1.top);
            EXPECT_EQ(f.left - Right(d), file1.left - Right(dir1)) << "between the lists";
            EXPECT_EQ(classicWidth + extra - Right(f), classicWidth - Right(file1)) << "right margin";
            EXPECT_EQ(c1.top - Bottom(d), command1.top - Bottom(dir1)) << "folder list to its button";
            EXPECT_EQ(c2.top - Bottom(f), command2.top - Bottom(file1)) << "file list to its button";
            EXPECT_EQ(classicHeight + extra - Bottom(c2), classicHeight - Bottom(command2)) << "bottom margin";
            EXPECT_EQ(c1.width, command1.width);
            EXPECT_EQ(c2.height, command2.height);
            EXPECT_NEAR(Centre(c1) - Centre(d), Centre(command1) - Centre(dir1), 1);
            EXPECT_NEAR(Centre(c2) - Centre(f), Centre(command2) - Centre(file1), 1);
        }
    }
}

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
        // The extension, up to 12 characters from the last dot, stays whole
        // in any room: a program cannot pass for a picture.
        {L"照片😀😀😀.jpg.exe", 20, L"….exe"},
        {L"课件.abcdefghijk", 30, L"….abcdefghijk"},
        {L"A.abcdefghijk", 30, L"….abcdefghijk"},  // a dot after one character
        {L".abcdefghijk", 30, L".a…ijk"},              // a name that begins with its dot has no extension
        {L"课件.abcdefghijkl", 30, L"课…jkl"},
    };
    for (const auto& c : cases) {
        const std::vector<int> ends = Ends(c.text);
        EXPECT_EQ(CutInTheMiddle(c.text, ends, ellipsis, c.room), c.shown)
            << testing::PrintToString(c.text) << " in " << c.room;
    }
}

}  // namespace
