#pragma once
#include <string_view>

// Orders names the way Explorer does: digit runs compare as numbers, so
// Week2 comes before Week10. Both names must already be case-folded (the
// Win32 lists fold each name once, not on every comparison).
bool NaturalLess(std::wstring_view a, std::wstring_view b);
