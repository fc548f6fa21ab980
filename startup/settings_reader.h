#pragma once
#include <optional>
#include <string>
#include <string_view>

class RunTime;

// What the settings file says: its last item, relative to the program folder.
struct SettingsValue {
    // The item as the file's encoding gives it: the ANSI code page, or UTF-8
    // or UTF-16 when the file starts with that byte-order mark. Empty when
    // the file holds no item.
    std::wstring text;

    // For a file without a mark whose item is valid UTF-8 beyond ASCII: the
    // same bytes read as UTF-8, to try when the ANSI reading names no folder.
    std::optional<std::wstring> asUtf8;
};

SettingsValue ReadSettingsValue(std::string_view bytes, RunTime& run);

bool IsValidUtf8(std::string_view bytes);
