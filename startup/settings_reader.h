#pragma once
#include <optional>
#include <string>
#include <string_view>

class RunTime;

// What the settings file says: its last item, relative to the program folder.
struct SettingsValue {
    // The item as the file's encoding gives it: the ANSI code page, or UTF-8
    // or UTF-16 (either byte order) when the file starts with that byte-order
    // mark. Empty when the file holds no item.
    std::wstring text;

    // The item is longer than any Windows path, so it names no folder; text
    // then holds only its beginning, to show.
    bool tooLong = false;

    // For a file without a mark whose item is valid UTF-8 beyond ASCII: the
    // same bytes read as UTF-8, to try when the ANSI reading names no folder.
    std::optional<std::wstring> asUtf8;
};

SettingsValue ReadSettingsValue(std::string_view bytes, RunTime& runTime);

bool IsValidUtf8(std::string_view bytes);

// The longest path Windows accepts, in UTF-16 characters.
inline constexpr size_t kLongestPath = 32767;
