#pragma once
#include <span>
#include <string>
#include <string_view>

// Text as the lists and message boxes draw it, so that it cannot be misread.
// Characters that reorder the text around them (the bidirectional controls
// U+200E, U+200F, U+202A to U+202E and U+2066 to U+2069) become a visible
// marker such as "<U+202E>": "lesson<U+202E>fdp.exe" can no longer pass for
// a document named "lessonexe.pdf". A name that is blank (decoys.h), such
// as the no-break space a virus names its hidden folder, is shown as
// markers throughout; a blank inside other text stays as it is. A NUL
// becomes U+FFFD.
std::wstring VisibleText(std::wstring_view text);

// The character at text[at], a surrogate pair as one; at moves past it.
char32_t NextCharacter(std::wstring_view text, size_t& at);

// Visible text too wide for its room, cut in the middle so that its end
// stays visible: "人教版三…笔算乘法 教案.docx" keeps the lesson, the kind of
// file and the extension. ends[i] is the width of the text's first i + 1
// characters as drawn, and the ellipsis "…" is ellipsisWidth wide. The end
// gets two thirds of the room, the beginning what is left; the extension,
// from the last dot when that is at most 12 characters, is kept whole even
// where the room is too small for it. A cut never splits a surrogate pair
// or a marker. Text that fits comes back whole.
std::wstring CutInTheMiddle(std::wstring_view text, std::span<const int> ends, int ellipsisWidth, int room);
