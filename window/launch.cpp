#include "launch.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "path_parts.h"

namespace {

// Types the desktop would run or install, where Windows' shell only lists them.
constexpr std::array<std::wstring_view, 19> kRunByTheDesktop = {
    L"desktop", L"sh", L"bash", L"zsh", L"csh", L"ksh", L"command", L"run", L"bin", L"appimage",
    L"jar", L"deb", L"rpm", L"flatpak", L"flatpakref", L"snap", L"py", L"pyw", L"pl"};

// What winebrowser drops from a path: control characters anywhere, and
// white space at its ends (zero-width spaces counted in, to be safe).
bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool IsSpace(wchar_t c) {
    return c == 0x20 || c == 0xA0 || c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200D) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

// True when path reaches the desktop as it is, and, for a file, its type is
// one the desktop only opens: it has an extension, and not one of those.
bool MayGoToTheDesktop(const std::wstring& path, bool isFile) {
    if (path.empty() || IsSpace(path.back()) || std::any_of(path.begin(), path.end(), IsControl)) return false;
    if (!isFile) return true;
    const std::wstring name = LastName(path);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0 || dot + 1 == name.size()) return false;
    std::wstring extension = name.substr(dot + 1);
    for (wchar_t& c : extension) c = c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
    return std::find(kRunByTheDesktop.begin(), kRunByTheDesktop.end(), extension) == kRunByTheDesktop.end();
}

}  // namespace

Result OpenFile(RunTime& runTime, const std::wstring& file) {
    Result opened = runTime.OpenWithAssociatedProgram(file);
    if (!opened.noProgram) return opened;
    if (runTime.RunsUnderWine() && MayGoToTheDesktop(file, true) && runTime.HandToDesktop(file).ok)
        return Result::Success();
    // Wine's "Open with" finds nothing either; its failure is the message of old.
    return runTime.OfferOpenWith(file);
}

Result ShowFolder(RunTime& runTime, const std::wstring& folder) {
    if (runTime.RunsUnderWine() && MayGoToTheDesktop(folder, false) && runTime.HandToDesktop(folder).ok)
        return Result::Success();
    return runTime.StartExplorer(folder);
}
