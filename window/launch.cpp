#include "launch.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "path_parts.h"

namespace {

// The kinds of file lessons are made of: documents, spreadsheets,
// presentations, fixed-layout documents, pictures, sound and video. The
// desktop judges a file by its content too, and runs what it takes for a
// program or script, so nothing else is handed to it.
constexpr std::wstring_view kLessonKinds[] = {
    L"doc", L"docx", L"dot", L"dotx", L"rtf", L"odt", L"ott", L"wps", L"wpt", L"xls", L"xlsx", L"ods",
    L"et", L"ett", L"csv", L"ppt", L"pptx", L"pps", L"ppsx", L"pot", L"potx", L"odp", L"dps", L"dpt",
    L"pdf", L"ofd", L"xps", L"epub", L"jpg", L"jpeg", L"png", L"gif", L"bmp", L"webp", L"tif", L"tiff",
    L"mp3", L"wav", L"wma", L"m4a", L"aac", L"flac", L"ogg", L"mp4", L"m4v", L"avi", L"wmv", L"mkv",
    L"mov", L"flv", L"mpg", L"mpeg", L"rm", L"rmvb", L"webm", L"3gp"};

// What winebrowser drops from a path: control characters anywhere, and
// white space at its ends (zero-width spaces counted in, to be safe).
bool IsControl(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }
bool IsSpace(wchar_t c) {
    return c == 0x20 || c == 0xA0 || c == 0x1680 || c == 0x180E || (c >= 0x2000 && c <= 0x200D) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

// True when path reaches the desktop as it is, and, for a file, is of a
// kind lessons are made of.
bool MayGoToTheDesktop(const std::wstring& path, bool isFile) {
    if (path.empty() || IsSpace(path.back()) || std::any_of(path.begin(), path.end(), IsControl)) return false;
    if (!isFile) return true;
    const std::wstring name = LastName(path);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0 || dot + 1 == name.size()) return false;
    std::wstring extension = name.substr(dot + 1);
    for (wchar_t& c : extension) c = c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
    return std::find(std::begin(kLessonKinds), std::end(kLessonKinds), extension) != std::end(kLessonKinds);
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
