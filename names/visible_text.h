#pragma once
#include <string>
#include <string_view>

// Text as the lists and message boxes draw it, so that it cannot be misread.
// Characters that reorder the text around them (the bidirectional controls
// U+200E, U+200F, U+202A to U+202E and U+2066 to U+2069) become a visible
// marker such as "<U+202E>": "lesson<U+202E>fdp.exe" can no longer pass for
// a document named "lessonexe.pdf". A NUL becomes U+FFFD.
std::wstring VisibleText(std::wstring_view text);
